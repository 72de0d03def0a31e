// Math: integer results where the function gives whole numbers, doubles otherwise.
function show(label, v) { print(label + " = "); println(v); }
println(Math.abs(-5) + " " + (typeof Math.abs(-5)) + " " + Math.abs(-2.5) + " " + Math.abs("-3") + " " + Math.abs("2.5"));
println(Math.round(2.5) + " " + Math.round(3.5) + " " + Math.round(-2.5) + " " + Math.round(0.5) + " " + Math.round(1e10));
println(Math.ceil(1.2) + " " + Math.floor(-1.2) + " " + Math.ceil(-0.5) + " " + Math.floor(7));
println(Math.max(1, 3, 2) + " " + Math.min(3, 1, 2) + " " + Math.max("5", 2) + " " + Math.max(true, 0.5));
println(Math.pow(2, 10) + " " + Math.sqrt(16) + " " + Math.exp(0) + " " + Math.log(Math.E) + " " + Math.atan2(0, -1));
println(Math.sin(0) + " " + Math.cos(0) + " " + Math.atan(1) * 4 + " " + Math.asin(1) * 2 + " " + Math.acos(1));

// Missing arguments give undefined.
show("pow(2)", Math.pow(2));
show("atan2(1)", Math.atan2(1));
show("sqrt()", Math.sqrt());

// Infinities and NaN go in and come out as themselves.
show("max()", Math.max());
show("min()", Math.min());
show("max(1, 'x')", Math.max(1, "x"));
show("max(1, infinity)", Math.max(1, 1 / 0));
show("min(1, -infinity)", Math.min(1, -1 / 0));
show("pow(10, 400)", Math.pow(10, 400));
show("log(0)", Math.log(0));
show("sqrt(-1)", Math.sqrt(-1));
show("exp(infinity)", Math.exp(1 / 0));
show("abs(-infinity)", Math.abs(-1 / 0));
show("floor(NaN)", Math.floor(0 / 0));

// The constants are read-only.
println(Math.E + " " + Math.PI + " " + Math.LN2 + " " + Math.LN10);
println(Math.LOG2E + " " + Math.LOG10E + " " + Math.SQRT1_2 + " " + Math.SQRT2);
Math.PI = 3;
println(Math.PI + " " + Math.removeKey("PI"));
