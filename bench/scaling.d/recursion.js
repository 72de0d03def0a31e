var N = __N__;
function down(n) { if (n == 0) { return 0; } return 1 + down(n - 1); }
var t = 0;
for (var i = 0; i < N; i++) { t += down(1000); }
print("recursion " + t);
