// The events of one GET, in order (a run of one event counts once), and the object as first argument.
var http = new HTTP;
var seen = "";
var last = "";
function record(name) {
  return function(sender) {
    if (sender != http) println("wrong sender");
    if (name != last) seen += name + " ";
    last = name;
  };
}
http.onRequest = record("request");
http.onConnect = record("connect");
http.onDisconnect = record("disconnect");
http.onWrite = record("write");
http.onRead = record("read");
http.onResponse = record("response");
http.onSuccess = record("success");
http.onFailure = record("failure");
http.get(NGINX + "/index.html");
println(seen);

// An error names its code and its name.
http.onError = function(sender, code, message) { println("error " + code + " " + message); };
seen = "";
last = "";
try { http.get(CLOSED + "/"); } catch (e) { println(e); }
println(seen);

// A read handler that sets cancel makes the transfer stop.
http.onRead = function(sender, count, cancel) { cancel.bool = true; };
seen = "";
last = "";
try { http.get(NGINX + "/index.html"); } catch (e) { println(e); }
println(seen);
