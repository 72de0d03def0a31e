// split at a plain separator text cuts the same pieces as a pattern would: empty pieces at the
// ends and between separators, limits, separators of several characters, and texts that are
// patterns after all (special characters, a flag text, a separator that is not ASCII).
function show(a) { return a.length + ":[" + a.join("|") + "]"; }
t = ",a,,bc,d é,";
println(show(t.split(",")) + " " + show(t.split(",", 2)) + " " + show(t.split(",", 0)) + " " + show(t.split(",", -1)));
println(show("a--b---c".split("--")) + " " + show("abc".split("x")) + " " + show("".split(",")) + " " + show("aaa".split("a")));
println(show("a.b.c".split(".")) + " " + show("a1b2c".split("[0-9]")) + " " + show("aXbxc".split("x", "i")) + " " + show("aébéc".split("é")));
println(show("k=v; k2=v2".split("; ")) + " " + show("a b".split(" ", "2")) + " " + show("a,b,c".split(",", "x", 2)));
// The engine-wide RegExp is not touched by a split.
"zz".match(/z/);
"q,r".split(",");
println(RegExp.lastMatch + " " + RegExp.input);
