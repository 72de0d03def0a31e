// A name that was never declared, or a member an object does not have, raises ENameError:
// there is no silent `undefined` to read.
var box = { width: 3 };
try {
  println(box.height);
} catch (e) {
  println("box.height: " + e);
}
try {
  println(heigth);
} catch (e) {
  println("heigth: " + e);
}
// A declared variable without a value holds 0, not undefined.
var count;
println("count = " + count);
// `undefined` is a reserved word; ask with isUndefined() and isNull().
println(isNull(null) + " " + isUndefined(box));
