// The String methods that search raise the budget error of the regex engine too, with a RegExp
// and with a pattern text, and for a replacement by a function.
t = "a".multiply(1000000);
function attempt(label, f) {
  try {
    println(label + " answered " + f());
  } catch (e) {
    println(label + " raised " + e);
  }
}
attempt("match", function () { return t.match(/^((((a|b)|c)|d)|e)*$/g); });
attempt("search", function () { return t.search(/^((((a|b)|c)|d)|e)*$/); });
attempt("split", function () { return t.split(/^((((a|b)|c)|d)|e)*$/).length; });
attempt("replace", function () { return t.replace(/^((((a|b)|c)|d)|e)*$/g, ":"); });
attempt("replace by a function", function () { return t.replace(/^((((a|b)|c)|d)|e)*$/, function (m) { return ":"; }); });
attempt("replace with a pattern text", function () { return t.replace("^((((a|b)|c)|d)|e)*$", "x"); });
// The engine-wide RegExp still answers for the last good match.
found = t.search(/a$/);
println(found + " " + RegExp.index + " " + RegExp.lastMatch);
