// Ini files: changes in memory until update, names ignoring case, comments kept.
new Strings("; settings\n[Window]\nLeft = 10\nTop=20\n\n[Recent]\nfile1=a.txt").saveToFile("app.ini");
var ini = new Ini("app.ini");
println(ini.filename);
println(ini.read("window", "LEFT", "0") + " " + ini.read("Window", "Width", "640") + " " + ini.read("None", "x", "d"));
println(ini.sectionExists("RECENT") + " " + ini.sectionExists("Other") + " " + ini.sectionExists());
println(ini.readSections().commaText + " / " + ini.readSection("window").commaText + " / " + ini.readSection("none").length);
println(ini.write("Window", "Width", 800) === ini);
ini.write("New", "flag", true).write("Window", "top", "25");
println(ini.read("window", "width", "") + " " + ini.read("New", "Flag", ""));
println(new Strings().loadFromFile("app.ini").length);
ini.deleteKey("Recent", "FILE1").eraseSection("nothing").update();
var text = new Strings().loadFromFile("app.ini");
for (var i = 0; i < text.length; i++) println("| " + text[i]);
ini.eraseSection("recent");
println(ini.readSections().commaText);
// A second object reads what the first wrote; unwritten changes of the first are not there.
println(new Ini("app.ini").sectionExists("Recent"));

try { ini.read("Window", "Left"); } catch (e) { println("read: " + e); }
try { ini.write("Window", "Left"); } catch (e) { println("write: " + e); }
try { ini.deleteKey("Window"); } catch (e) { println("deleteKey: " + e); }
try { ini.eraseSection(); } catch (e) { println("eraseSection: " + e); }
try { ini.readSection(); } catch (e) { println("readSection: " + e); }
try { ini.write("Window", "Left", "1\r\n[Evil]\r\nx=1"); } catch (e) { println("line end: " + e); }
try { new Ini(); } catch (e) { println("no name: " + e); }
try { new Ini("."); } catch (e) { println("a folder: " + e); }
var lost = new Ini("no/such/folder/x.ini");
lost.write("a", "b", "c");
try { lost.update(); } catch (e) { println("update: " + e); }
try { Ini.read("a", "b", "c"); } catch (e) { println("no global: " + e); }
