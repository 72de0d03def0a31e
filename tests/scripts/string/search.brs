// indexOf and lastIndexOf answer character positions; an empty search text is never found.
s = "あいうあいうabc";
println(s.indexOf("い") + " " + s.indexOf("い", 2) + " " + s.indexOf("い", 5) + " " + s.indexOf("x") + " " + s.indexOf("") + " " + s.indexOf("a", -5));
println(s.lastIndexOf("い") + " " + s.lastIndexOf("い", 3) + " " + s.lastIndexOf("い", 0) + " " + s.lastIndexOf("あ", 0) + " " + s.lastIndexOf("い", -1) + " " + s.lastIndexOf(""));
println((typeof s.indexOf()) + " " + (typeof s.lastIndexOf()));
// A search never matches part of a character: the first two bytes of "あ" are no character of it.
raw = String.fromCharCode(0xDCE3, 0xDC81);
println(raw.sizeOf() + " " + "あ".indexOf(raw) + " " + "あ".lastIndexOf(raw) + " " + ("x" + raw).indexOf(raw) + " " + ("x" + raw + "y").lastIndexOf(raw));
// slice: negative positions count from the end; the end defaults to the end of the text.
t = "日本語テキスト";
println(t.slice(2) + " " + t.slice(-3) + " " + t.slice(1, 3) + " " + t.slice(0, -1) + " " + t.slice(-2, -1) + "|" + t.slice(5, 2) + "|" + t.slice() + "|" + t.slice(-100));
// substr: a count of characters from the start (a negative start counts as the first character).
println(t.substr(3) + " " + t.substr(1, 2) + " " + t.substr(-2, 2) + "|" + t.substr(2, 0) + "|" + t.substr(10) + "|" + t.substr());
// substring: the smaller argument is the start, negatives count as 0.
println(t.substring(2, 0) + " " + t.substring(0, 2) + " " + t.substring(-3, 2) + " " + t.substring(5) + "|" + t.substring(3, 3) + "|" + t.substring());
// concat converts every argument to text; without arguments it answers undefined.
println("a".concat("b", 1, true, null) + " " + typeof "a".concat());
