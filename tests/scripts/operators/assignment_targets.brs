// Members, indexes and the setter form of a method call.
o = {};
o.x = 1;
o["y"] = 2;
o.z = o.x + o.y;
println(o.x + " " + o.y + " " + o.z);
o.x++;
o["y"]--;
println(o.x + " " + o.y);
calls = "";
o.f = function(a, b) { calls = calls + a + "," + b; return a; };
o.f(1) = 2;
println(calls);
try { 3 = 4; } catch (e) { println(e); }
println((delete o.z) + " " + (delete o.z) + " " + o.hasKey("z"));
