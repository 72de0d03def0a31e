// Registry keys under the current user: every write stored at once, names ignoring case.
var r = new RegIni("Software\\Example");
println(r.key + " " + r.rootKey);
println(r.sectionExists("Settings") + " " + r.readSections().length);
println(r.read("Settings", "Name", "none"));
println(r.write("Settings", "Name", "Hanako") === r);
r.write("settings", "Level", 3).write("Window", "Left", "10").write("Window", "Top", "20");
var other = new RegIni("SOFTWARE\\example");
println(other.read("SETTINGS", "name", "none") + " " + other.read("Settings", "level", "0"));
println(other.readSections().commaText + " / " + other.readSection("window").commaText);
println(other.sectionExists("window") + " " + other.sectionExists("door") + " " + other.sectionExists());
other.write("Settings", "NAME", "Taro");
println(r.read("Settings", "Name", "none"));
r.deleteKey("Window", "LEFT");
println(other.readSection("Window").commaText);
r.eraseSection("WINDOW");
println(other.readSections().commaText);
var quoted = "say \"hi\" \\ and\r\nmore";
r.write("Settings", "Odd", quoted);
println(other.read("Settings", "odd", "") == quoted);
var store = new Strings().loadFromFile("home/.config/brscript/registry.reg");
for (var i = 0; i < store.length; i++) println("| " + store[i]);
try { r.read("a", "b"); } catch (e) { println("read: " + e); }
try { new RegIni(); } catch (e) { println("no key: " + e); }
