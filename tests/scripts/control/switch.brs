function sw(x) {
  switch (x) {
    default: print("d ");
    case 1: print("one ");
    case 2: print("two "); break;
    case "3": print("three ");
  }
  println("|");
}
sw(1); sw(2); sw(3); sw(4);
// Case values are evaluated in order, only until one matches.
function v(x) { print("<", x, ">"); return x; }
switch (2) { case v(1): case v(2): print("hit "); case v(3): print("fall "); }
println("");
// A switch matches with ==.
switch ("7") { case 7: println(" loose"); }
// break leaves the switch; continue reaches the enclosing loop.
for (i = 0; i < 3; i++) { switch (i) { case 1: continue; default: print(i); } print(";"); }
println("");
