// exit ends the whole run with its code, through any try and catch.
function deep() { try { exit(7); } catch (e) { println("not caught"); } }
try { deep(); } catch (e) { println("not caught either"); } finally { println("finally runs"); }
println("not reached");
