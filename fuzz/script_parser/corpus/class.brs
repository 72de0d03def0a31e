class A { var x = 1; function A(v) { x = v; } }
class B extends A { function B(v) { this.y = v; } }
b = new B(3);
