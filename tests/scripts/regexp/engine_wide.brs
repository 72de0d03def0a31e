// The engine-wide RegExp mirrors the last match of every RegExp: literals, objects, String methods.
function show() {
  return RegExp.source + " " + RegExp.global + " " + RegExp.index + " " + RegExp.lastIndex + " [" + RegExp.lastMatch + "] [" +
         RegExp.leftContext + "] [" + RegExp.rightContext + "] [" + RegExp.$1 + "] [" + RegExp.input + "]";
}
/(o+)/g.test("foo boo");
println(show());
// The static names: $& the last match, $+ the last group, $` and $" the contexts, $* the multiline flag, $_ the input.
println(RegExp.$& + " " + RegExp.$+ + " [" + RegExp.$` + "] [" + RegExp.$" + "] " + RegExp.$_ + " " + RegExp.$*);
r = new RegExp("(\\d)x", "i");
r.test("a1X2");
println(show() + " " + RegExp.ignoreCase);
"abc".replace(/(b)/, "B");
println(show());
// A failed test is mirrored too (empty state); the input stays.
r.test("nothing");
println(show());
// The pattern's members follow the match.
println(RegExp.$0 + "|" + RegExp.$1 + "|");
/(q)(r)/.test("qr");
println(RegExp.$0 + " " + RegExp.$1 + " " + RegExp.$2 + " " + RegExp.lastParen + " " + RegExp);
// The engine-wide object can be used itself.
RegExp.source = "z+";
found = RegExp.test("azzb");
println(found + " " + RegExp.lastMatch + " " + RegExp);
// A failed exec clears the engine-wide match but hands over nothing: the input stays the last one.
new RegExp("a").test("cat");
failed = new RegExp("q").exec("dog");
println(failed + " [" + RegExp.lastMatch + "] " + RegExp.index + " " + RegExp.input + " " + RegExp.source);
