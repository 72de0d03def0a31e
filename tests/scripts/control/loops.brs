for (i = 0; i < 3; i++) { if (i == 1) continue; print(i); }
println(" i=" + i);
n = 0;
while (true) { n++; if (n > 4) break; }
println("n=" + n);
do { n--; } while (n > 2);
println("n=" + n);
do n++; while (false);
println("n=" + n);
for (;;) { if (n++ > 7) break; }
println("n=" + n);
for (var a = 0, b = 10; a < b; a += 3, b -= 3) print(a, ":", b, " ");
println("");
while (n > 0) if (n-- == 5) break; else print(n);
println("");
