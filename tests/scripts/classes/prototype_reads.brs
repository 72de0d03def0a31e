// Objects of many classes read their prototypes' members in turn, again and again: each finds
// its own class's prototype, and sees it change when it is extended or replaced.
function C0(v) { this.v = v; }
function C1(v) { this.v = v; }
function C2(v) { this.v = v; }
function C3(v) { this.v = v; }
function C4(v) { this.v = v; }
function C5(v) { this.v = v; }
function C6(v) { this.v = v; }
function C7(v) { this.v = v; }
function C8(v) { this.v = v; }
function C9(v) { this.v = v; }
function C10(v) { this.v = v; }
function C11(v) { this.v = v; }
var makers = [C0, C1, C2, C3, C4, C5, C6, C7, C8, C9, C10, C11];
var objects = [new C0(0), new C1(1), new C2(2), new C3(3), new C4(4), new C5(5), new C6(6), new C7(7),
               new C8(8), new C9(9), new C10(10), new C11(11)];
for (var i = 0; i < makers.length; i++) makers[i].prototype.tag = "c" + i;
C3.prototype.tag = "c3";
function tags() {
  var s = "";
  for (var round = 0; round < 3; round++) {
    for (var i = 0; i < objects.length; i++) s += objects[i].tag + (round == 2 ? " " : "");
    if (round < 2) s = "";
  }
  return s;
}
println(tags());
C5.prototype.tag = "changed";
C7.prototype = {tag: "replaced"};
println(tags());
C7.prototype = {other: 1};
try { println(objects[7].tag); } catch (e) { println("gone: " + e); }
println(objects[7].other + " " + new C7(0).other);
