// Number objects keep numeric values as they were given; other values become 0.
println(new Number().valueOf() + " " + new Number(5) + " " + new Number(1.5) + " " + new Number("abc"));
println(new Number("0012").toString() + " " + (typeof new Number("12").valueOf()) + " " + new Number(true));
println(new Number(new Number(7)) + " " + (new Number("12") + 1));

// toString with a radix: 2, 8 and 16 write the 32-bit integer, anything else the ordinary text.
n = new Number(255);
println(n.toString(16) + " " + n.toString(2) + " " + n.toString(8) + " " + n.toString(10) + " " + n.toString(3));
println((-1).toString(16) + " " + (-1).toString(8) + " " + 255.9 .toString(16) + " " + new Number("12").toString(16));

// Fixed and exponent formats round the decimal digits half away from zero.
println((123.456).toFixed(2) + " " + (123.456).toPrecision(2) + " " + (123.456).toFixed() + " " + (1.005).toFixed(2));
println((0.125).toFixed(2) + " " + (2.5).toFixed(0) + " " + (-0.001).toFixed(2) + " " + (1e20).toFixed(2));
println((123.456).toExponential(2) + " " + (123.456).toExponential() + " " + (0).toExponential(2) + " " + (-0.00012345).toExponential(1));

// Primitive numbers and Booleans reach these methods through a temporary Number.
println(5 .toFixed(1) + " " + true.toString() + " " + (65).toChar() + " " + 0x41 .toString(2));

// The published properties.
n = new Number(65);
println(n.asChar + " " + n.int + " " + n.number);
n.asChar = "xyz";
println(n.valueOf() + " " + n.asChar);
n.asChar = "";
println(n.valueOf());
n.number = 2.5;
println(n.valueOf() + " " + n.int);
n.int = 7;
println(n.valueOf() + " " + n.number + " " + n.hasKey("number") + " " + n.hasKey("NUMBER"));
n.asChar = "あ";
println(n.int + " " + n.toChar());

// Constants are members of every Number, and come back after clearing.
println(Number.MAX_VALUE + " " + Number.MIN_VALUE);
println(Number.NaN);
println(Number.POSITIVE_INFINITY);
println(Number.NEGATIVE_INFINITY);
m = new Number(3);
m.removeKey("MAX_VALUE");
println(m.hasKey("MAX_VALUE") + " " + m.hasKey("MIN_VALUE"));
