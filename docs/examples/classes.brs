// Classes hold fields and methods; the constructor is the method named like the class.
class Counter {
  var count;
  function Counter(start) { this.count = start; }
  function add(n) { this.count = this.count + n; return this; }
}
var c = new Counter(10);
c.add(5).add(1);
println("count: " + c.count);
// Objects made from literals list their members in the table's own order in for-in.
var totals = { apples: 3, pears: 5 };
var sum = 0;
for (var name in totals) { sum += totals[name]; }
println("sum: " + sum);
// A thrown value is caught as it was thrown.
try {
  throw "out of stock";
} catch (e) {
  println("caught: " + e);
}
