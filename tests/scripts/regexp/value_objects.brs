// Methods called on regular-expression values (literals and values kept in variables): each call
// sees the value as a new RegExp made from it, whatever earlier calls on the same or other values
// did, and what a script keeps of one call stays as that call left it. (Operands are evaluated
// right to left: each line below reads the mirror in a statement of its own.)
function mirror() {
  return "[" + RegExp.$0 + "|" + RegExp.$1 + "|" + RegExp.$2 + "] " + RegExp.index + "-" + RegExp.lastIndex;
}
function show(label, answer) { println(label + ": " + answer + " " + mirror()); }

// The g flag: every call on the same value starts over; the value read as an object is new.
var g = /a/g;
show("g test", g.test("banana"));
show("g test again", g.test("banana"));
show("g lastIndex", g.lastIndex);
show("g exec twice", g.exec("aXa").join(",") + " " + g.exec("aXa").join(","));
for (var i = 0; i < 3; i++) { show("literal in a loop", /n/g.test("banana")); }
// Distinct literals one after the other: flags and pattern never carry over.
show("flags", /a/i.test("A") + " " + /a/.test("A") + " " + /^b/m.test("a\nb") + " " + /^b/.test("a\nb"));
show("exec g then not", /x/g.exec("xx").length + " " + /x/.exec("xx").length + " " + g.source + " " + g.global);
show("replace, split", "a1b2".replace(/\d/g, "#") + " " + "a1b2".replace(/\d/, "#") + " " + "a,b;c".split(/[,;]/).join("+"));

// The mirror and the group members after a failed match.
show("match", /(a)(b)/.test("ab"));
show("failed test", /(x)/.test("none"));
show("exec", /(c)(d)/.exec("cd"));
show("failed exec", /(q)/.exec("none"));
show("replace", "ab".replace(/(a)(b)/, function (m, a, b) { return this.$1 + this.$2 + this.lastIndex; }));
show("failed replace", "zz".replace(/(q)/, function () { return "never"; }));
// The object of a later call holds no group text of an earlier one.
show("later call", "c".replace(/(c)/, function () { return "<" + this.$1 + "|" + this.$2 + "|" + this.input + ">"; }));
var fresh = /(e)/.valueOf();
show("valueOf", "[" + fresh.$0 + "|" + fresh.$1 + "|" + fresh.$2 + "] " + fresh.lastIndex + " " + fresh.source);
show("eleven groups", "abcdefghijk".replace(/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)/, function () { return this.$11; }));
show("one group", "a".replace(/(a)/, function () {
  try { return this.$11; } catch (e) { return "no $11: " + e; }
}));

// What a callback does to its `this` stays with that object.
var kept;
var v = /(\w)(\d)/;
show("changed this", "a1".replace(v, function () {
  kept = this;
  this.source = "zzz";
  this.global = true;
  this.extra = "mine";
  this.removeKey("$2");
  return "<" + this.exec("b2") + ">";
}));
show("value after", v.test("c3") + " " + v.source + " " + v.global);
show("next this", "d4".replace(v, function () {
  return this.source + " " + this.global + " " + this.hasKey("extra") + " " + this.hasKey("$2") + " " + this.$2;
}));
show("kept", kept.source + " " + kept.global + " " + kept.extra + " " + kept.hasKey("$2") + " " + kept.$1 + " " + kept.lastIndex);
show("removed key", /(f)/.removeKey("$1") + " " + /(f)/.hasKey("$1") + " " + /(f)/.hasKey("extra"));
var methods = "";
"g".replace(/(g)/, function () { var f = this.exec; methods = this.getMethods().join(","); return ""; });
println(methods);
"g".replace(/(g)/, function () { methods = this.getMethods().join(","); return ""; });
println(methods);

// The same value from two nested replace callbacks: each call has an object of its own.
var r = /(\d)/g;
show("nested", "a1b2".replace(r, function (m, d) {
  var inner = "x7y8".replace(r, function (m2, d2) { return d2 + this.$1 + this.lastIndex; });
  return "[" + d + ":" + inner + ":" + this.$1 + this.lastIndex + "]";
}));
var outer;
var same = "p5q6".replace(r, function (m, d) {
  outer = this;
  return "r9".replace(r, function (m2, d2) { return (this == outer) + d2; }) + d;
});
show("nested this", same + " " + outer.$1 + outer.lastIndex + " " + outer.input);
