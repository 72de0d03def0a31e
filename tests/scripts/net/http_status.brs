// The status lines of the ranking post, to a handler and, with debug on, to the standard output.
var u = new URL(RANK + "/~owner/rank/rankbbs.cgi");
var http = new HTTP;
http.onStatus = function(sender, text) { println("status " + text); };
http.post(u.url, "name=a&score=1&com=hi");
http.onStatus = null;
http.debug = true;
println(http.post(u.url, "name=b&score=2&com=ho"));
