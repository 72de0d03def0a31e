// escape: blanks as "+", lower-case hexadecimal, UTF-8 bytes; unescape reverses it.
println(escape("a b&c=d/é~*") + " " + typeof escape());
println(unescape("a+b%26c") + " " + unescape("a+b") + " " + unescape(escape("x y%z")));

// encodeURI keeps the characters that separate the parts of an address.
u = "http://h/p q?a=1&b=2+3,4#f;x@y:$~";
println(encodeURI(u));
println(encodeURIComponent(u));
// Decoding leaves "+" alone.
println(decodeURI("a+b%20c%2F") + " " + decodeURIComponent("a+b%20c%2F") + " " + decodeURI(encodeURIComponent("日本 語")));
