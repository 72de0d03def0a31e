// Items of an array on one line.
function items(a) {
  if (a == null) return "null";
  var out = a.length + ":";
  for (var i = 0; i < a.length; i++) out += "[" + a[i] + "]";
  return out;
}
// match: the exec answer of the RegExp (whole matches only).
s = "a1b22c333";
println(items(s.match(/\d+/)) + " " + items(s.match(/\d+/g)) + " " + items(s.match("\\d", "g")) + " " + items(s.match(/x/)) + " " + items(s.match()));
// The engine-wide RegExp holds the last match afterwards (operands run right to left, so the
// last one is the leftmost).
println(RegExp.lastMatch + " " + RegExp.index + " " + RegExp.input);
// search: the character position of the match (the last one with a global RegExp object).
println("日本abc".search(/b/) + " " + "abc".search("z") + " " + "abc".search() + " " + "aBc".search("b", "i") + " " + "abcb".search(new RegExp("b", "g")));
// split with a pattern text: a numeric second argument is the limit, else the flag text and
// the third argument the limit.
t = "aXbxcXd";
println(items(t.split("x")) + " " + items(t.split("x", 1)) + " " + items(t.split("x", "i")) + " " + items(t.split("x", "i", 3)));
// A pattern, not a literal text: "." splits at every character.
println(items("a.b".split(".")) + " " + items("a.b".split("\\.")) + " " + items("日,本".split(",")));
// With a RegExp object the second argument is the limit.
println(items("1;2;3".split(new RegExp(";"), 2)) + " " + items("1;2;3".split(/;/, 1)) + " " + (typeof "x".split()));
// An invalid pattern splits nothing.
println(items("a(b".split("(")));
