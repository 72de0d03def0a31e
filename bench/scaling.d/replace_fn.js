var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
var text = parts.join("");
var c = 0;
var r = text.replace(/item(\d+)/g, function (m) { c++; return m; });
print("replace_fn " + c + " " + r.length);
