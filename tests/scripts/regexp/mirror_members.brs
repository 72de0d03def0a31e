// The engine-wide RegExp's group members after each kind of match: more groups then fewer (the
// ones above go empty, those past 9 stay), a failed exec and a failed test (all empty), a search
// that raises (all empty), and matches of the engine-wide object itself.
function members() {
  return "[" + RegExp.$0 + "|" + RegExp.$1 + "|" + RegExp.$2 + "|" + RegExp.$3 + "|" + RegExp.$9 + "]";
}
new RegExp("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)").test("abcdefghijk");
println(members() + " " + RegExp.$10 + RegExp.$11);
new RegExp("(x)(y)").exec("xy");
println(members() + " " + RegExp.$10 + RegExp.$11);
new RegExp("(q)").exec("none");
println(members());
"a1".replace(/(\d)/, "#");
println(members());
new RegExp("(z)").test("none");
println(members());
/(m)(n)/.test("mn");
try { new RegExp("^((((a|b)|c)|d)|e)*$").exec("a".multiply(1000000)); } catch (e) { println("raised " + e); }
println(members());
"pq".match(/(p)(q)/g);
RegExp.source = "(r)";
RegExp.test("r");
println(members() + " " + RegExp.lastMatch);
