// A file written, read back by lines, counts and whole, then copied, renamed and removed. Binary
// operators evaluate their right operand first, so each call with effects has a statement of its own.
f = new File("notes.txt");
println(f.exists() + " " + f.length);
f.open("w");
f.writeln("first line  ");
f.writeln("second");
f.write("tail");
println(f.length + " " + f.canWrite() + " " + f.canRead());
f.close();
f.open();
while (!f.eof()) println("[" + f.readln() + "]");
f.seek(-4);
println(f.read(2));
println(f.read());
f.seek(0);
println(f.read(5));
println(f.isOpened());
f.copyTo("copy.txt");
println(f.isOpened());
g = new File("copy.txt");
println(g.exists() + " " + g.length);
try { f.renameTo("copy.txt"); } catch (e) { println("rename " + e); }
println(f.renameTo("moved.txt"));
println(f.filename + " " + File.exists("notes.txt") + " " + File.exists("moved.txt"));
println(g.remove());
println(g.exists());
try { g.open(); } catch (e) { println("open " + e); }
try { g.read(); } catch (e) { println("read " + e); }
println(File.extractName("a/b/c.txt") + " " + File.extractPath("a/b/c.txt") + " " + File.extractDir("a/b/c.txt"));
println(File.extractExt("a/b/c.txt") + " " + File.changeExt("a/b/c.txt", ".log") + " " + f.changeExt(".bak"));
f.renameTo("moved.txt");
