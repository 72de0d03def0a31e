// A module import runs the file as a module of its own, reached through its name.
import lib_counter;
println(lib_counter.count);
lib_counter.bump();
lib_counter.bump();
println(lib_counter.count);
lib_counter.count = 10;
println(lib_counter.bump());
println(lib_counter.nothing == null);
println(typeof lib_counter);
try { lib_counter(); } catch (e) { println(e); }
