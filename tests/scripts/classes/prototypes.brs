// A function's prototype is the prototype of the class name its objects carry.
function Point(x) { this.x = x; }
Point.prototype.getX = function() { return this.x; };
p = new Point(3);
q = new Point(4);
println(p.getX() + q.getX());
println(p.hasKey("getX"));
// An object's own member hides the prototype's.
q.getX = function() { return "own"; };
println(q.getX());
// Replacing the prototype of a class name; a chain back to the class itself is refused.
proto = {greet: function() { return "hello " + this.x; }};
Point.prototype = proto;
println(p.greet());
class Loop { }
a = new Loop;
try { a.prototype = a; } catch (e) { println("refused: " + e); }
// Numbers reach the Number prototype through their temporary objects.
println(5 .toString() + (2.5).toString());
