// Numbers are 32-bit integers or doubles; a result that does not fit an integer is a double.
var big = 2147483647;
println(big + 1);
println(7 / 2);
// Numbers print with 15 significant digits, then in the E form.
println(0.1 + 0.2);
println(123456789012345678);
// Converting a double to an integer rounds halves to even.
println((2.5 | 0) + " " + (3.5 | 0));
// Texts that hold numbers compare as numbers; + with a text joins, - converts.
println(("10" < "9") + " " + ("3" + 4) + " " + ("3" - 1));
// Texts are UTF-8; length and positions count characters.
var word = "日本語";
println(word.length + " " + word.charAt(1) + " " + word.charCodeAt(1));
// Escapes work in double quotes ("\n" is a CR LF line break); single-quoted texts are taken as written.
println("\n".length + " " + "a\tb".length + " " + 'a\tb'.length);
