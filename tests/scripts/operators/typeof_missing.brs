// typeof answers "undefined" for what is missing, without hiding other errors.
var o = {a: 1, s: "t", f: function() { return 1; }, n: null};
function Point(x) { this.x = x; }
Point.prototype.norm = function() { return this.x; };
var p = new Point(3);
var list = [];
for (var i = 0; i < 3; i++) {
  list.push([(typeof o.a), (typeof o.s), (typeof o.f), (typeof o.n), (typeof o.missing), (typeof o["missing"]),
             (typeof p.x), (typeof p.norm), (typeof p.gone), (typeof o.hasOwnProperty), (typeof o.prototype),
             (typeof nowhere), (typeof nowhere.deeper), (typeof [].length), (typeof [].gone), (typeof "ab".length),
             (typeof "ab".gone), (typeof ((5).gone)), (typeof o.a.b)].join(" "));
  if (i == 1) { o.missing = "now"; Point.prototype.gone = 0; }
}
println(list.join("\n"));
// Inside a function, names the call has, the module has, and neither has.
var shared = 1;
function kinds(arg) { var own = "x"; return [(typeof arg), (typeof own), (typeof shared), (typeof missing), (typeof print)].join(" "); }
println(kinds(1) + " | " + kinds());
// Other errors still come through.
function boom() { throw "boom"; }
var q = {};
try { println(typeof boom()); } catch (e) { println("thrown: " + e); }
try { println(typeof (1 / q.missing)); } catch (e) { println("caught: " + e); }
try { println(typeof o.f(2)); } catch (e) { println("call: " + e); }
