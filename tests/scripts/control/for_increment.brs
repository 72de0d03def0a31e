// The increment runs after a pass or a continue, never after a return or a throw.
function first() { for (i = 0; i < 9; i++) return i; }
first();
println("after return: i = " + i);
try { for (j = 0; j < 9; j++) throw "x"; } catch (e) {}
println("after throw: j = " + j);
for (k = 0; k < 3; k++) { continue; }
println("after continue: k = " + k);
