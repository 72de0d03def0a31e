// Names used over and over in loops keep following the scopes that hold them.
// At the top: a with block in between takes the name for its object.
var x = 1, total = 0;
var o = {x: 100};
for (var k = 0; k < 4; k++) {
  total += x;
  with (o) { total += x; x = x + 1; }
  x++;
}
println(total + " " + x + " " + o.x);
// In a function: the module's variable, until the call's this has a member of that name.
function bump() { count = count + 1; return count; }
var count = 0;
for (var i = 0; i < 3; i++) bump();
var holder = {count: 50, bump: bump};
holder.bump();
for (var i = 0; i < 2; i++) bump();
println(count + " " + holder.count);
// Global gaining the name takes it over inside functions; the module's own code keeps its own.
var shade = "module";
function readShade() { return shade; }
var seen = "";
for (var i = 0; i < 2; i++) seen += readShade() + ",";
Global.shade = "global";
seen += readShade() + ",";
shade = "module again";
seen += readShade() + " " + shade;
println(seen);
// A parameter of the same name hides the module's variable in one function, not in another.
var v = "outer";
function own(v) { return v; }
function shared() { return v; }
var both = "";
for (var i = 0; i < 2; i++) both += own(i) + shared();
println(both);
// A variable the function declares later in its body takes the name from then on.
var late = "module";
function declaresLate(n) {
  var r = late;
  if (n) { var late = "local"; r += late; }
  return r + late;
}
println(declaresLate(0) + " " + declaresLate(1) + " " + late);
