// Saving and loading lines; a file that cannot be read or written is an error, the list unchanged.
s = new Strings("first\nsecond\rthird");
s.saveToFile("lines.txt");
t = new Strings();
println(t.loadFromFile("lines.txt").commaText);
s.clear().add("replaced");
s.saveToFile("lines.txt");
println(t.loadFromFile("lines.txt").commaText);
try { t.loadFromFile("absent.txt"); } catch (e) { println("load " + e); }
try { t.loadFromFile(); } catch (e) { println("load " + e); }
try { t.saveToFile("no/such/folder.txt"); } catch (e) { println("save " + e); }
try { t.saveToFile("."); } catch (e) { println("save " + e); }
println(t.commaText);
t.saveToFile("no/such/folder.txt");
