var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
var text = parts.join("");
var s = text.split(/; /);
print("split_re " + s.length);
