// Redirects: reported as they are, or followed with autoRedirect.
var http = new HTTP;
println(http.autoRedirect);
var body = http.get(NGINX + "/redir");
println(http.responseHeader.code + " " + http.responseHeader.location);

http.autoRedirect = true;
println(http.get(NGINX + "/redir"));
println(http.responseHeader.code);

// To another server: the request follows there.
print(http.get(NGINX + "/away"));

// A redirect to itself does not go on for ever.
try {
  http.get(NGINX + "/loop");
} catch (e) {
  println("caught " + e);
}
