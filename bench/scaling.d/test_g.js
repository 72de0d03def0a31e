var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
var text = parts.join("");
var re = /value7/g;
var c = 0;
for (var k = 0; k < 2000; k++) { if (re.test(text)) { c++; } }
print("test_g " + c);
