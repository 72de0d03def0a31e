// Texts built by += and by s = s + ...: a text that another value shares keeps its content while
// the other grows, in module code, in functions, for parameters and through copies.
a = "x";
b = a;
a += "y";
a = a + "z" + 1 + 2.5;
println(a + " " + b);
function grow(p, n) {
  var q = p;
  var kept = [];
  for (var i = 0; i < n; i++) {
    p += String.fromCharCode(97 + i % 26);
    p = p + "é" + i % 10;
    if (i % 500 == 0) kept.push(p);
  }
  var sum = 0;
  for (var k = 0; k < kept.length; k++) sum += kept[k].length;
  return q + " " + p.length + " " + p.sizeOf() + " " + kept.length + " " + sum + " " + kept[1].substring(0, 9) + " " + p.substr(p.length - 6);
}
println(grow("start", 3000));
// A long text built in module code, copies taken along the way keep their length.
s = "";
copies = [];
for (i = 0; i < 20000; i++) {
  s += "ab";
  if (i % 5000 == 4999) copies.push(s);
}
t = s;
s = s + "!";
println(s.length + " " + t.length + " " + copies[0].length + " " + copies[3].length + " " + s.charAt(40000) + " [" + t.charAt(40000) + "]");
// Chains build through their own temporaries; the operands keep their texts.
u = "u";
v = u + "1" + "2" + u + "3";
println(u + " " + v);
// Operands that are no text or number take the general way: objects give their text, and
// undefined raises as before.
o = new Object();
w = "w";
w = w + o + "!";
println(w);
w += true;
println(w);
try { w = w + Undefined + "x"; } catch (e) { println("raised " + e + " " + w); }
