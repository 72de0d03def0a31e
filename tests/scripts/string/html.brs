// The HTML wrappers build their tags in capitals around the text, which is not escaped.
s = "a<b>&";
println(s.big() + " " + s.blink() + " " + s.bold() + " " + s.fixed() + " " + s.italics());
println(s.small() + " " + s.strike() + " " + s.sub() + " " + s.sup());
println(s.anchor("top") + " " + s.link("http://x/?a=1&b=2") + " " + s.fontcolor("red") + " " + s.fontsize(3));
// Wrappers that need a value answer undefined without one; the others ignore arguments.
println((typeof s.anchor()) + " " + (typeof s.link()) + " " + (typeof s.fontcolor()) + " " + (typeof s.fontsize()) + " " + s.bold(1, 2));
