var N = __N__;
var t = 0;
for (var i = 0; i < N; i++) {
  var d = new Date(2001, i % 12, 1 + i % 28, i % 24, i % 60, 0);
  t += d.getDate() + d.getMonth() + d.getHours();
}
print("dates " + t);
