// Folders: names, making and removing, listings, searches with masks and attributes.
var base = new Directory().dirname;
function rel(path) { return path.substring(base.length); }

var d = new Directory("work/a/b");
println(rel(d.dirname) + " " + rel(d.path) + " " + rel(d.toString()));
println(d.exists() + " " + d.exists("work"));
println(d.make());
println(d.exists() + " " + d.make());
println(rel(new Directory("work/a/b/../b/./").dirname));
println(rel(d.excludePathDelimiter()) + " " + d.includePathDelimiter("x") + " " + d.excludePathDelimiter("x//"));
println(rel(d.expandUNCFilename("work/./x/../c")) + " " + rel(d.expandUNCFilename()));

// Content: two files, a hidden file, a folder and a hidden folder.
new Strings("one").saveToFile("work/a/b/One.txt");
new Strings("two").saveToFile("work/a/b/two.log");
new Strings("h").saveToFile("work/a/b/.hidden");
new Directory("work/a/b/Sub").make();
new Directory("work/a/b/.cache").make();

function show(label, list) {
  var names = [];
  for (var i = 0; i < list.length; i++) names.push(rel(list[i]));
  println(label + ": " + names.join(" "));
}
show("files", d.files);
show("directories", d.directories);
show("findFiles *.TXT", d.findFiles("*.TXT"));
show("findFiles ?wo.*", d.findFiles("?wo.*"));

function walk(label, first, next) {
  var names = [];
  for (var n = first; n != null; n = next()) names.push(n);
  println(label + ": " + names.join(" "));
}
walk("findFirst", d.findFirst(), function () { return d.findNext(); });
walk("findFirstFile", d.findFirstFile(), function () { return d.findNextFile(); });
walk("findFirstDir", d.findFirstDir(), function () { return d.findNext(); });
walk("findFirstDir/findNextDir", d.findFirstDir(), function () { return d.findNextDir(); });
walk("findFirst *.log", d.findFirst("*.log"), function () { return d.findNext(); });
// A mask may lead into a subfolder, as a search path does: the names come from there.
new Directory("work/m/deep").make();
new Strings("x").saveToFile("work/m/deep/in.txt");
var top = new Directory("work/m");
walk("findFirst deep/*.txt", top.findFirst("deep/*.txt"), function () { return top.findNext(); });
walk("findFirstFile deep/*", top.findFirstFile("deep/*"), function () { return top.findNextFile(); });
show("findFiles deep/*.txt", top.findFiles("deep/*.txt"));
println("missing subfolder: " + top.findFirst("none/*") + " " + top.findFiles("none/*").count);
println("no match: " + d.findFirst("*.none"));
println("then: " + d.findNext());
d.findClose();
try { d.findNext(); } catch (e) { println("findNext after findClose: " + e); }
try { new Directory("work").findNextFile(); } catch (e) { println("findNextFile: " + e); }
try { new Directory("work").findNextDir(); } catch (e) { println("findNextDir: " + e); }

// Removing: only an empty folder goes.
try { new Directory("work/a").remove(); } catch (e) { println("remove full: " + e); }
println(new Directory("work/a/b/Sub").remove());
println(new Directory("work/a/b/Sub").exists());
try { new Directory("work/none").remove(); } catch (e) { println("remove missing: " + e); }
try { new Strings("x").saveToFile("work/plain"); new Directory("work/plain/deeper").make(); } catch (e) { println("make: " + e); }
println(typeof(d.renameTo("elsewhere")) + " " + d.exists());

// The current folder.
try { d.changeTo("work/none"); } catch (e) { println("changeTo missing: " + e); }
d.changeTo();
println(rel(new Directory().dirname));
new Directory().changeTo(base);
println(rel(new Directory().dirname) == "");
