// TCPSocket: a server and a client of the script's own on loopback (the system queues the
// connection until the server accepts it), files both ways, and the failures. Binary operators
// evaluate their right operand first: calls with effects stand alone.
var server = new TCPSocket;
println("[" + server.host + "] " + server.port + " " + server.timeout + " " + server.isConnected());
server.port = 70000;
println(server.port);
println(server.getEvents());
try { server.accept(); } catch (e) { println("accept unbound: " + e); }
try { new TCPSocket(1); } catch (e) { println("adopt stdout: " + e); }
try { new TCPSocket(-1); } catch (e) { println("adopt -1: " + e); }

server.port = FREE_PORT;
println(server.bind() == server);
var client = new TCPSocket;
client.host = "127.0.0.1";
client.port = FREE_PORT;
var events = "";
client.onConnect = function (s) { events += "connect;"; };
client.onDisconnect = function (s) { events += "disconnect;"; };
client.onWrite = function (s, count, cancel) { events += "write " + count + ";"; };
println(client.connect() == client);
println(client.isConnected());
client.writeln("hello");
client.writeln();
client.write("abc");
client.write();
var conn = server.accept();
println(conn.isConnected() + " " + conn.timeout + " " + conn.port);
var first = conn.readln();
var second = conn.readln();
var third = conn.read(3);
println("[" + first + "][" + second + "][" + third + "]");
conn.writeln("back");
println(client.readln());
println(client.bytesWrote + " " + conn.bytesRead);
println(events);

// A file sent by one side and captured by the other until it closes.
var f = new File(SCRATCH + "out.txt");
f.open("w");
f.write("line one\nline two\n");
f.close();
client.sendFile(SCRATCH + "out.txt");
client.sendFile(SCRATCH + "missing.txt");
client.close();
conn.capture(SCRATCH + "in.txt");
var g = new File(SCRATCH + "in.txt");
g.open();
println(escape(g.read()));
g.close();
println(events);
conn.close();

// A second connection on the same listener.
var again = new TCPSocket;
again.host = "127.0.0.1";
again.port = FREE_PORT;
again.open();
var other = server.accept();
again.writeln("second");
println(other.readln());
println(again.abort() == again);
println(again.isConnected());
println("[" + other.read() + "]");
server.close();

// A connection refused, a read on a closed socket.
try { again.connect(); } catch (e) { println("connect: " + e); }
try { println("readln [" + again.readln() + "]"); } catch (e) { println("readln: " + e); }

// An exit inside an event handler ends the script; it is no socket error.
var last = new TCPSocket;
last.port = FREE_PORT;
last.bind();
var c = new TCPSocket;
c.host = "127.0.0.1";
c.port = FREE_PORT;
c.connect();
c.onWrite = function (s, count, cancel) { println("handler"); exit(3); };
try { c.writeln("x"); } catch (e) { println("caught " + e); }
println("not reached");
