// read needs its default; the error names the file.
var ini = new Ini("settings.ini");
ini.write("a", "b", "c");
ini.read("a", "b");
