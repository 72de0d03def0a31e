// Load, declaration and memory errors are script errors, never crashes.
var dc = new DynaCall();
function t(f) { try { f(); println("no error"); } catch (e) { println(e); } }
t(function () { dc.register(); });
t(function () { dc.register("libbrs_dynatest.so", ""); });
t(function () { dc.register("no_such_library.so", "f"); });
t(function () { dc.register("libbrs_dynatest.so", "no_such_function"); });
t(function () { dc.register("libbrs_dynatest.so", "dt_long", "i=lz", "r=l"); dc.dt_long(1, 2); });
var s = new Struct("a:l");
t(function () { dc.fillMemory("plain", 2); });   // a plain string is no destination
t(function () { dc.fillMemory(s, 5); });          // past the structure
t(function () { dc.fillMemory(s, 0); });
t(function () { dc.copyMemory(s, "abcdefgh", 5); });  // past the structure
t(function () { dc.copyMemory(s, 8, 4); });       // an address nothing is mapped at
t(function () { dc.copyMemory(64, s, 4); });
t(function () { dc.copyMemory(64, 8, 1e300); });  // counts no memory can hold
t(function () { dc.fillMemory(64, 1 / 0); });
dc.fillMemory(s, 4, "A"); println(s.a);
dc.copyMemory(s, "xyz", 4); println(s.a == 0x7a7978);
// A declared function kept after its library was unloaded.
dc.register("libbrs_dynatest.so", "dt_long", "i=ll", "r=l");
var f = dc.dt_long;
println(dc.dt_long(9, 4));
dc.register("libbrs_dynatest.so", "dt_short", "i=tt", "r=t");  // the same library, reused
println(dc.dt_short(3, 4));
var other = new DynaCall();
other.register("libbrs_dynatest.so", "dt_long", "i=ll", "r=l");
other = null;
println(dc.dt_long(1, 1));  // another object's unload leaves this one's library loaded
println(dc.sendMessage(1, 2) + " " + dc.postMessage(1, 2) + " " + dc.sendMessage());
// The object that loaded the library goes: its declarations refuse to call.
dc = null;
t(function () { f(1, 2); });
