// Failures: one script error with the method's message; the response tells what came back.
var http = new HTTP;
http.get(NGINX + "/index.html");
try {
  http.get(NGINX + "/teapot");
} catch (e) {
  println("get: " + e + " " + http.responseHeader.code + " " + http.responseHeader["content-length"]);
}
try {
  http.get(CLOSED + "/");
} catch (e) {
  println("refused: " + e + " " + http.responseHeader.code + " [" + http.responseHeader.text + "]");
}

// Read through request and response, the 418 is there to see, and the body after it.
http.request("GET", NGINX + "/teapot");
try {
  http.response();
} catch (e) {
  println("response: " + e + " " + http.responseHeader.code);
}
print(http.read());
http.close();

http.post(NGINX + "/teapot", "a=1");
println("not reached");
