// URL: one text, its fields under all their names, and the difference between url and toString.
var u = new URL("http://host/x/y.cgi?q=1");
println(u.url + " | " + u + " | " + u.hostname + " | " + u.dir + " | " + u.filename + " | " + u.search);
u.port = "8080";
println(u.url + " | " + u.toString());
u.host = "h:81";
println(u.hostname + " " + u.port);
u.host = "h";
println(u.host);
println(u.expand("../z.html") + " | " + u.expand() + " | " + u.path);
var none = new URL;
println("[" + none.url + "][" + none + "]");

// Cookie: values by bracket access, the rest by the ordinary members.
var c = new Cookie;
c["sid"] = "x";
println(c.length + " " + c.data + " " + c.hasKey("sid") + " " + c.hasKey("domain") + " [" + c["nothing"] + "]");
c.parse("http://example.com/app/page", "lang=ja; path=/app");
println(c.domain + " " + c.path + " " + c["lang"] + " " + c.length);
var keys = "";
for (var k in c) keys += k + ";";
println(keys);
c.domain = "other.example";
println(c.toString());
