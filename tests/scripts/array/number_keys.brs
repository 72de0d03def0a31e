// Items read and written with number keys behave as with the key's text: whole numbers (also as
// doubles) name items, reading past the end grows the array, a fraction is no item and a
// negative key is refused with its text.
var a = [10, 20, 30];
var half = 3 / 2;
println(a[1] + " " + a[4 / 2] + " " + a["1"] + " " + a[-0] + " " + a[2.0]);
a[5] = "five";
a[half * 2] = "three";
println(a.length + " " + a);
println(typeof(a[7]) + " " + a.length + " " + a.LENGTH + " " + a.Length);
a[0] += 5;
a[1]++;
a[2.0] -= 1;
println(a.join("|"));
try { println(a[half]); } catch (e) { println("fraction: " + e); }
try { a[half] = 1; println("stored: " + a[half] + " " + a.length); } catch (e) { println("fraction store: " + e); }
try { println(a[-2]); } catch (e) { println("negative: " + e); }
try { a[-1.0] = 3; } catch (e) { println("negative store: " + e); }
var big = [];
big[2147483647 - 2147483640] = 1;
println(big.length);
var m = {};
m[3] = "three";
m[3.0] = "again";
println(m["3"] + " " + m.getKeys());
