// Struct definitions, access by name and index, and the description.
var s = new Struct("a:l", "b: L ", "8");
println(s.sizeOf() + " " + s.length);
s.__2 = "abcdefghij";         // ten characters into eight bytes: seven and a zero byte
println(s.__2);
println(s[2] + " " + s[-1]);
s[0] = 7; s["b"] = -2;
println(s.a + " " + s[1]);
for (var v in s) print(v, "|");
println("");
println(s.toString());
var inner = new Struct("x:d");
inner.x = 1.5;
var outer = new Struct("p:s", "w:w", "n:c", "t:t", "h:h");
outer.p = inner;
println(outer.p.x);
outer.w = "wide";
println(outer.w);
outer.n = "A"; println(outer.n);
outer.t = 70000; println(outer.t);   // 16 bits
outer.p = null; println(outer.p == "");
println(outer.toString());
try { new Struct("a:z"); } catch (e) { println(e); }
try { s.define(); } catch (e) { println(e); }
try { s.define("a:"); } catch (e) { println(e); }
s.define("q:d");
println(s.sizeOf() + " " + s.length);
s.other = 3;                  // not a member: an ordinary property
println(s.other);
s.clear();
println(s.sizeOf() + " " + s.length);
