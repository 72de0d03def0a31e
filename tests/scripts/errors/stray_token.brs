println("never runs");
}
println("never runs either");
