// An index outside the text is reported with the index as its message.
s = new String("abc");
println(s[-3]);
println(s[3]);
