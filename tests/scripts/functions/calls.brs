// Missing parameters are undefined, extra arguments are ignored.
function pair(a, b) { return typeof(a) + "/" + typeof(b); }
println(pair(1));
println(pair(1, "two", 3));
// A named function expression assigns itself to its name.
g = function h() { return "h"; };
println(h() + g());
// An anonymous declaration does nothing.
function () { println("never"); }
// Call and index are one operation: calling an object reads a member.
o = {k: "v"};
println(o("k") + o["k"]);
try { o("missing"); } catch (e) { println(e); }
try { x = 5; x(1); } catch (e) { println(e); }
// The call mode takes this from the first argument, for that call only.
function show(a, b) { return this.name + ":" + a + "," + b; }
Global.name = "G";
p = {name: "p"};
println(show.call(p, 1, 2));
println(show(3, 4));
// Script functions have no members but prototype, call and apply.
try { show.length; } catch (e) { println(e); }
try { print.call(null, 1); } catch (e) { println(e); }
