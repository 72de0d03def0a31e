// GET: the body, the response copied into responseHeader, request headers from requestHeader.
var http = new HTTP;
println(http.get(NGINX + "/index.html"));
var res = http.responseHeader;
println(res.code + " " + res.text + " " + res.version + " " + res["content-type"] + " " + res["content-length"]);
println(http.length + " " + (http.bytesRead > 19) + " " + (http.bytesWrote > 0));

http.requestHeader["X-Test"] = "one";
http.requestHeader["User-Agent"] = "brs";
print(http.get(ECHO + "/headers"));
println(http.requestHeader);

// A member that stops holding a string is not sent any more.
http.requestHeader["X-Test"] = 5;
print(http.get(ECHO + "/again"));

// The whole response as text, from a server that sends no date.
http.get(RANK + "/fixed");
println(http.responseHeader);
var names = "";
for (var n in http.responseHeader) names += n + ";";
println(names);

// head fills responseHeader and answers the object.
println(http.head(NGINX + "/index.html") == http);
println(http.responseHeader.code + " " + http.responseHeader["content-length"]);
