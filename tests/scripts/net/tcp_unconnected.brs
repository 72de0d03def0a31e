// A TCPSocket that never connected has nothing to read: every way of reading raises, and the
// script can catch it. The last read goes uncaught and shows its message.
var s = new TCPSocket;
try { s.readln(); println("readln read"); } catch (e) { println("readln: " + e); }
try { s.read(); println("read read"); } catch (e) { println("read: " + e); }
try { s.read(5); println("read(5) read"); } catch (e) { println("read(5): " + e); }
try { s.capture(SCRATCH + "c.txt"); println("captured"); } catch (e) { println("capture: " + e); }
println(new Directory(SCRATCH).findFiles("*").length);
s.readln();
println("not reached");
