// A repeated text beyond the limit is refused with the size it would have had.
println("ab".multiply(3));
x = "ab".multiply(2000000000);
