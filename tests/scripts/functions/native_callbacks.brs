// Script functions called back by native code (sort comparers, replace callbacks) see what a call
// from script code would give them.

// A comparer that names `arguments` sees both items and itself as the callee.
seen = "";
a = [3, 1, 2];
a.sort(function (x, y) { seen = arguments.length + ":" + (arguments.callee != null); return arguments[0] - arguments[1]; });
println(a + " " + seen);

// Fewer parameters than items, and more: the missing ones are undefined on every call.
calls = "";
[2, 1].sort(function (x) { calls += x; return 1; });
[2, 1].sort(function (x, y, z) { calls += " " + typeof(z) + " " + y; z = "set"; return 0; });
[2, 1].sort(function (x, y, z) { calls += " " + typeof(z); return 0; });
println(calls);
// A parameter named twice takes the later item.
println([1, 2, 3].sort(function (p, p) { return p; }));

// Functions made and called inside a comparer see its parameters; a function a comparer returns
// keeps them.
function maker(k) { return function () { return "k" + k; }; }
got = [];
b = [3, 1, 2];
b.sort(function (x, y) {
  var inner = function () { return x - y; };
  got.push(maker(x)());
  return inner();
});
println(b + " " + got);
kept = [];
c = [20, 10];
c.sort(function (x, y) {
  var hold = function (v) { return function () { return v; }; };
  kept.push(hold(x + "/" + y));
  return x - y;
});
println(c + " " + kept[0]());

// Recursion inside a comparer, and a comparer that sorts with itself while it runs.
function depth(n) { return n == 0 ? 0 : 1 + depth(n - 1); }
d = [2, 3, 1];
d.sort(function (x, y) { return depth(x * 50) - depth(y * 50); });
rows = [[9, 7, 8], [3, 1, 2], [5, 4, 6]];
function order(x, y) {
  if (typeof(x) == "object") {
    x.sort(order);
    y.sort(order);
    return x[0] - y[0];
  }
  return x - y;
}
rows.sort(order);
println(d + " | " + rows.join(" | "));

// A comparer that raises after some calls: the array stays, and the calls after start clean.
n = 0;
e = [5, 4, 3, 2, 1];
try {
  e.sort(function (x, y) { if (++n == 3) throw "third " + x + y; return x - y; });
} catch (err) {
  println(err + " " + e);
}
try {
  e.sort(function (x, y) { return missingName; });
} catch (err) {
  println("raised " + e);
}
println(e.sort(function (x, y) { try { throw x; } catch (v) { return v - y; } }));

// A method as comparer keeps its object as this; a plain comparer has the array.
class Ranker {
  var weight = -1;
  function rank(x, y) { return weight * (x - y); }
}
r = new Ranker();
println([1, 3, 2].sort(r.rank) + " " + [1, 3, 2].sort(function (x, y) { return this.length * (x - y); }));

// Replace callbacks: every group, the position and the input; with fewer parameters, and with
// `arguments`.
re = /(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)/g;
text = "-abcdefghijkl-abcdefghijkl";
println(text.replace(re, function (m, g1, g2, g3, g4, g5, g6, g7, g8, g9, g10, g11, g12, pos, input) {
  return "[" + g12 + g11 + g1 + pos + input.length + "]";
}));
println(text.replace(re, function (m) { return m.length; }));
println(text.replace(re, function () { return arguments.length + arguments[12]; }));
println("x1y22".replace(/(\d+)/g, function (m, digits) { return "<" + (digits * 2) + typeof(this) + ">"; }));
