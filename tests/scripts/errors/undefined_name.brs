println("before");

x = 1 +
    missingName;
println("not reached");
