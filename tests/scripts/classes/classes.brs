class A {
  var a = "field a";
  var unset;
  function A(v) { println("A(" + v + ")"); }
  function describe() { return "A " + a; }
}
class B extends A {
  b = "field b";
  static ignored = 1;
  function B(v) { println("B(" + v + ")"); }
  function both() { return a + " / " + b; }
}
class C(B) {
  function C(v) { println("C(" + v + ")"); }
}
x = new B(1);
println(x.both());
println(x.describe());
println(x.unset);
println(x.hasKey("ignored"));
println(x);
y = new C("c");
println(y.getKeys == null);
// A method keeps its object even when called through another name.
m = x.both;
println(m());
// Members declared without a value are null; an undeclared member is an error.
try { x.missing; } catch (e) { println(e); }
try { new Nowhere(); } catch (e) { println(e); }
