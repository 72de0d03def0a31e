first = readln();
println("first: " + first);
println("three: " + read(3));
rest = read();
println("rest: [" + rest + "]");
try { readln(); } catch (e) { println("at the end: " + e); }
