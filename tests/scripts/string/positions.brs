// Positions count characters, not bytes: a Japanese character is one character of three bytes.
function nan(x) { return x == x ? "number" : "NaN"; }
s = "日本語abc";
println(s.length + " " + s.sizeOf() + " " + s.charAt(1) + " " + s.charAt(3) + "|" + s.charAt(6) + "|" + s.charAt(-1) + "|" + s.charAt() + "|");
println(s.charCodeAt(0) + " " + s.charCodeAt(3) + " " + nan(s.charCodeAt(6)) + " " + nan(s.charCodeAt()) + " " + nan(s.charCodeAt(-1)));
// fromCharCode writes each code as one character; the object's own text plays no part.
println(String.fromCharCode(0x65E5, 0x672C, 65, 0x3042) + " " + "xyz".fromCharCode(97) + " " + (typeof "".fromCharCode()));
// A byte that starts no character answers 0xDC00 + byte, and fromCharCode gives the byte back.
b = String.fromCharCode(0xDCFF, 0x41);
println(b.length + " " + b.sizeOf() + " " + b.charCodeAt(0) + " " + b.charCodeAt(1));
// Bracket access: negative indexes count from the end, two indexes slice.
println(s[0] + s[2] + " " + s[-1] + s[-6] + " " + s[1, 4] + " " + s[-3, -1] + " " + s["2"]);
// The indexed view: for-in style counts and items.
t = new String("かなabc");
println(t.length + " " + t.text + " " + t.str + " " + t.valueOf() + " " + (t == "かなabc"));
// Bracket assignment replaces characters by texts of any length.
t[0] = "カ";
println(t);
t[-1] = "XYZ";
println(t + " " + t.length);
t[1, 3] = "";
println(t + " " + t.length);
t[0, 0] = ">>";
println(t);
t[100, 200] = "<<";
println(t);
t[-100, 1] = "[";
println(t);
t.text = "new";
println(t + " " + t.length + " " + t.str);
// Out-of-range and non-numeric bracket names are index errors.
try { t[3]; println("no error"); } catch (e) { println("t[3]: " + e); }
try { t[-4]; println("no error"); } catch (e) { println("t[-4]: " + e); }
try { t["a"]; println("no error"); } catch (e) { println("t[\"a\"]: " + e); }
try { t[5] = "x"; println("no error"); } catch (e) { println("t[5] = x: " + e); }
println(t);
// Conversions of the object.
n = new String("12");
println((n * 2) + " " + (new String("") ? "yes" : "no") + " " + (new String("0") ? "yes" : "no") + " " + new String() + "|");
