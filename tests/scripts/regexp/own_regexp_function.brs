// A script's own function named RegExp: the texts' methods given a regular-expression value keep
// the built-in class, while the value's own methods are called on what that function makes.
println(/a/.test("a") + " " + "a-b".replace(/-/, "+"));
function run() {
  var made = "";
  var RegExp = function (p) { made += "(" + p + ")"; this.test = function (s) { return "own test of " + s; }; };
  println("abc".replace(/b/, "x") + " " + "a,b".split(/,/).length + " " + "abc".match(/c/) + " " + "abc".search(/c/));
  println("made: " + made);
  println(/b/.test("abc"));
  println(/d/.test("abc"));
  println("made: " + made);
}
run();
println(/b/.test("abc") + " " + "abc".replace(/b/, "y"));
