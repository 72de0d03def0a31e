// The local file of a transfer is named by a script text; one holding a NUL byte would reach the
// file named by what comes before it. A connection with bytes waiting captures nothing into
// "ten.txt", and nothing is sent from it or downloaded over it.
var NUL = String.fromCharCode(0);
var ten = SCRATCH + "ten.txt";
new Strings("ten").saveToFile(ten);

var server = new TCPSocket;
server.port = FREE_PORT;
server.bind();
var client = new TCPSocket;
client.host = "127.0.0.1";
client.port = FREE_PORT;
client.connect();
var conn = server.accept();
client.writeln("bytes that must not land in ten.txt");
client.close();
try { conn.capture(ten + NUL + "x"); } catch (e) { println("capture: " + e); }
println(conn.readln());
conn.close();

var other = new TCPSocket;
other.host = "127.0.0.1";
other.port = FREE_PORT;
other.connect();
var peer = server.accept();
try { other.sendFile(ten + NUL + "x"); } catch (e) { println("sendFile: " + e); }
other.close();
println("[" + peer.read() + "]");
peer.close();
server.close();

try { new HTTP().getFile(NGINX + "/index.html", ten + NUL + "x"); } catch (e) { println("getFile: " + e); }
var where = new URL(FTP);
var ftp = new FTP(where.hostname, where.port);
ftp.passiveMode = true;
ftp.login("user", "secret");
ftp.makeDir("local_names");
ftp.changeDir("local_names");
ftp.upload(ten, "remote.txt");
try { ftp.download("remote.txt", ten + NUL + "x"); } catch (e) { println("download: " + e); }
try { ftp.upload(ten + NUL + "x", "other.txt"); } catch (e) { println("upload: " + e); }
println(ftp.findFiles(".").count);
ftp.delete("remote.txt");
ftp.changeDir("..");
ftp.removeDir("local_names");
ftp.quit();

var kept = new Strings().loadFromFile(ten);
println(kept.count + " " + kept[0]);
