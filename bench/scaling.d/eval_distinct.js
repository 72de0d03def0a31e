var N = __N__;
var t = 0;
for (var i = 0; i < N; i++) { t += eval("" + i + " + 1"); }
print("eval_distinct " + t);
