// The error's message names the whole format.
println(format("%d and %d", 1));
