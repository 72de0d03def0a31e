var N = __N__;
var o = {};
for (var i = 0; i < N; i++) { o["k" + i] = i; }
var t = 0;
for (var j = 0; j < N; j++) { t += o["k" + j]; }
print("members " + t);
