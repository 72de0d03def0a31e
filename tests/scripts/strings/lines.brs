// Lines added, read, changed and removed; bad indexes are errors a script can catch.
s = new Strings();
println(s.add());
s.clear();
println(s.add("a", "b"));
println(s.length + " " + s.count);
println(s.toString(","));
println(s[0] + s[1]);
s[1] = "B";
s.insert(1, "mid").add("end");
println(s.commaText);
s.delete(0);
println(s.commaText);
println(s.indexOf("b") + " " + s.indexOf("none") + " " + s.indexOf());
for (i in s) println(i + ": " + s[i]);
try { s.insert(10, "x"); } catch (e) { println("insert " + e); }
try { s.delete(-1); } catch (e) { println("delete " + e); }
try { s.insert(1); } catch (e) { println("insert " + e); }
try { println(s[7]); } catch (e) { println("read " + e); }
try { s[3] = "x"; } catch (e) { println("write " + e); }
println(s.commaText);
s.note = "member";
println(s["note"] + " " + s.length);
println(new Strings(5).length);
println(new Strings("x\ny\rz").commaText);
println(new Strings(new StringBuffer("p\nq")).length);
println(Strings.add("global"));
println(Strings.commaText);
