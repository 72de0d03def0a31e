// One call site meets objects of many classes while their members and prototypes change: each
// call reaches what the object and its class's prototype hold at that moment.
function Point(x) { this.x = x; }
Point.prototype.m = function() { return "point " + this.x; };
function call(o) { return o.m(); }
function twice(o) { return call(o) + ", " + call(o); }
var p = new Point(1);
println(twice(p));
// The prototype's member replaced, then removed.
Point.prototype.m = function() { return "new point " + this.x; };
println(twice(p));
delete Point.prototype.m;
try { call(p); } catch (e) { println("removed: " + e); }
Point.prototype.m = function() { return "back " + this.x; };
println(call(p));
// A member of the object's own, added after the site ran, comes first; removed, the prototype's
// comes back.
p.m = function() { return "own " + this.x; };
println(twice(p));
p.removeKey("m");
println(call(p));
// An object of the same class made later, with and without a member of its own.
var q = new Point(2);
q.m = function() { return "own q"; };
println(call(new Point(3)) + "; " + call(q) + "; " + call(p));
// Many classes through the same site, more than it keeps in mind at once, round after round.
function C0() { } function C1() { } function C2() { } function C3() { } function C4() { } function C5() { }
var makers = [C0, C1, C2, C3, C4, C5];
var objects = [new C0(), new C1(), new C2(), new C3(), new C4(), new C5()];
for (var i = 0; i < makers.length; i++) {
  makers[i].prototype.m = function() { return this.tag; };
  objects[i].tag = "c" + i;
}
function roll() {
  var s = "";
  for (var round = 0; round < 3; round++)
    for (var i = 0; i < objects.length; i++) s += call(objects[i]);
  return s;
}
println(roll());
C2.prototype.m = function() { return "C"; };
println(roll());
// The prototype replaced by a plain object, whose members then change.
var shared = {m: function() { return "shared " + this.tag; }};
C4.prototype = shared;
println(roll());
shared.m = function() { return "S" + this.tag; };
println(roll());
C4.prototype = {m: function() { return "other " + this.tag; }};
println(roll());
C4.prototype = shared;
delete shared.m;
try { roll(); } catch (e) { println("shared removed: " + e); }
// One replacement object after another.
function Swapped() { }
var w = new Swapped();
w.tag = "w";
Swapped.prototype = {m: function() { return "first " + this.tag; }};
println(twice(w));
Swapped.prototype = {m: function() { return "second " + this.tag; }};
println(twice(w));
// A replacement that finds the method on its own class's prototype, which then changes.
function Base() { }
Base.prototype.m = function() { return "base"; };
C4.prototype = new Base();
println(call(objects[4]));
Base.prototype.m = function() { return "base 2"; };
println(call(objects[4]));
// The class's natives come before its prototype, also after the site ran; a native the object
// removed gives way to the prototype.
Point.prototype.toString = function() { return "proto text"; };
function text(o) { return o.toString(); }
println(text(p) + "; " + text(p));
p.removeKey("toString");
println(text(p));
println(text(new Point(5)));
// Arrays: their natives first, then the Array prototype.
Array.prototype.m = function() { return "array of " + this.length; };
Array.prototype.push = function() { return "never"; };
function push(a) { return a.push(9); }
var a = [1, 2];
println(call(a) + "; " + push(a) + "; " + push(a) + "; " + call(a));
Array.prototype.m = function() { return "array now " + this.length; };
println(call(a) + "; " + call(p));
// A native through one site: an array's own member hides it; an array that removed it reaches the
// prototype; texts reach their own natives.
var b = [], c = [];
println(push(b) + " " + push(c));
c.push = function() { return "own push"; };
println(push(c));
println(push(b));
b.removeKey("push");
println(push(b));
println(push([]));
function at(s) { return s.charAt(1); }
println(at("abc") + at("xyz"));
function str(x) { return x.toString(); }
println(str([1, 2]));
println(str({}));
println(str(12));
println(str(new Point(6)));
function tail(x) { return x.slice(1); }
println(tail([1, 2, 3]));
println(tail("abc"));
// A member that is not a function: an object indexed by the call's arguments.
Point.prototype.m = {k: "indexed"};
function key(o) { return o.m("k"); }
println(key(p) + "; " + key(p));
