// A returned function keeps a snapshot of the variables of the scope it left.
function make(n) { var hidden = n * 10; return function() { return hidden + n; }; }
f = make(1);
g = make(2);
println(f() + " " + g());
// The snapshot is taken at the return, not where the function was written.
function later() { var v = "old"; var h = function() { return v; }; v = "new"; return h; }
println(later()());
// A function that is not returned looks its names up in the newest running call of its creator.
function outer(x, f) {
  var mine = function() { return x; };
  if (f) return f();
  return outer(x + 1, mine);
}
println(outer(1, null));
// A function stored elsewhere captures nothing.
function store() { var secret = "s"; holder = function() { return secret; }; }
store();
try { holder(); } catch (e) { println("stored: " + e); }
