// A replace without g changes the first match only: the one its test found. The callback sees that
// match (arguments, this, the group members and the engine-wide RegExp) and may use the same
// RegExp again; the state afterwards is that match.
re = new RegExp("(\\d+)");
println(re.replace("a12b34", function (m, g, i, s) {
  return "<" + m + "," + g + "," + i + "," + s + "," + this.$1 + "," + RegExp.$1 + "," + this.index + ">";
}));
println(re.index + " " + re.lastIndex + " [" + re.lastMatch + "] [" + re.$1 + "] [" + RegExp.lastMatch + "]");
println(re.replace("a12b34", function (m) { return re.replace("x9", "[$1]") + m; }) + " " + re.lastMatch);
println(re.replace(12345, "<$&>") + " " + re.replace("日本12語", "<$1$1>") + " " + re.index);
println("[" + re.replace("abc", "x") + "] [" + re.replace("", "x") + "] [" + new RegExp("(").replace("abc", "x") + "]");
println(new RegExp("x*").replace("abc", "-") + " " + "a1b2".replace("\\d", "#") + " " + "a1b2".replace(/\d/, function (d) { return d * 2; }));
// With g every match is replaced, the state ending on the last.
all = new RegExp("(\\d)", "g");
println(all.replace("a1b2c3", "<$1>") + " " + all.index + " " + all.$1);
