// Operands are evaluated right to left: lines that change an array read it beforehand.

// join: "," by default; undefined and null items are empty.
a = [1, null, 3];
println(a.join() + " " + a.join(" - ") + " " + a.join(0) + " " + [[][0], "x"].join());
println(a.toString() + " " + a + " " + (typeof a.valueOf()) + " " + a.valueOf());
println([[1, 2], [3, [4, 5]]].join(";") + " [" + [].join() + "]");

// An array that holds itself is written as empty text where it comes back.
a = [1, 2];
a.push(a);
println(a + " " + a.join("/") + " " + a.length);
b = ["b"];
c = ["c", b];
b.push(c);
println(b + " " + c);

// slice: copies from start up to before end; negative positions count from the end.
a = [1, 2, 3, 4, 5];
println(a.slice(-2) + " | " + a.slice(1, 3) + " | " + a.slice(1, -1) + " | " + a.slice(3, 1).length + " | " + a.slice());
println(a.slice(-9) + " | " + a.slice(0, -9).length + " | " + a.slice(2, 99) + " | " + a.slice(9).length + " | " + a);

// concat: the own items, then the items of every array argument or the argument itself.
a = [1, 2];
c = a.concat(3, [4, 5], "six", [[7]]);
println(c + " " + c.length + " " + a.length + " " + isUndefined(a.concat()));
println(a.concat(a) + " " + (a.concat([]) == a));
// Any indexed object spreads, a String object into its characters; a plain text stays whole.
println(["x"].concat(new String("日本"), "ab").join("|"));
