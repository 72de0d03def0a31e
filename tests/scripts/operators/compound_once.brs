// A compound assignment evaluates its target's object and index once.
calls = 0;
function pick() { calls++; return o; }
o = {n: 1};
pick().n += 5;
println(o.n + " " + calls);
idx = 0;
a = {};
a[0] = 10;
a[1] = 20;
a[idx++] += 1;
println(a[0] + " " + a[1] + " " + idx);
s = "x";
s += 1;
s += 2;
println(s);
n = 7;
n -= 2; n *= 3; n /= 5; n %= 2;
println(n);
b = 6; b &= 3; b |= 8; b ^= 1; b <<= 2; b >>= 1; b >>>= 1;
println(b);
