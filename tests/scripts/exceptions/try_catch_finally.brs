// A script's throw hands its value to catch; engine errors arrive as their error-type name.
try { throw 5; } catch (e) { println("value " + e); }
try { throw; } catch (e) { println("empty [" + e + "]"); }
try { undefinedName; } catch (e) { println("name " + e); }
try { x = 1; x(); } catch (e) { println("call " + e); }
try { null.member; } catch (e) { println("member " + e); }
// The catch variable lives on in the enclosing scope.
println("after: " + e);
// finally runs in every case.
try { println("body"); } finally { println("finally 1"); }
try { try { throw "inner"; } finally { println("finally 2"); } } catch (e) { println("outer caught " + e); }
function f() { try { return "from try"; } finally { println("finally 3"); } }
println(f());
function g() { try { return "from try"; } finally { return "from finally"; } }
println(g());
// catch () and catch without parentheses.
try { throw 1; } catch () { println("no variable"); }
try { throw 1; } catch println("bare catch");
// Rethrowing from catch.
try { try { throw "a"; } catch (e) { throw e + "b"; } } catch (e) { println(e); }
// A break in a try inside a loop leaves the loop without running catch.
for (i = 0; i < 5; i++) { try { if (i == 2) break; } catch (e) { println("never"); } }
println("i = " + i);
