throw "the message is not shown";
println("not reached");
