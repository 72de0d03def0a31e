var N = __N__;
function thrower(n) { if (n == 0) { throw "deep"; } return thrower(n - 1); }
var c = 0;
for (var i = 0; i < N; i++) { try { thrower(5); } catch (e) { c++; } }
print("try_catch " + c);
