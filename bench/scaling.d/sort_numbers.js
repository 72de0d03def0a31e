var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a.push((i * 7919) % 100003); }
a.sort(function (x, y) { return x - y; });
print("sort_numbers " + a[0] + " " + a[N - 1]);
