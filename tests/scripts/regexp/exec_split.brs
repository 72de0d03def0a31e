// Items of an array on one line.
function items(a) {
  if (a == null) return "null";
  var out = a.length + ":";
  for (var i = 0; i < a.length; i++) out += "[" + a[i] + "]";
  return out;
}
// (Operands are evaluated right to left: each match runs in a statement of its own.)
// exec answers the whole matches: the first one, or every one with global.
re = new RegExp("b");
r = re.exec("abcb");
println(items(r) + " " + re.index + " " + re.lastIndex);
re.global = true;
r = re.exec("abcb");
println(items(r) + " " + re.index + " " + re.lastIndex + " [" + re.leftContext + "] [" + re.rightContext + "]");
// Groups are not part of the answer; they are members.
g = new RegExp("(\\d)(\\w)", "g");
r = g.exec("1a 2b 3c");
println(items(r) + " " + g.$1 + g.$2 + " " + g.lastParen);
// No match, an invalid pattern: null.
println(items(re.exec("xyz")) + " " + items(new RegExp("(").exec("(")) + " " + items(/x/.exec("")));
// Empty matches advance one character at a time.
println(items(new RegExp("x*", "g").exec("ab")));
// exec without an argument works on the input of the engine-wide RegExp.
new RegExp("o+").test("foo boo");
h = new RegExp("o+", "g");
r = h.exec();
println(items(r) + " " + h.input);
// split: the pieces between the matches, at most `limit` of them.
c = new RegExp(",\\s*");
println(items(c.split("a, b,c")) + " " + items(c.split("a, b,c", 2)) + " " + items(c.split("a, b,c", -1)) + " " + items(c.split("a, b,c", 0)));
println(items(c.split(",a,")) + " " + items(c.split("")) + " " + items(c.split()) + " " + items(new RegExp("(").split("a(b")));
// split runs no hooks: the engine-wide RegExp keeps the last match.
new RegExp("k").test("k");
c.split("x,y");
println(RegExp.lastMatch + " " + RegExp.source);
