// A comparer must be a script function.
[2, 1].sort("not a function");
