// HTTPS: the HTTP object's methods over TLS, and certificate failures as errors with their numbers.
var https = new HTTPS;
println(https);
print(https.get(TLS + "/index.html"));
println(https.responseHeader.code + " " + https.responseHeader["content-length"] + " " + https.length);
println(https.post(TLS + "/echo", "name=a&score=1"));
println(https.head(TLS + "/index.html") == https);

// request, response and readln read through the TLS session.
https.request("GET", TLS + "/index.html");
https.response();
println(https.readln());
https.close();

// An http URL through the same object is plain HTTP.
print(https.get(NGINX + "/index.html"));

// A redirect from https to http is followed; one to ftp: is refused.
https.autoRedirect = true;
print(https.get(TLS + "/plain"));
try {
  https.get(TLS + "/to-ftp");
} catch (e) {
  println("to-ftp: " + e);
}

https.onError = function(sender, code, name) { println("error " + code + " " + name); };
try {
  https.get(TLS_EXPIRED + "/index.html");
} catch (e) {
  println("expired: " + e);
}
try {
  https.get(TLS_OTHER + "/index.html");
} catch (e) {
  println("other host: " + e);
}
