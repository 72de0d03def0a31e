// A declared variable without a value holds 0; blocks have no scope of their own.
var x;
println(x + " " + typeof x);
{ var inner = "from block"; }
println(inner);
// static keeps its value from call to call; global declares in the module.
function counter() { static count = 0; count++; global last = count; return count; }
counter(); counter();
println(counter() + " " + last);
// Names assigned in a function without a declaration land in the module.
function setter() { made = "made"; var local = 1; }
setter();
println(made);
try { println(local); } catch (e) { println("local: " + e); }
// No hoisting: a function exists once its declaration has run.
try { early(); } catch (e) { println("early: " + e); }
function early() { return "now"; }
println(early());
