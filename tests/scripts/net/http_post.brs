// POST: a form body, as the ranking post sends it.
var u = new URL(ECHO + "/~owner/rank/rankbbs.cgi");
var http = new HTTP;
println(http.post(u.url, "name=a&score=1&com=hi"));
println(http.responseHeader.code);

// Too few arguments: nothing is sent, undefined comes back.
println(http.post(u.url));
println(http.get());

// The content type of a body is always the form type.
http.requestHeader["Content-Type"] = "text/plain";
println(http.post(ECHO + "/typed", "x"));
