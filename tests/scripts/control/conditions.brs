// Comparisons of parameters and constants in conditions, with integers, doubles and other kinds.
function cmp(a, b) {
  var s = "";
  if (a < b) s += "<"; else s += ".";
  if (a > b) s += ">"; else s += ".";
  if (a <= b) s += "l"; else s += ".";
  if (a >= b) s += "g"; else s += ".";
  if (a == b) s += "="; else s += ".";
  if (a != b) s += "!"; else s += ".";
  if (a === b) s += "s"; else s += ".";
  if (a !== b) s += "n"; else s += ".";
  return s;
}
println(cmp(1, 2) + " " + cmp(2, 1) + " " + cmp(3, 3));
println(cmp(3, 3.0 + 0) + " " + cmp(2.5, 2) + " " + cmp(1 - 1.5, 0));
println(cmp("10", 9) + " " + cmp("a", "b") + " " + cmp(true, 1));
function first(a) { if (a < 2) return "small"; if (a == 2) return "two"; return "big"; }
println(first(1) + " " + first(2) + " " + first(2.0 + 0) + " " + first(7) + " " + first("1"));
function count(n) { var k = 0; while (n > 0) { n = n - 1; k++; } do { k++; } while (n < 0); return k; }
println(count(3) + " " + count(0));
