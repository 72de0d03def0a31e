var N = __N__;
var s = "";
for (var i = 0; i < N; i++) { s = s + "ab"; }
print("concat " + s.length);
