var N = __N__;
function make(k) { return function (x) { return x + k; }; }
var fs = [];
for (var i = 0; i < N; i++) { fs.push(make(i)); }
var t = 0;
for (var j = 0; j < N; j++) { t += fs[j](1); }
print("closures " + t);
