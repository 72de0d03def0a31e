// Emptying a folder: for good, or into the trash; the folder itself stays.
var d = new Directory("full");
d.make();
new Directory("full/sub/deep").make();
new Strings("a").saveToFile("full/a.txt");
new Strings("b").saveToFile("full/sub/deep/b.txt");
new Strings("c").saveToFile("full/.c");
println(d.clear(false) === d);
println(d.exists());
println(d.findFirst());
println(d.findNext());
println(d.findNext());

new Strings("t").saveToFile("full/to-trash.txt");
new Directory("full/folder").make();
d.clear();
println(d.files.length + " " + d.directories.length);
var trash = new Directory("home/.local/share/Trash/files");
println(trash.files.length + " " + trash.directories.length);
var info = new Directory("home/.local/share/Trash/info");
println(info.findFiles("*.trashinfo").length);

println(new Directory("empty").make() && new Directory("empty").clear() != null);
try { new Directory("missing").clear(false); } catch (e) { println("clear missing: " + e); }
try { new Directory("home").clear(false); } catch (e) { println("clear home: " + e); }
try { new Directory("/").clear(false); } catch (e) { println("clear root: " + e); }
println(new Directory("home/.local").exists());
