// Operands and arguments are evaluated from the last to the first.
function say(text, value) { print(text + " "); return value; }
var sum = say("left", 1) + say("right", 2);
println("= " + sum);
function pair(a, b) { return a + "," + b; }
println(pair(say("first", "A"), say("second", "B")));
// || and && answer Booleans, not one of their operands.
println(("" || "fallback") + " " + (1 && 2));
// typeof binds loosest: this is typeof (1 + "2").
println(typeof 1 + "2");
