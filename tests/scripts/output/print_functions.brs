print(1, "a", true);
print("\n");
println(1, "a");
write("w");
writeln("", "x");
// "\n" in a double-quoted string is CR LF (the literal below holds a real CR LF).
println("\n" == "
");
println(print("last", "\n"));
println(scriptEngine() + " " + scriptEngineVersion() + " " + scriptEngineMajorVersion() + " " +
        scriptEngineMinorVersion() + " " + scriptEngineBuildVersion());
println("'" + 'single\n' + "'");
println("霧の灯台");
