// Evaluating many distinct texts: each result right, functions made by early texts still run after
// many later ones, the same text again gives the same result, and evaluations nest.
var total = 0;
var adders = [];
for (var i = 0; i < 2000; i++) {
  total += eval(i + " * 2 + 1");
  if (i % 500 == 0) { adders.push(eval("function (a) { return a + " + i + "; }")); }
}
println(total);
var sum = 0;
for (var j = 0; j < adders.length; j++) { sum += adders[j](1); }
println(sum);
var k = 10;
function scaled(x) { return eval("x * k + 1"); }
println(scaled(3) + " " + scaled(4));
println(eval("eval(\"1 + 2\") * 3"));
try { eval("1 +"); } catch (e) { println("caught " + e); }
println(eval("(function (n) { return n < 2 ? n : arguments.callee(n - 1) + arguments.callee(n - 2); })(15)"));
