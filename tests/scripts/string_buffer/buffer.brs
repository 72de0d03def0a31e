@set @VERSION7 = true
// A mutable byte string: positions count bytes; methods chain.
b = new StringBuffer("abcdef");
println(b.slice(-2) + " " + b.slice(1, -1) + " " + b.substring(4, 1) + " " + b.substr(2, 2));
println(b.indexOf("c") + " " + b.lastIndexOf("z") + " " + b[-1]);
println(isNaN(b.charCodeAt(10)));
for (c in b) print(c + ".");
println("");
println((typeof b.slice(-2)) + " " + b.length + " " + b);
println(new StringBuffer(3, 65) + " " + new StringBuffer(3, 65).length);
m = new StringBuffer("abcdef");
println(m.replace(1, 3, "XY"));
println(m.delete(4).insert(0, "<").append(">", 1));
m[0] = "[";
m[-1] = 93;
println(m + " " + m.text.length);
m.length = 3;
println(m);
println(m.fill("-"));
try { m.delete(); } catch (e) { println("delete " + e); }
try { m[3]; } catch (e) { println("read " + e); }
try { m.length = -2; } catch (e) { println("length " + e); }
println(StringBuffer.append("global").length);
x = new StringBuffer(-1);
