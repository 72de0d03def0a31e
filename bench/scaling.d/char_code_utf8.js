var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("\u00e90"); }
var text = parts.join("");
var c = 0;
for (var k = 0; k < text.length; k++) { c += text.charCodeAt(k); }
print("char_code_utf8 " + c);
