// After a match a RegExp holds its positions (characters), contexts and groups.
function show(re) {
  return re.index + " " + re.lastIndex + " [" + re.lastMatch + "] [" + re.leftContext + "] [" + re.rightContext + "] [" +
         re.lastParen + "] [" + re.$0 + "," + re.$1 + "," + re.$2 + "," + re.$3 + "] [" + re.input + "]";
}
// (A literal held in a variable stays a value: each use makes a new RegExp, so these are objects.)
re = new RegExp(/(\d+)-(\d+)/);
r = re.test("日本 12-345 x");
println(r + " " + show(re));
// A pattern without groups sets only $0 and leaves lastParen empty.
plain = new RegExp("b");
r = plain.test("abcb");
println(r + " " + show(plain));
// With global the state describes the last match.
all = new RegExp("b", "g");
r = all.test("abcb");
println(r + " " + show(all));
// A group that took no part is empty; lastParen is the highest group that matched.
opt = new RegExp("(a)|(b)");
r = opt.test("xb");
println(r + " " + show(opt));
// A failed match clears the state.
r = re.test("none");
println(r + " " + show(re));
// Groups above 9 appear as members too.
many = new RegExp("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)");
r = many.test("abcdefghijk");
println(r + " " + many.$9 + many.$10 + many.$11 + " " + many.lastParen);
// test without an argument is false; an invalid pattern is false, never an error.
println(re.test() + " " + new RegExp("(").test("(") + " " + new RegExp("a", "i").test("A"));
// Line modes: "." matches line breaks ("\n" is CR LF here); with m "^" and "$" work on lines.
println(/a.b/.test("a\rb") + " " + /a..b/.test("a\nb") + " " + /^b/.test("a\nb") + " " + /^b/m.test("a\nb"));
// Literals in a switch match their text.
function kind(s) {
  switch (s) {
    case /^\d+$/: return "number";
    case /^[a-z]+$/i: return "word";
    default: return "other";
  }
}
println(kind("123") + " " + kind("Abc") + " " + kind("a1"));
