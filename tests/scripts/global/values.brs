// Value tests.
u = [][0];
println(isNull(null) + " " + isNull(u) + " " + isNull(0) + " " + isNull());
println(isUndefined(u) + " " + isUndefined(null) + " " + isUndefined() + " " + isUndefined(""));
println(nameOf([]) + " " + nameOf(new Date()) + " " + nameOf(Math) + " " + nameOf(5) + " " + nameOf("Array") + " " + nameOf());

// eval runs the text as a function body in the caller's scope and answers its value.
function local() { n = 5; return eval("n * 2"); }
println(eval("1 + 2") + " " + local() + " " + (typeof eval()));
eval("evaluated = 'set'");
println(evaluated);

// The engine's name and version.
println(scriptEngine() + " " + scriptEngineVersion() + " " + scriptEngineMajorVersion() + " " + scriptEngineMinorVersion() + " " + scriptEngineBuildVersion());
println((typeof scriptEngineMinorVersion()) + " " + isConsole());

// The published properties.
println(platform + " " + applicationHandle + " " + mainFormHandle + " " + nameOf(finalizer) + " " + finalizer.length);
println(nameOf(arguments) + " " + arguments.length + " " + arguments[0] + " " + arguments[1]);

// The event-loop switch; sleeping answers the Global object.
println(terminated);
eventLoop();
println(terminated);
terminate();
println(terminated + " " + (typeof doEvents()));
println(nameOf(sleep(1)) + " " + nameOf(sleep(-1)) + " " + nameOf(sleep()));
