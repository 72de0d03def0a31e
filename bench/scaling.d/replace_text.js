var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
var text = parts.join("");
var r = text.replace(/value(\d+)/g, "v$1");
print("replace_text " + r.length);
