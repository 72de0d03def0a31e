// this is the nearest with-object: Global at the top, the caller's this for a plain call,
// the object for a method call.
function who() { return this == Global ? "Global" : this.name; }
o = {name: "o"};
o.who = who;
println(who());
println(o.who());
o.callsPlain = function() { return who(); };
println(o.callsPlain());
// Inside a method, the object's members are plain names.
o.count = 1;
o.bump = function() { count = count + 1; return count; };
println(o.bump() + " " + o.count);
// with makes an object's members plain names; a name it lacks goes to the enclosing scopes.
p = {a: 1};
with (p) { a = 2; b = 3; }
println(p.a + " " + p.hasKey("b") + " " + b);
try { with (5) {} } catch (e) { println(e); }
