// With the g flag, test and exec leave the state on the last match of the whole scan, whatever
// the pattern: plain literals (also those whose occurrences can overlap), groups, texts outside
// ASCII. A search that raises after some matches leaves the last match found before the error.
function show(re) {
  return re.index + " " + re.lastIndex + " [" + re.lastMatch + "] [" + re.$0 + "," + re.$1 + "," + re.$2 + "] " +
         re.leftContext.length + " " + re.rightContext.length;
}
function both(pattern, text) {
  var t = new RegExp(pattern, "g");
  var found = t.test(text);
  var e = new RegExp(pattern, "g");
  var all = e.exec(text);
  println(pattern + ": " + found + " " + show(t) + " | " + (all == null ? "null" : all.length + " " + show(e)) +
          " | " + RegExp.index + " " + RegExp.lastMatch);
}
parts = [];
for (i = 0; i < 200; i++) { parts.push("item" + i + "=value" + (i % 13) + "; "); }
text = parts.join("");
both("value7", text);
both("value7;", text);
both("aa", "aaaaa");
both("aba", "xababax");
both("abab", "abababab ababab");
both("é7", "é7 ü é7 日本é7x");
both("(\\d)-(\\d)", "1-2 a 3-4 b 5-6x");
both("none", text);
both("x", "x");
// The budget runs out after the first match: the error names the pattern, the state is that match.
long = "=" + "a".multiply(1000000);
function after(label, f) {
  var re = new RegExp("=|((((a|b)|c)|d)|e)*$", "g");
  try {
    println(label + " answered " + f(re));
  } catch (err) {
    println(label + " raised " + err);
  }
  println(label + " state " + re.index + " " + re.lastIndex + " [" + re.lastMatch + "] [" + re.$0 + "]");
}
after("test", function (re) { return re.test(long); });
after("exec", function (re) { return re.exec(long); });
