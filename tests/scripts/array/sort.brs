// Without a comparer items sort by their integer values: texts that are not numbers count as 0,
// doubles as their rounded value, and equal items keep their order.
println(["b", "a"].sort() + " | " + [10, 9, 1].sort() + " | " + ["10", "9", "1"].sort());
println([2.4, 1.6, 2, 1].sort() + " | " + ["x", 1, "y", -1].sort() + " | " + [].sort().length);
a = [3, 1, 2];
println((a.sort() == a) + " " + a);

// A comparer orders by the integer value of its answer; equal items keep their order.
people = [["ann", 3], ["bob", 1], ["cy", 3], ["dee", 2], ["eve", 1]];
people.sort(function (x, y) { return x[1] - y[1]; });
s = "";
for (i in people) s += people[i][0] + " ";
println(s);
println([5, 3, 4, 1].sort(function (x, y) { return 0; }));
println([1, 2, 3].sort(function (x, y) { return 0.4; }) + " " + [1, 2, 3].sort(function (x, y) { return y - x; }));

// The comparer is called with the earlier item first, and this is the array.
calls = [];
a = [2, 1];
a.sort(function (x, y) { calls.push(x + ">" + y + ":" + (this == a)); return x - y; });
println(calls);

// A comparer may sort other arrays, and the same one, while it runs.
inner = [];
outer = [3, 1, 2];
outer.sort(function (x, y) { inner = [y, x, 9].sort(); return x - y; });
println(outer + " " + inner);
same = [4, 2, 3, 1];
depth = 0;
same.sort(function (x, y) { if (depth == 0) { depth++; same.sort(); depth--; } return y - x; });
println(same);

// A comparer that raises leaves the array as it was.
a = [3, 1, 2];
try { a.sort(function (x, y) { throw "stop"; }); } catch (e) { println("raised " + e + " " + a); }
// A comparer that changes the array does not break the sort.
a = [3, 1, 2];
a.sort(function (x, y) { a.pop(); a.push(0); return x - y; });
println(a.length);

// Only script functions compare.
try { [2, 1].sort(5); } catch (e) { println("comparer " + e); }
try { [2, 1].sort(print); } catch (e) { println("comparer " + e); }

// Many items under few keys (number texts, other texts as 0, doubles, Booleans): equal keys keep
// their order through every merge.
big = [];
for (i = 0; i < 40; i++) big.push(i % 4 == 0 ? "" + (i % 5) : i % 4 == 1 ? "t" + i : i % 4 == 2 ? (i % 3) + 0.25 : i % 7 == 0);
println(big.sort());
