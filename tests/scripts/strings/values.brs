@set @VERSION7 = true
// Lists filled from other lists, arrays and plain values; for-in over the lines themselves.
s = new Strings("x");
other = new Strings("p\nq");
s.addStrings(other);
s.addStrings([1, "two", true]);
s.addStrings("plain", 3);
println(s.commaText);
for (line in s) print(line + ";");
println("");
s.assign(other);
println(s.commaText);
s.assign(s);
println(s.commaText);
s.addStrings(s);
println(s.commaText);
try { s.addStrings(); } catch (e) { println("addStrings " + e); }
try { s.assign(new Object()); } catch (e) { println("assign " + e); }
println(s.commaText);
s.commaText = 'one,"two words","say ""hi"""';
println(s.length + " [" + s[1] + "] [" + s[2] + "]");
println(s.commaText);
s.text = "c\nA\nb";
println(s.sort().commaText);
s.sorted = true;
s.add("B");
println(s.commaText + " " + s.sorted + " " + s.duplicates + " " + s.caseSensitive);
s.duplicates = true;
s.add("B");
println(s.commaText);
