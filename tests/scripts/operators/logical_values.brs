// || and && always give a Boolean, never one of their operands.
println(1 || 2);
println(0 && 5);
println("" || "x");
println("a" && "b");
println(0 || 0);
// The right side is evaluated only when it decides.
function t(x) { print("[", x, "]"); return x; }
println(t(1) || t(2));
println(t(0) && t(2));
