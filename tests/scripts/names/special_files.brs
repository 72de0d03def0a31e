// Names that are no regular files: a folder and a device that never ends. The readers that take a
// file whole refuse them; File reads a device by counts, and reading it whole or by lines stops
// with an error instead of filling the memory. Nothing here waits or ends the program.
function refused(what, f) {
  try {
    var r = f();
    println(what + ": " + r);
  } catch (e) {
    println(what + ": " + e);
  }
}

// A file the parser cannot read changes nothing and raises nothing, a folder included.
var h = new HtmlParser("<p>");
h.parseFile(".");
h.parseFile("/dev/zero");
h.parseFile("no such file");
println(h.html + " " + h.count);

refused("Strings.loadFromFile folder", function () { new Strings("x").loadFromFile("."); });
refused("Strings.loadFromFile device", function () { new Strings("x").loadFromFile("/dev/zero"); });
refused("new Ini folder", function () { new Ini("."); });
refused("new Ini device", function () { new Ini("/dev/zero"); });
refused("CRC.calcFile folder", function () { new CRC().calcFile("."); });
refused("CRC.calcFile device", function () { new CRC().calcFile("/dev/zero"); });
refused("File.copyTo device", function () { new File("/dev/zero").copyTo("copy.bin"); });
println(File.exists("copy.bin"));

var zero = new File("/dev/zero");
zero.open();
refused("read(5)", function () { var r = zero.read(5); return r.length + " " + r.charCodeAt(4); });
refused("read()", function () { return zero.read().length; });
refused("readln()", function () { return zero.readln().length; });
refused("eof()", function () { return zero.eof(); });
zero.close();

// A device written to takes the bytes as they come.
var sink = new File("/dev/null");
sink.open("w");
println(sink.write("gone"));
sink.close();
