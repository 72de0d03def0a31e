// Cookies a response sets, and a cookie header a script sends.
var http = new HTTP;
http.get(NGINX + "/cookie");
var c = http.responseHeader.cookie;
println(c["id"] + " " + c["b"] + " " + c.length + " " + c.path + " " + c.hasKey("id"));
println(c.data);
println(c.expires.getUTCFullYear() + "-" + (c.expires.getUTCMonth() + 1) + "-" + c.expires.getUTCDate());

// The same object holds the next response's cookies.
http.get(NGINX + "/index.html");
println(http.responseHeader.cookie == c);
println(c.length);

http.requestHeader["Cookie"] = "id=42;b=2;";
print(http.get(ECHO + "/with-cookie"));
