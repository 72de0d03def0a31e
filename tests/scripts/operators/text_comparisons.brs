// Texts compared as parameters (read where they lie) and as other values answer alike: number
// texts compare as numbers when both sides are numbers, other texts byte by byte.
function inPlace(a, b) {
  return (a < b ? "<" : "") + (a > b ? ">" : "") + (a <= b ? "l" : "") + (a >= b ? "g" : "") +
         (a == b ? "=" : "") + (a != b ? "!" : "") + (a === b ? "s" : "") + (a !== b ? "n" : "");
}
function general(pair) {
  var a = pair[0];
  var b = pair[1];
  return (a < b ? "<" : "") + (a > b ? ">" : "") + (a <= b ? "l" : "") + (a >= b ? "g" : "") +
         (a == b ? "=" : "") + (a != b ? "!" : "") + (a === b ? "s" : "") + (a !== b ? "n" : "");
}
pairs = [["10", "9"], ["10", "9a"], ["$10", "9"], ["", "a"], ["a", ""], ["", ""], ["abc", "abd"],
         ["ab", "abc"], ["x", "x"], [" 5", "40"], ["-1", "1x"], ["é", "e"], ["1.0", "1"]];
out = "";
for (var i = 0; i < pairs.length; i++) {
  var p = pairs[i];
  var here = inPlace(p[0], p[1]);
  out += here + (here == general(p) ? " " : "(differs) ");
}
println(out);
// In the condition of an if and of a loop too.
function count(a, b) { var n = 0; if (a < b) n++; while (a > b && n < 3) n++; return n; }
println(count("b", "a") + " " + count("a", "b") + " " + count("2", "10"));

// The condition of ?: is decided before either branch runs, once; only the branch taken runs.
log = "";
function note(v) { log += v; return v; }
function pick(a, b) { return note(a) < note(b) ? note("t") : note("f"); }
r = pick("a", "b");
r += pick(2, 1);
println(r + " " + log);
function broken(a) { return missingName < note(a) ? note("t") : note("f"); }
try { broken("z"); } catch (err) { println("raised " + log); }
