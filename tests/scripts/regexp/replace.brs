// RegExp.replace: the template forms $n, ${n}, $& and escapes with a backslash.
re = new RegExp("(\\w+)@(\\w+)", "g");
println(re.replace("ann@home bob@work", "$2:$1") + " " + re.replace("x@y", "${1}1 [$&] \\$1"));
// Without a global flag only the first match goes; no match leaves the text as it is.
one = new RegExp("o");
println(one.replace("foo", "0") + " " + one.replace("bar", "0"));
// Without arguments the result is empty; without a replacement the template is "undefined".
println("[" + one.replace() + "] " + one.replace("foo"));
// An empty match between every character.
println(new RegExp("x*", "g").replace("abc", "-"));
// A function replacement is called with this = the RegExp, and its result is converted to text.
re.tag = "T";
println(re.replace("a@b c@d", function(m, user, host, pos, input) { return this.tag + pos + user.toUpperCase() + host; }));
// The state after a replace describes the last match.
println(re.index + " " + re.lastIndex + " " + re.lastMatch + " " + re.$1 + " " + re.input);
// An error in the function reaches the caller; the RegExp stays usable.
try {
  re.replace("a@b", function() { throw "stop"; });
  println("not reached");
} catch (e) {
  println("caught " + e);
}
println(re.replace("k@l", "ok"));
// A function that replaces with the same RegExp inside the callback, and one that changes the
// pattern while the replace runs: the running replace keeps its pattern.
nested = new RegExp("a", "g");
println(nested.replace("aXa", function(m) { return "(" + nested.replace("aa", "b") + ")"; }));
changing = new RegExp("o", "g");
println(changing.replace("foo boo", function(m) { changing.source = "b"; return "0"; }) + " " + changing);
// An invalid pattern gives an empty text.
println("[" + new RegExp("(a").replace("aaa", "b") + "]");
