var N = __N__;
var parts = [];
for (var i = 0; i < 10000 * 32; i++) { parts.push("x"); }
var big = parts.join("");
var c = 0;
for (var k = 0; k < N; k++) { c += big.charCodeAt(0) + big.length; }
print("string_methods " + c);
