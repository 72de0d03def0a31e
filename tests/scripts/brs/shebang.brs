#!/usr/bin/env brs
println("shebang skipped");
x = missingOnLineThree;
