// Binary operands, argument lists and literals are evaluated from right to left; a call
// evaluates the callee first.
function t(x) { print(x, " "); return x; }
function f(a, b, c) { return a; }
println("");
x = t(1) + t(2);
println("");
f(t("a"), t("b"), t("c"));
println("");
o = {p: t("p"), q: t("q")};
println("");
y = t(3) < t(4);
println("");
z = (t(5), t(6));
println("");
