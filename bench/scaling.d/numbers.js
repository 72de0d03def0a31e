var N = __N__;
var t = 0;
for (var i = 0; i < N; i++) { var s = "" + (i * 1.5); t += parseFloat(s) + parseInt("" + i) + parseFloat(s).toFixed(2).length; }
print("numbers " + t);
