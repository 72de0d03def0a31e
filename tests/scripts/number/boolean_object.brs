// A Boolean holds the truth of its argument: only empty texts, 0 and nothing are false.
function show(b) { println(b.toString() + " " + b.valueOf() + " " + b.bool + " " + typeof b.valueOf()); }
show(new Boolean());
show(new Boolean(""));
show(new Boolean("0"));
show(new Boolean(0));
show(new Boolean(0.5));
show(new Boolean(2));
show(new Boolean(new Object()));

b = new Boolean(true);
b.bool = false;
show(b);
// In a condition a Boolean object counts by its value.
if (new Boolean(false)) println("wrong"); else println("false is false");
println((new Boolean(true) + 1) + " " + (new Boolean(true) == true) + " " + (new Boolean(false) == 0));
