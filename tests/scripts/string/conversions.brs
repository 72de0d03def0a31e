// Bytes of a text in hexadecimal: a byte that is no character of its own shows as that byte.
function hex(s) {
  var out = "";
  for (var i = 0; i < s.length; i++) {
    var c = s.charCodeAt(i);
    if (c >= 0xDC80 && c <= 0xDCFF) c = c - 0xDC00;
    out += (out == "" ? "" : " ") + c.toString(16);
  }
  return out;
}
// Case mapping touches ASCII letters only; trimming drops control characters and blanks.
println("AbC ÄÖ ＡＢ".toLowerCase() + " " + "abc äö ａｂ".toUpperCase());
println("[" + ("\t\r\n x y " + String.fromCharCode(1)).trim() + "][" + "  x ".trimLeft() + "][" + " x  ".trimRight() + "][" + "　x　".trim() + "]");
// reverse keeps each character whole; multiply repeats.
println("日本語abc".reverse() + " " + "ab".multiply(3) + "[" + "ab".multiply(0) + "][" + "".multiply(5) + "][" + "ab".multiply(-1) + "][" + "ab".multiply() + "]");
// A repetition too large to hold is an error, not an exhausted memory.
try { "ab".multiply(200000000); println("no error"); } catch (e) { println("multiply: " + e); }
// crypt(3): the salt's two characters then eleven more.
println("abc".crypt("ab") + " " + "password".crypt("ZZ") + " " + "abc".crypt("ab").length);
// localeCompare: letters without case first, then lower case before capitals.
println("a".localeCompare("A") + " " + "A".localeCompare("a") + " " + "a".localeCompare("b") + " " + "B".localeCompare("a") + " " +
        "abc".localeCompare("abc") + " " + "ab".localeCompare("abc") + " " + "b".localeCompare("ab") + " " + (typeof "a".localeCompare()));
// Width and kana.
println("Abc 123!~".toZenkaku() + " " + "ｶﾞｷﾞｸﾊﾟｳﾞｱｰ｡".toZenkaku() + " " + "日本".toZenkaku());
println("Ａｂｃ　１２３！～".toHankaku() + " " + "ガギクパヴアー。".toHankaku() + " " + "ひらがな".toHankaku());
println("カタカナとヴァ".toHiragana() + " " + "ひらがなとゔぁ".toKatakana() + " " + "ｶﾀｶﾅ".toHiragana());
// Japanese codes from our text, and back.
s = "日本a";
println(hex(s.toSJIS()) + " / " + hex(s.toEUC()) + " / " + hex(s.toJIS()));
println(s.toSJIS().toUTF8() + " " + s.toJIS().toSJIS().toUTF8() + " " + s.toSJIS().fromSJIStoJIS().toUTF8() + " " + (s.toUTF8() == s));
println(hex(s.toSJIS().fromSJIStoEUC()) + " / " + hex(s.toSJIS().fromSJIStoJIS()) + " / " + hex(s.toEUC().fromEUCtoSJIS()));
println(hex(s.toJIS().fromJIStoSJIS()) + " / " + hex(s.toJIS().fromJIStoEUC()) + " / " + hex(s.toEUC().fromEUCtoJIS()));
// A text with nothing to convert comes back unchanged.
println("plain".toSJIS() + " " + "plain".toJIS() + " " + "plain".toEUC() + " " + s.fromUTF8toSJIS());
// toWide: every character as its UTF-16LE code unit bytes.
println(hex("Aあ".toWide()) + " / " + hex("😀".toWide()) + " / " + "Aあ".toWide().sizeOf());
