// Arithmetic gives doubles, % an integer of rounded operands; integer conversion rounds halves to even.
function nothing() {}
println(1 + 2 + " " + 7 / 2 + " " + 7 % 3 + " " + -7 % 3);
println((7.5 | 0) + " " + (2.5 | 0) + " " + (0.1 + 0.2));
println(1 / 0);
println(-1 / 0);
println(7 % 0);
// An infinity or NaN takes part in no arithmetic, not even joining a text.
try { x = 1 / 0; y = x + ""; } catch (e) { println(e); }
println("3" + 4 + " " + ("3" - 1) + " " + ("10" < "9") + " " + ("a" < "b"));
println((-8 >> 1) + " " + (-8 >>> 1) + " " + (1 << 33) + " " + ~5);
println((1 == "1") + " " + (1 === "1") + " " + (1 !== "1") + " " + (null == nothing()) + " " + (NaN == NaN));
println(0x1F + " " + 1e3 + " " + 12345678901 + " " + 1.5e-7);
i = 1.7;
j = i++;
println(j + " " + i);
k = "5";
println(k++ + " " + k);
println(--k + " " + k);
// Texts compare as numbers when both read as numbers (blanks, signs, a leading point and "$"
// hexadecimal included), else byte by byte.
println([" 9" < "10", "$F" < "9", ".5" < "0.6", "+5" < "10", "9" < "1a", "9" < "a", "b" > "B", "" < "0", "é" > "z"].join(","));
