// Flags: a text of at most three characters; i, g and m count, other letters are ignored.
function flags(re) { return re.ignoreCase + " " + re.global + " " + re.multiline; }
println(flags(new RegExp("a")) + " / " + flags(new RegExp("a", "gi")) + " / " + flags(new RegExp("a", "m")) + " / " + flags(new RegExp("a", "xgz")));
// A longer flag text sets no flag at all, whatever it holds.
println(flags(new RegExp("a", "gimx")) + " / " + flags(new RegExp("a", "gim")));
// toString: the source between slashes, then the flags in the order i, g, m.
println(new RegExp("a+b", "mg") + " " + new RegExp("x", "mig") + " " + new RegExp() + " " + new RegExp("c").toString());
// A literal brings its own flags; a second argument is then ignored.
println(new RegExp(/ab/gi) + " " + new RegExp(/ab/m, "g") + " " + (/x/i).source + " " + (/x/i).ignoreCase);
// The properties can be changed; a new source takes effect at the next match.
re = new RegExp("a");
re.source = "b+";
re.global = true;
re.ignoreCase = true;
re.multiline = true;
matched = re.test("xBBx");
println(re + " " + matched + " " + re.lastMatch);
re.input = "kept";
println(re.input + " " + re.index + " " + re.lastIndex);
// Before any match: no positions, empty texts and group members.
fresh = new RegExp("q");
println(fresh.index + " " + fresh.lastIndex + " [" + fresh.lastMatch + fresh.lastParen + fresh.leftContext + fresh.rightContext + fresh.$0 + fresh.$9 + "]");
// The position properties cannot be written.
fresh.index = 5;
println(fresh.index);
