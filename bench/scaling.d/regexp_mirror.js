var N = __N__;
var parts = [];
for (var i = 0; i < N; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
var text = parts.join("");
var re = /value\d+; $/;
var c = 0;
for (var k = 0; k < 200; k++) {
  var m = re.exec(text);
  if (m != null) { c += m[0].length; }
}
print("regexp_mirror " + c);
