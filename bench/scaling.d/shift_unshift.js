var N = __N__;
var a = [];
for (var i = 0; i < N; i++) { a.push(i); }
var t = 0;
while (a.length > 0) { t += a.shift(); }
for (var j = 0; j < N; j++) { a.unshift(j); }
print("shift_unshift " + t + " " + a.length);
