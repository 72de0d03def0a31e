var N = __N__;
var s = "";
for (var i = 0; i < N; i++) { s += "x"; }
print("append " + s.length);
