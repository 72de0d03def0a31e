// brs has no windows: a script that makes one learns that brsw runs it.
println("before");
var f = new VCLForm(true);
println("not reached");
