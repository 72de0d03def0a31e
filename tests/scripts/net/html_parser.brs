// HtmlParser and HtmlTag: tags by index, attributes as members, the plain text, files.
var p = new HtmlParser('<a href="x">');
println(p.count + " " + p.length + " " + p.html);
var a = p[0];
println(a.name + " " + a.href + " " + a["href"]);
println(a);
println(p[5] == null);

// Two reads of one index give two objects.
println(p[0] === p[0]);

// Plain text, <br> as a line break, and a second parse that starts afresh.
p.parse("one<br>two <b>bold</b> > end");
println(p.count + " [" + p.text + "]");
p.parse("<i>x</i>");
println(p.count + " [" + p.text + "] " + p);
for (var i in p) println(i + ": " + p[i].name);

// A tag's own "name" attribute stays apart from its name.
p.parse("<input type=text name=q value='a b'>");
var t = p[0];
println(t.name + " " + t["name"] + " " + t.type + " " + t["value"]);
println(t);
var keys = "";
for (var k in t) keys += k + ";";
println(keys);

// Dotted writes leave nothing; bracket writes add attributes.
var n = new HtmlTag;
n.color = "red";
println(n.hasKey("color") + " [" + n.name + "] " + n);
n["color"] = "blue";
n["checked"] = "";
println(n);

// clear drops the tags and keeps the text.
p.clear();
println(p.count + " " + p.html);

// parseFile of a missing file changes nothing.
p.parseFile("no/such/file.html");
println(p.count + " " + p.html);
