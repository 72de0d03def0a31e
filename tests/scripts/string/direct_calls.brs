// Methods called on text values, plain objects and arrays: the natives run on the value itself,
// and what a script stored under a native's name, or removed, still decides what a call reaches.
// Text methods called inside the callback of a text method, on the same and on other texts.
s = "ab-cd-é";
r = s.replace(/\w+/g, function (m) { return m.toUpperCase() + s.charAt(2) + "xyz".charCodeAt(1) + s[1] + s[-1] + s.indexOf(m); });
println(r + " " + s + " " + s.length + " " + "".length + " [" + "".charAt(0) + "]");
println("Hello".toLowerCase().indexOf("l") + " " + "a,b,,c".split(",").length + " " + "x".concat("y", 1));
t = "é0é0";
c = 0;
for (k = 0; k < t.length; k++) c += t.charCodeAt(k);
println(c + " " + t.substring(1, 3) + " " + t.lastIndexOf("é") + " " + t[1, 3]);
// A plain object: its own member of a native's name wins; removing it removes the name, native
// and all, from that object alone.
o = new Object();
o.x = 1;
println(o.hasKey("x") + " " + o.hasKey("y"));
o.hasKey = function (k) { return "mine " + k; };
println(o.hasKey("x"));
o.removeKey("hasKey");
try { o.hasKey("x"); } catch (e) { println("raised " + e); }
p = new Object();
println(p.hasKey("x") + " " + o.getKeys().join(","));
// Arrays: one array's own push does not change another's; the member is read before the
// arguments are worked out.
a = [1];
b = [1];
a.push = function (v) { return "own " + v; };
println(a.push(2) + " " + b.push(2) + " " + a.length + " " + b.length);
d = [];
d.push(d.push = 5);
println(d.length + " " + d[0] + " " + d.push);
f = [3, 1, 2];
println(f.sort().join("") + " " + f.concat([4]).length + " " + f.slice(1).join("|"));
// Numbers: methods run on the number itself, integer or not, one call after another.
n = 255;
x = 2.5;
println(n.toString(16) + " " + x.toFixed(3) + " " + parseFloat("1.25").toFixed(1) + " " + n.toString() + " " + (7).toString(2) + " " + x.toString());
