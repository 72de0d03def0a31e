var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a.push(i); }
var t = 0;
while (a.length > 0) { t += a.pop(); }
print("push_pop " + t);
