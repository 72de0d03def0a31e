// exec with the g flag answers every match at once, as one array.
var numbers = /\d+/g;
var all = numbers.exec("a1 b22 c333");
println(all.length + ": " + all.join(" "));
// Without g it answers the first match; the groups are in RegExp.$1 ... $9.
var first = /b(\d+)/;
var m = first.exec("a1 b22 c333");
println(m[0] + " -> " + RegExp.$1);
// replace takes a template or a function.
println("2026-12-09".replace(/(\d+)-(\d+)-(\d+)/, "$3.$2.$1"));
println("one two".replace(/\w+/g, function (w) { return w.toUpperCase(); }));
// split takes a pattern or a plain text.
println("x=1;y=2".split(/[=;]/).join("|"));
