// A name holding a NUL byte names no file: the system would read it only up to the NUL and reach
// the file or folder named by what comes before. Every object refuses such a name with its own
// error, and the file "ten.txt" and the folder "keep" stay as they were.
var NUL = String.fromCharCode(0);
var file = "ten.txt" + NUL + "x", folder = "keep" + NUL + "x";
new Strings("ten").saveToFile("ten.txt");
new Directory("keep").make();
new Strings("inside").saveToFile("keep/inside.txt");

function refused(what, f) {
  try {
    f();
    println(what + ": not refused");
  } catch (e) {
    println(what + ": " + e);
  }
}

// File
var f = new File(file);
refused("File.open", function () { f.open(); });
refused("File.open w", function () { f.open("w"); });
refused("File.exists", function () { File.exists(file); });
refused("File.exists own", function () { f.exists(); });
refused("File.length", function () { f.length; });
refused("File.lastModified", function () { f.lastModified; });
refused("File.remove", function () { f.remove(); });
refused("File.renameTo", function () { f.renameTo("moved.txt"); });
refused("File.renameTo target", function () { new File("ten.txt").renameTo("moved.txt" + NUL); });
refused("File.copyTo", function () { f.copyTo("copy.txt"); });
refused("File.copyTo target", function () { new File("ten.txt").copyTo(file); });
refused("File.extractShortPathName", function () { f.extractShortPathName(); });
println(f.extractName() == "ten.txt" + NUL + "x");

// Directory
var d = new Directory(folder);
refused("Directory.clear", function () { d.clear(false); });
refused("Directory.clear to trash", function () { d.clear(); });
refused("Directory.remove", function () { new Directory("keep/inside.txt" + NUL).remove(); });
refused("Directory.make", function () { new Directory("made" + NUL + "x").make(); });
refused("Directory.exists", function () { Directory.exists(folder); });
refused("Directory.changeTo", function () { Directory.changeTo(folder); });
refused("Directory.files", function () { d.files; });
refused("Directory.directories", function () { d.directories; });
refused("Directory.findFiles", function () { d.findFiles(); });
refused("Directory.findFirst", function () { d.findFirst(); });
refused("Directory.findFirstFile", function () { d.findFirstFile("*"); });
refused("Directory.findFirstDir", function () { d.findFirstDir(); });

// String lists, ini files, checksums
refused("Strings.loadFromFile", function () { new Strings("x").loadFromFile(file); });
refused("Strings.saveToFile", function () { new Strings("x").saveToFile(file); });
refused("new Ini", function () { new Ini(file); });
var crc = new CRC();
refused("CRC.calcFile", function () { crc.calcFile(file); });
println(crc.CRC16 + " " + crc.CRC32);

// A file that cannot be read changes nothing for the HTML parser, and raises nothing.
var h = new HtmlParser("<p>");
h.parseFile(file);
println(h.html + " " + h.count);

// Programs and libraries
refused("Win32.winExec", function () { Win32.winExec("true" + NUL + " x"); });
refused("Win32.shellExecute", function () { Win32.shellExecute("open", file); });
refused("Win32.shellExecute parameters", function () { Win32.shellExecute("open", "true", "a" + NUL + "b"); });
refused("DynaCall.register", function () { new DynaCall().register("libc.so.6" + NUL + "x", "abs", "i=l", "r=l"); });

// Local files of the network objects are refused before any connection is made.
refused("TCPSocket.sendFile", function () { new TCPSocket().sendFile(file); });
refused("TCPSocket.capture", function () { new TCPSocket().capture(file); });
refused("HTTP.getFile", function () { new HTTP().getFile("http://127.0.0.1:9/", file); });
refused("HTTPS.getFile", function () { new HTTPS().getFile("https://127.0.0.1:9/", file); });
refused("HTTP.capture", function () { new HTTP().capture(file); });
refused("FTP.download", function () { new FTP().download("remote", file); });
refused("FTP.upload", function () { new FTP().upload(file, "remote"); });
refused("FTP.uploadUnique", function () { new FTP().uploadUnique(file); });

// Nothing was touched.
var ten = new Strings().loadFromFile("ten.txt");
println(ten.count + " " + ten[0]);
println(new Directory("keep").exists() + " " + new Directory("keep").files.length);
println(new Strings().loadFromFile("keep/inside.txt")[0]);
println(File.exists("moved.txt") + " " + File.exists("copy.txt") + " " + new Directory("made").exists());
// Only ten.txt and keep (and the test's home folder) are here.
var here = new Directory(".");
println(here.files.length + " " + (here.directories.length - (new Directory("home").exists() ? 1 : 0)));
