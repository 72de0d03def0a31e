// The engine-wide RegExp's group members read every way a script can read them, after matches of
// every kind: by name, by index text, through `with`, in for-in, as keys, as the prototype of
// another object, and from inside a match (a subject whose text is made by script code).
function line(label, text) { println(label + ": " + text); }
function byName() { return "[" + RegExp.$0 + "|" + RegExp.$1 + "|" + RegExp.$2 + "|" + RegExp.$9 + "]"; }

/(a)(b)/.test("xaby");
line("by name", byName());
line("by index text", RegExp["$1"] + RegExp["$" + 2]);
with (RegExp) { line("with", $0 + " " + $1 + " " + $2); }
var seen = "";
for (var k in RegExp) { if (k.charAt(0) == "$") { seen += k + "=" + RegExp[k] + " "; } }
line("for-in", seen);
line("keys", RegExp.getKeys().join(","));
line("has", RegExp.hasKey("$1") + " " + RegExp.hasKey("$10") + " " + RegExp.hasOwnProperty("$9"));

// Inside the callbacks of a replace: the members are those of the replace's first search, and
// those of a match made inside the callback once it is made.
var during = "";
"c1d2".replace(/([a-z])(\d)/g, function (m) { during += byName() + " "; /(x)/.test("x"); during += byName() + " "; return m; });
line("during", during);
line("after", byName());
// Members a script writes or removes, then further matches.
/(e)(f)/.test("ef");
RegExp.$1 = "written";
line("written", byName());
/(g)/.test("g");
line("match after a write", byName());
RegExp.removeKey("$2");
line("removed", RegExp.hasKey("$2"));
/(h)(i)/.test("hi");
line("match after a remove", byName() + " " + RegExp.hasKey("$2"));
var keys = RegExp.getKeys().join(",");
line("keys after", keys);

// More than nine groups: the members past $9 appear, and stay with the next match.
/(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)/.test("abcdefghijk");
line("eleven", byName() + " " + RegExp.$10 + RegExp.$11);
/(z)/.test("z");
line("one after eleven", byName() + " " + RegExp.$10 + RegExp.$11);

// The RegExp object as another object's prototype.
function Holder() {}
Holder.prototype = RegExp;
var h = new Holder();
/(p)(r)/.test("pr");
line("prototype", h.$1 + h.$2);

// The mirror's own match, and a replace that fails after a test matched.
RegExp.source = "(s)(t)";
RegExp.test("st");
line("own match", byName() + " " + RegExp.lastMatch);
"uv".replace(/(w)/, "x");
line("failed replace", byName());
