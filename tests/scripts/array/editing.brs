// Operands are evaluated right to left, so every line below prints values taken beforehand.

// push answers the new length, add the index of the last item added.
a = [];
r1 = a.push(1, 2);
r2 = a.push();
r3 = a.add("x", "y");
r4 = a.add();
println(r1 + " " + r2 + " " + r3 + " " + isUndefined(r4) + " " + a);

// pop and shift answer the removed item, undefined when empty.
a = [1, 2, 3];
p = a.pop();
s = a.shift();
println(p + " " + s + " " + a + " " + a.length);
a = [];
p = a.pop();
s = a.shift();
println(isUndefined(p) + " " + isUndefined(s) + " " + a.length);

// An object that only the array held survives being popped or shifted.
function holder(n) { o = new Object(); o.n = n; return o; }
a = [holder(1), holder(2)];
p = a.pop();
s = a.shift();
println(p.n + " " + s.n + " " + a.length);

// unshift puts the arguments first in their order and answers the array.
a = [3];
r = a.unshift(1, 2);
println(a + " " + (r == a) + " " + a.unshift().length);

// reverse answers the array.
println([1, 2, 3, 4].reverse() + " " + [1, 2, 3].reverse() + " " + [].reverse().length);

// delete removes one item and answers the array; a missing index is an error.
a = ["a", "b", "c"];
r = a.delete(1);
println(r + " " + a.delete().length);
try { a.delete(5); } catch (e) { println("delete " + e + " " + a); }
try { a.delete(-1); } catch (e) { println("delete " + e + " " + a); }

// clear removes the items and the members the script added.
a = [1, 2];
a.extra = 5;
a.clear();
println(a.length + " " + a.hasKey("extra") + " " + a.hasKey("push"));

// splice: the removed items as a new array, then the new items at the start.
a = [1, 2, 3, 4, 5];
r = a.splice(1, 2, "x", "y", "z");
println(r + " | " + a);
r = a.splice(-2, 1);
println(r + " | " + a);
r = a.splice(0, 0, "first");
println(r.length + " | " + a);
r = a.splice(a.length, 0, "last");
println(r.length + " | " + a);
r = a.splice(1, -3);
println(r.length + " | " + a);
a = [1, 2];
println(isUndefined(a.splice(0)) + " " + isUndefined(a.splice()) + " " + a);
// A range beyond the items changes nothing.
a = [1, 2, 3];
try { a.splice(2, 5); } catch (e) { println("splice " + e + " " + a); }
try { a.splice(-5, 1); } catch (e) { println("splice " + e + " " + a); }
try { a.splice(7, 0, "x"); } catch (e) { println("splice " + e + " " + a); }

// assign copies the items of an indexed object; an array may take its own items.
a = [1, 2];
b = [7, 8, 9];
r = a.assign(b);
b.push(10);
println(a + " " + (r == a));
a.assign(a);
println(a);
try { a.assign(5); } catch (e) { println("assign " + e + " " + a); }
try { a.assign(); } catch (e) { println("assign " + e + " " + a); }
