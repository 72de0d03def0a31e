function f(a, b) { return a + b; }
var s = f(1, 2);
if (s > 2) { s++; } else s--;
