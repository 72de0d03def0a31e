// A search that runs out of the regex engine's budget (here its backtrack stack) raises a script
// error naming the pattern in every RegExp method; it is never taken as "no match".
t = "a".multiply(1000000);
function attempt(label, f) {
  try {
    println(label + " answered " + f());
  } catch (e) {
    println(label + " raised " + e);
  }
}
attempt("exec", function () { return (/^((((a|b)|c)|d)|e)*$/g).exec(t); });
attempt("test", function () { return (/^((((a|b)|c)|d)|e)*$/).test(t); });
attempt("replace", function () { return new RegExp("^((((a|b)|c)|d)|e)*$").replace(t, "x"); });
attempt("split", function () { return new RegExp("^((((a|b)|c)|d)|e)*$").split(t).length; });
attempt("case", function () {
  switch (t) {
    case /^((((a|b)|c)|d)|e)*$/: return "case matched";
    default: return "default";
  }
});
// The engine stays usable, and a pattern within the budget works on the same text.
println((/^a+$/).test(t) + " " + t.replace(/a/g, "b").substring(0, 3));
// Uncaught, the error names its line and the pattern.
u = t.replace(/^((((a|b)|c)|d)|e)*$/, "x");
println("never");
