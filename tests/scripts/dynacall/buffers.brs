// What C writes into a Struct goes into the Struct's own memory; by-reference Numbers get the
// values written back.
var dc = new DynaCall();
var lib = "libbrs_dynatest.so";
dc.register(lib, "dt_write", "i=slsl", "r=l");
var buf = new Struct("text:32");
println(dc.dt_write(buf, 32, "n=", 42));
println(buf.text);
println(dc.dt_write(buf, 4, "abcdef", 1));  // cut by C to what the buffer holds
println(buf.text);

dc.register(lib, "dt_double_refs", "i=1248");
var c = new Number(100), t = new Number(-1234), l = new Number(70000), i = new Number(3000000000);
dc.dt_double_refs(c, t, l, i);
println(c + " " + t + " " + l + " " + i);
var plain = 5;
dc.dt_double_refs(plain, null, null, null);  // a plain number is passed but not written back
println(plain);

var r = new Struct("c:c", "t:t", "l:l", "i:i", "f:f", "d:d", "name:8", "text:s");
r.text = "abc";
println(r.sizeOf());
dc.register(lib, "dt_fill_record", "i=s", "r=l");
println(dc.dt_fill_record(r));  // C saw "abc" (3) and the packed size
println(r.c + " " + r.t + " " + r.l + " " + r.i + " " + r.f + " " + r.d + " " + r.name + " " + r.text);
println(r.toString());

// A StringBuffer is written in place too; its length says how much C may write.
var sb = new StringBuffer();
sb.length = 16;
println(dc.dt_write(sb, sb.length, "buffer ", 7));
println(sb.indexOf("7") + " " + sb.length);
dc.fillMemory(sb, 3, "z");
println(sb.substr(0, 8));
try { dc.fillMemory(sb, 17); } catch (e) { println(e); }
var src = new StringBuffer(); src.append("copied!");
dc.copyMemory(sb, src, 7);
println(sb.substr(0, 8));
try { dc.copyMemory(sb, src, 9); } catch (e) { println(e); }  // past the source
