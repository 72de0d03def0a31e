// Positions on a long text of one- to four-byte characters: every way of reading a character
// agrees with the characters the text was built from, forward, backward and by jumps.
chars = ["a", "é", "日", "0", "😀", "z", "ß", "語"];
parts = [];
for (i = 0; i < 3000; i++) parts.push(chars[(i * 5) % 8]);
t = parts.join("");
println(t.length + " " + t.sizeOf());
bad = 0;
for (i = 0; i < t.length; i++) {
  c = parts[i];
  if (t.charAt(i) != c || t[i] != c || t.substr(i, 1) != c || t.substring(i, i + 1) != c || t.slice(i, i + 1) != c) bad++;
}
for (i = t.length - 1; i >= 0; i -= 7) {
  if (t.charAt(i) != parts[i] || t[i - t.length] != parts[i]) bad++;
}
println("mismatches " + bad);
println(t.charCodeAt(2999) + " " + t.charCodeAt(4) + " " + isNaN(t.charCodeAt(3000)) + " " + t.substring(2995, 3000) + " " + t.substr(2997));
// indexOf from a start walks the text once; each hit lies on a whole character.
n = 0;
p = 0;
while (true) {
  p = t.indexOf("😀", p);
  if (p < 0) break;
  if (parts[p] != "😀") bad++;
  n++;
  p++;
}
println(n + " found, mismatches " + bad + ", " + t.indexOf("é", 2990) + " " + t.indexOf("é0") + " " + t.indexOf("x"));
// A String object made from the text reads the same.
o = new String(t);
println(o.length + " " + o.charAt(1234) + " " + o[2998] + " " + (o.text == t));
