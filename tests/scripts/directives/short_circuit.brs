function t(x) { print("[" + x + "]"); return x; }
println(t(1) || t(2));
@set @SHORT_CIRCUIT = 0
// Both sides now, the right one first.
println(t(1) || t(2));
println(t(0) && t(2));
@set @SHORT_CIRCUIT = true
println(t(0) && t(2));
