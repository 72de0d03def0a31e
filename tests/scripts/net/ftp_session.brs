// FTP end to end, in passive and in active mode: upload, listing, download, resume, rename,
// unique names, search, delete.
var where = new URL(FTP);

function writeFile(name, text) {
  var f = new File(LOCAL + "/" + name);
  f.open("w");
  f.write(text);
  f.close();
}

function readFile(name) {
  var f = new File(LOCAL + "/" + name);
  f.open();
  var text = f.read();
  f.close();
  return text;
}

function session(passive) {
  var ftp = new FTP(where.hostname, where.port);
  ftp.passiveMode = passive;
  println(ftp + " " + ftp.host + " " + (ftp.port == where.port) + " " + ftp.userid + " " + ftp.passiveMode);
  ftp.onSuccess = function(sender, command) { if (command == "cmdDownRestore") println("success " + command); };
  ftp.login("user", "secret");
  var dir = passive ? "passive" : "active";
  ftp.makeDir(dir);
  println(ftp.changeDir(dir) == ftp);
  println(ftp.currentDir + " " + ftp.printWorkDir());

  writeFile("up.txt", "hello ftp;");
  ftp.upload(LOCAL + "/up.txt", "up.txt");
  var list = ftp.list();
  println(list.length);
  var e = list[0];
  println(e.fileType + " " + e.name + " " + e.size + " " + e.length + " " + Math.floor(e.attribute / 100) + " " +
          (e.lastModified.getFullYear() >= 2024) + " " + (("" + e).indexOf("up.txt") > 0));

  ftp.download("up.txt", LOCAL + "/down.txt");
  println(readFile("down.txt"));
  writeFile("down.txt", "hel");
  ftp.downloadRestore("up.txt", LOCAL + "/down.txt");
  println(readFile("down.txt"));

  ftp.rename("up.txt", "moved.txt");
  ftp.uploadUnique(LOCAL + "/up.txt");
  ftp.uploadUnique(LOCAL + "/up.txt");
  writeFile("tail.txt", "more;");
  ftp.uploadAppend(LOCAL + "/tail.txt", "moved.txt");
  ftp.download("moved.txt", LOCAL + "/moved.txt");
  println(readFile("moved.txt"));

  var names = [];
  var short = ftp.nlist();
  for (var i = 0; i < short.length; i++) names.push(short[i].name);
  println(names.sort().join(" "));
  var found = ftp.findFiles("/" + dir, "*.txt", true);
  found.sorted = true;
  println(found.length + " " + found.commaText);

  ftp.delete("moved.txt");
  ftp.delete("up.txt");
  ftp.delete("up_000.txt");
  println(ftp.list().length);
  ftp.type("a");
  println(ftp.command("NOOP"));
  ftp.changeDir("/");
  ftp.removeDir(dir);
  ftp.quit();
}

session(true);
session(false);
