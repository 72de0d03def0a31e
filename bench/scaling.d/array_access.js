var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a[i] = i; }
var t = 0;
for (var r = 0; r < 10; r++) { for (var j = 0; j < N; j++) { t += a[j]; } }
print("array_access " + t);
