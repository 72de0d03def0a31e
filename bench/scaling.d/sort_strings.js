var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a.push("name-" + ((i * 7919) % 100003) + "-tail"); }
a.sort();
var b = a.slice(0);
b.sort(function (x, y) { return x < y ? 1 : (x > y ? -1 : 0); });
print("sort_strings " + a[0] + " " + b[0]);
