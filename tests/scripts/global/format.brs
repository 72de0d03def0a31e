// Integers: %d signed, %u unsigned, %x upper-case hexadecimal; the precision gives the least digits.
println(format("%d|%u|%x|%.5d|%.4x|%d", 42, -1, 255, -42, 10, -2147483647));
// Width pads with blanks, on the right after "-"; it never cuts. "0" is not a flag.
println(format("[%5d][%-5d][%05d][%1d][%*d]", 42, 42, 42, 12345, 4, 7));
// Floats round half away from zero on their decimal digits.
println(format("%f|%.1f|%.0f|%.2f|%.2f|%f", 3.0, 0.25, 2.5, 1.005, -0.001, 1e20));
println(format("%e|%.3e|%g|%.3g|%g", 1000.0, 123456.0, 0.5, 1234.5, 1e20));
println(format("%n|%.1n|%m|%.2m|%m", 1234567.891, -1234.56, 1234.5, -5.0, 0.4));
// Texts: the precision keeps that many characters; other values are written as their text.
println(format("%s|%.2s|%5s|%-4s|%s|%s|%.1s", "abc", "abc", "ab", "ab", true, null, "日本"));
// Index: selects an argument, the next directive goes on after it; %% is a percent sign.
println(format("%1:s %0:s %s|100%%", "a", "b", "c"));
// Arithmetic gives doubles: an integer directive refuses them.
println(sprintf("%s=%d", "n", 5) + " " + (typeof format()) + " " + format("plain") + " " + format("%.1f", 1 + 2));
r = printf("%s-%s|", "1.5", "x");
println(r);
r = printfln("%d items", 3);
println("[" + r + "]");

// An argument of the wrong kind, a missing one, or an unknown type is an EConvertError.
function tryFormat(f, v) {
  try { return format(f, v); } catch (e) { return e; }
}
println(tryFormat("%d", 1.5) + " " + tryFormat("%f", 3) + " " + tryFormat("%s", 5) + " " + tryFormat("%x", "a") + " " + tryFormat("%s", 1.5));
println(tryFormat("%d %d", 1) + " " + tryFormat("%q", 1) + " " + tryFormat("%", 1) + " " + tryFormat("%p", 1));
println(tryFormat("%999999999d", 1) + " " + tryFormat("%.999999999f", 1.5));
