// for-in over a plain object gives its property names (in the table's own order).
o = {b: 1, a: 2};
o.f = function() {};
n = 0;
names = "";
for (k in o) { n++; names = names + k; }
println(n + " " + (names == "ab" || names == "ba"));
for (var key in o) { if (key == "a") break; }
println(key);
try { for (c in "text") println(c); } catch (e) { println(e); }
try { for (o.k in o) ; } catch (e) { println(e); }
