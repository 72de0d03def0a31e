// The members of Global are plain names everywhere; so are members it is given later.
Global.added = "added";
println(added);
added = "changed";
println(Global.added);
function inside() { return added + " inside"; }
println(inside());
println(typeof(Global.print) + " " + typeof(print));
println(this == Global);
