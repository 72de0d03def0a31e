// Calls of different functions one after another at the same depth keep their own names.
function two(a, b) { return a + "," + b; }
function maybe(a, b) { return a + ":" + typeof(b); }
function one(x) { var a = "local"; return x + "/" + a; }
function none() { var b = 7; var a = 8; return a * 10 + b; }
for (var i = 0; i < 3; i++) {
  println(two(i, i + 1) + " " + one(i) + " " + none() + " " + maybe("p"));
}
// A parameter named twice takes the later argument, on every call.
function twice(a, a) { return a; }
println(twice(1, 2) + " " + twice(3, 4) + " " + typeof(twice(5)));
// Missing arguments are undefined even where the last call had them.

println(maybe(1, 2) + " " + maybe(1) + " " + maybe(1, "s"));
// Recursion, then calls at shallower depths with other functions.
function depth(n) { if (n == 0) return 0; return 1 + depth(n - 1); }
println(depth(200) + " " + two("u", "v") + " " + depth(3));
// An error ends calls in the middle; the calls after it start clean.
function thrower(a) { throw "boom " + a; }
function wrap(a, b) { try { return thrower(a); } catch (e) { return e + " " + b; } }
println(wrap(1, "x") + " | " + wrap(2, "y") + " | " + two(3, 4));
// A returned function keeps what its scope held when it was returned.
function maker(k) { var m = k * 2; return function (z) { return k + m + z; }; }
f1 = maker(1);
f2 = maker(10);
println(f1(100) + " " + f2(100) + " " + f1(0));
// A comparer that assigns its parameters, and one that sorts another array while it runs.
a = [3, 1, 2];
a.sort(function (p, q) { var r = p - q; p = 0; q = 0; return r; });
println(a.join(","));
inner = [9, 8, 7];
b = [2, 3, 1];
b.sort(function (p, q) { inner.sort(function (x, y) { return x - y; }); return q - p; });
println(b.join(",") + " " + inner.join(","));
// A body that names arguments sees every argument, where other calls at its depth gave theirs up.
function count(a) { return a + ":" + arguments.length + ":" + arguments[arguments.length - 1]; }
function plain(a, b) { return a + b; }
println(plain("x", "y") + " " + count("p", "q", "r") + " " + plain("s", "t") + " " + count("u"));
println(plain.apply(null, ["m", "n"]) + " " + count.apply(null, ["v", "w"]) + " " + plain.call(null, "c", "d"));
// Arguments of object values survive the call that took them; the caller's variables keep theirs.
function keep(o, p) { o.n = o.n + 1; return o; }
var obj = {n: 1};
var kept = keep(obj, obj);
println(kept.n + " " + obj.n + " " + keep(keep(obj)).n);
// Arguments go straight into the new call's parameters, last first; those past the parameters
// still run; an argument that throws leaves no half-made call behind.
var order = "";
function note(s) { order = order + s; return s; }
function joined(a, b) { return a + b; }
var both = joined(note("x"), note("y"), note("z"));
println(both + " " + order);
function fails() { throw "bad"; }
try { joined(1, fails()); } catch (e) { println(e + " " + joined("after", "") + " " + typeof(joined(1))); }
println(joined(joined("n", joined("e", "s")), "t"));
var holder = {m: function (a, b) { return this.k + a + b; }, k: "k"};
println(holder.m(holder.m("1", "2"), "3"));
