// apply takes its arguments as an array; anything else is an error that names the function.
function f(a) { return a; }
println(f.apply(null, [7]));
f.apply(null, 5);
