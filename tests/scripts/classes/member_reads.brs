// Reading members of plain objects: own members first, then the natives of the class, then the
// prototype; a member named prototype never hides the class's prototype.
function P(x) { this.x = x; }
P.prototype = {shared: "from prototype", x: "prototype x"};
var p = new P(1);
var s = "";
for (var i = 0; i < 2; i++) s += p.x + " " + p.shared + "; ";
println(s);
p.shared = "own";
println(p.shared + " " + P.prototype.shared);
println(typeof(p.hasKey) + " " + p.hasKey("x"));
p.hasKey = "replaced";
println(p.hasKey);
p.removeKey("x");
println(p.x);
var o = {prototype: 5, n: 1};
println(typeof(o.prototype) + " " + o.hasKey("prototype"));
try { println(o.missing); } catch (e) { println("missing: " + e); }
