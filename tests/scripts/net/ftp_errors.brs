// FTP failures: one script error with the method's message, an onFailure handler that ignores it,
// and arguments that would break a command line.
var where = new URL(FTP);
var ftp = new FTP(where.hostname, where.port);
ftp.passiveMode = true;
ftp.userid = "user";
ftp.password = "wrong";
try { ftp.connect(); } catch (e) { println("login: " + e); }
ftp.password = "secret";
ftp.connect();

try { ftp.delete("missing.txt"); } catch (e) { println("delete: " + e); }
try { ftp.changeDir("no/such/dir"); } catch (e) { println("changeDir: " + e); }
try { ftp.download("missing.txt", LOCAL + "/x.txt"); } catch (e) { println("download: " + e); }
try { ftp.upload(LOCAL + "/not-there.txt", "x.txt"); } catch (e) { println("upload: " + e); }
try { ftp.command(); } catch (e) { println("command: " + e); }
try { ftp.delete("a\r\nDELE b"); } catch (e) { println("line break: " + e); }
try { ftp.type("B"); } catch (e) { println("type: " + e); }

ftp.onFailure = function(sender, ignore, command) {
  println("failure " + command + " " + ignore);
  ignore.bool = true;
};
println(ftp.delete("missing.txt") == ftp);
println(ftp.list().length);
ftp.quit();
