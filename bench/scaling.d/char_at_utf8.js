var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("\u00e90"); }
var text = parts.join("");
var c = 0;
for (var k = 0; k < text.length; k += 2) { if (text.charAt(k + 1) == "0") { c++; } }
print("char_at_utf8 " + c);
