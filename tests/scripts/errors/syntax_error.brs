println("never runs");
if a then b;
