// A negative index is refused; the message is the index as written.
a = [1];
println(a[-3]);
