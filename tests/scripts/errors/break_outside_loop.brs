function f() { break; }
try { f(); } catch (e) { println("caught " + e); }
// A continue in a switch that no loop encloses is an error too, not an escape from the function.
function g(x) { switch (x) { case 1: continue; } return "returned"; }
for (i = 0; i < 2; i++) { try { println(g(1)); } catch (e) { println("caught " + e); } }
continue;
