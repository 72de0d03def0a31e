// new on a script function makes a plain object named after it and calls the function on it.
function Point(x, y) { this.x = x; this.y = y; }
p = new Point(3, 4);
println(p.x + p.y);
println(p);
println(p.constructor == Point);
// A script function shadows a class of the same name.
function Object() { this.own = true; }
println((new Object()).own);
// A variable that is neither function nor class cannot construct.
NotAClass = 5;
try { new NotAClass; } catch (e) { println(e); }
class Loop extends Loop { }
try { new Loop; } catch (e) { println(e); }
