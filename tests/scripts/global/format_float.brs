// Placeholders: "0" a digit or zero, "#" a digit or nothing; "," groups; "." the decimal point.
println(formatFloat("#,##0.00", 1234.5) + " " + formatFloat("0.###", 2) + " " + formatFloat("000", 7) + " " + formatFloat("#", 0));
println(formatFloat("0.00", 0.125) + " " + formatFloat("0.00", 1.005) + " " + formatFloat("#,##0", 1234567.5) + " " + formatFloat("0", -2.5));
println(formatFloat("#.##", 0.5) + " " + formatFloat("0.0#", 3) + " " + formatFloat("00.0", 123.456) + " " + formatFloat("#,##0.00", -1234567.891));
// Sections: positive; negative (written without its sign); zero.
println(formatFloat("0.00;(0.00)", -1.5) + " " + formatFloat("0.00;(0.00);zero", 0) + " " + formatFloat("0.0;(0.0);zero", 0.04));
println(formatFloat("0.0;;none", 0) + " " + formatFloat("0.0;", -3) + " " + formatFloat("0.0", -0.04));
// Exponents: "+" always shows the sign, "-" only a negative one.
println(formatFloat("0.0E+00", 12345) + " " + formatFloat("0.00E-0", 0.000123) + " " + formatFloat("0.00E-0", 12345) + " " + formatFloat("0.0E+00", 0));
// Quoted texts and other characters are copied.
println(formatFloat("'#'0 \"pts\"", 12) + " " + formatFloat("x0.0y", 1.25));
// An empty pattern is the general format; fewer than two arguments give undefined.
println(formatFloat("", 1.5) + " " + formatFloat("", 1e20) + " " + typeof formatFloat("0"));
