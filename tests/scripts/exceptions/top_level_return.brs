// A return at the top level ends the run; its value is the exit code.
println("start");
if (true) return 3 + 4;
println("not reached");
