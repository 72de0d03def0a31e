// Operands are evaluated right to left, so every line below reads values taken beforehand.

// new Array: one number gives that many undefined items; anything else lists the items.
a = new Array(3);
println(a.length + " [" + a + "] " + isUndefined(a[0]) + isUndefined(a[2]));
a = new Array("3");
println(a.length + " " + a[0] + " " + typeof a[0]);
a = new Array(1, 2);
println(a.length + " " + a.join("|"));
println(new Array().length + " " + new Array(new Number(2)).length + " " + new Array(2.6).length);
println(new Array(-4).length);
println([5].length + " " + [5][0] + " " + [].length + " " + nameOf([]) + " " + typeof []);

// length: writing pads with undefined or cuts from the end.
a = [1, 2, 3, 4];
a.length = 2;
println(a + " " + a.length);
a.length = 4;
println(a + " " + isUndefined(a[3]));
a.length = -1;
println(a.length);

// Bracket reads and writes grow the array, a read as well.
a = [];
x = a[5];
println(isUndefined(x) + " " + a.length);
a[7] = "x";
println(a.length + " " + a.join(""));
// An index is an integer text: "$10" is 16, "01" is 1; other names are members.
b = ["a", "b"];
println(b["01"] + " " + b[" 1"]);
b["$10"] = "h";
println(b.length + " " + b[16]);
b["1.5"] = "member";
println(b.length + " " + b["1.5"] + " " + b.hasKey("1.5"));
b.name = "dot";
println(b.name + " " + b.length);

// A negative index is an error and changes nothing; so is an index too large to hold.
try { a[-1]; } catch (e) { println("read " + e + " " + a.length); }
try { a[-1] = 0; } catch (e) { println("write " + e + " " + a.length); }
try { a[1000000000] = 0; } catch (e) { println("huge " + e + " " + a.length); }
try { a.length = 1000000000; } catch (e) { println("huge length " + e + " " + a.length); }
try { new Array(1000000000); } catch (e) { println("huge new " + e); }

// for..in gives the indexes.
c = ["x", "y"];
for (i in c) print(i + "=" + c[i] + ";");
println("");
