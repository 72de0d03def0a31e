// replace and search take a RegExp, or a pattern text with an optional flag text.
s = "a1b22c333";
println(s.replace(/\d+/, "#") + " " + s.replace(/\d+/g, "#") + " " + s.replace(/(\d)(\d*)/g, "<$2|$1>") + " " + s.replace(/\d+/g, "[$&]"));
// A pattern text is a regular expression, not a literal text; with three arguments the flag
// text comes second and the replacement third.
println("a.b.c".replace(".", "-") + " " + "a.b.c".replace("\\.", "g", "-") + " " + "aAa".replace("a", "gi", "x") + " " + "aAa".replace("a", "x", "gi"));
// With two arguments the replacement also serves as the flag text when it is short enough.
println("aXa".replace("a", "g") + " " + "aXa".replace("a", "i") + " " + "aXa".replace("a", "yyyy") + " " + "aXa".replace("a"));
// A RegExp object keeps its own flags; without a replacement the match goes.
re = new RegExp("x", "g");
println("xyxy".replace(re, "z") + " " + "xyxy".replace(re) + " " + (typeof "x".replace()));
// A function replacement receives the match, the groups, the position and the input.
println("a1b22".replace(/([a-z])(\d+)/g, function(m, letter, digits, pos, input) {
  return "{" + m + "," + letter + "," + digits + "," + pos + "," + input + "}";
}));
// Positions are characters, also in front of Japanese text.
println("日本1語2".replace(/\d/g, function(m, pos) { return "(" + pos + ")"; }));
// A replacement function that calls replace again, on the same RegExp, works.
inner = /o/g;
println("foo boo".replace(/\w+/g, function(word) { return word.replace(inner, "0") + word.replace(inner, function(o) { return "."; }); }));
re2 = /(\w)/g;
println("abc".replace(re2, function(ch) { return ch + "abc".replace(re2, "") + "|"; }));
// The function's result is converted to text.
println("abc".replace(/b/, function() { return 42; }) + " " + "abc".replace(/b/, function() { }));
// An invalid pattern never raises: replace gives nothing.
println("[" + "abc".replace("(", "x") + "][" + "abc".replace("", "x") + "][" + "abc".replace(/[/, "x") + "]");
