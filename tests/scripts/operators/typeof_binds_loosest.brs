// typeof takes a whole expression: typeof a + 1 is typeof (a + 1), and in an argument list it takes
// the rest of the list.
a = 1;
println(typeof a + 1);
println(typeof(a) + 1);
println(typeof undeclaredName);
println(typeof(undeclaredName) == "undefined");
println(typeof "s", typeof 1);
println(typeof(1.5) + " " + typeof(null) + " " + typeof(NaN) + " " + typeof(true) + " " + typeof(/x/));
println(typeof(function() {}) + " " + typeof({}));
println(void 0);
