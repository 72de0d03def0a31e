for (var i = 0; i < 10; i++) { if (i == 3) continue; if (i == 5) break; }
for (k in o) print(k);
while (a) { do { a--; } while (a > 2); }
