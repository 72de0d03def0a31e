// A throw a few calls down reaches the nearest try whatever the calls stand in: a statement, a
// return, a declaration, an assignment, an operand, an argument or a method call; and nothing after
// the throw runs on the way up.
var trail = "";
function thrower(v) { trail += "t"; throw v; trail += "never"; }
function viaStatement(v) { thrower(v); trail += "never"; return 1; }
function viaReturn(v) { return thrower(v); }
function viaVar(v) { var x = thrower(v); trail += "never"; return x; }
function viaAssign(v) { var y = 0; y = thrower(v); trail += "never"; return y; }
function viaOperand(v) { return 1 + viaReturn(v) * 2; }
function viaArgument(v) { return Math.max(1, viaVar(v)); }
function viaArgumentOfScript(v) { return viaReturn(1) + viaStatement(v); }
function Box(v) { this.v = v; }
Box.prototype.get = function () { return viaAssign(this.v); };
function viaMethod(v) { var b = new Box(v); return b.get() - 1; }
var forms = [viaStatement, viaReturn, viaVar, viaAssign, viaOperand, viaArgument, viaArgumentOfScript, viaMethod];
for (var i = 0; i < forms.length; i++) {
  trail = "";
  try { forms[i]("e" + i); println("not caught " + i); } catch (e) { println(i + " caught " + e + " " + trail); }
}
// The value caught at the top of a deep recursion, also when the throw happens in an argument.
function down(n) { if (n == 0) { throw "bottom"; } return down(n - 1) + 1; }
try { println(down(50)); } catch (e) { println("deep " + e); }
function addDown(n) { if (n == 0) { throw { depth: 0 }; } return Math.abs(addDown(n - 1)); }
try { addDown(20); } catch (e) { println("object thrown, depth " + e.depth); }

// finally runs on the way up and keeps the throw going, unless it leaves by itself.
function withFinally(v) { try { return thrower(v); } finally { println("finally of " + v); } }
try { withFinally("f1"); } catch (e) { println("caught " + e + " after finally"); }
function finallyReturns() { try { thrower("lost"); } finally { return "finally wins"; } }
println(finallyReturns());
function finallyThrows() { try { thrower("first"); } finally { thrower("second"); } }
try { finallyThrows(); } catch (e) { println("caught " + e); }
// A catch that throws again hands the throw to the next try out, not to itself.
function rethrow() { try { thrower("once"); } catch (e) { throw e + " again"; } }
try { rethrow(); println("never"); } catch (e) { println("outer got " + e); }
// A caught throw leaves the function running normally after its try.
function recovers() { var r = "start"; try { r = thrower("x"); } catch (e) { r = "recovered " + e; } return r + "!"; }
println(recovers() + " " + recovers());

// Loops, switch and for-in are left at once.
var passes = 0;
try { for (var j = 0; j < 10; j++) { passes++; if (j == 3) { thrower("loop"); } } } catch (e) { println(e + " after " + passes + " passes, j = " + j); }
try { while (true) { switch (passes) { case 4: thrower("switch"); } } } catch (e) { println(e); }
var seen = "";
try { for (var k in { a: 1, b: 2, c: 3 }) { seen += k; if (seen.length == 2) { thrower("for-in"); } } } catch (e) { println(e + " after " + seen); }
// Through a standard method that calls back into the script.
try { [3, 1, 2].sort(function (a, b) { return thrower("from sort"); }); } catch (e) { println("sort: " + e); }
// Many throws in a row leave nothing behind: the next calls run normally.
var count = 0;
for (var n = 0; n < 1000; n++) { try { viaOperand(n); } catch (e) { count += e; } }
function plain() { return "plain call"; }
println("sum " + count + " " + plain());
