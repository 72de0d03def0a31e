// A throw no try takes ends the script from however deep it started; a finally on the way runs
// first, and the report names the line reached last.
function inner(n) { if (n == 0) { throw "deep"; } return inner(n - 1) * 2; }
function outer() {
  try { return 1 + inner(5); } finally { println("finally ran"); }
}
println(outer());
