var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a.push("w" + i); }
var s = a.join(",");
print("join " + s.length);
