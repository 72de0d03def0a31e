var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("\u00e9" + (i % 10)); }
var text = parts.join("");
var c = 0, p = 0;
while ((p = text.indexOf("\u00e97", p)) >= 0) { c++; p++; }
var sub = 0;
for (var k = 0; k + 10 < text.length; k += 20) { sub += text.substring(k, k + 10).length + text.substr(k, 5).length; }
print("index_utf8 " + c + " " + sub);
