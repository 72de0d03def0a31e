// Run with: brs hello.brs Ada Lovelace
// Every statement ends with ";". `arguments` holds what follows the file name.
println("Hello from " + scriptEngine() + " " + scriptEngineVersion() + "!");
for (var i = 0; i < arguments.length; i++) {
  println("argument " + i + ": " + arguments[i]);
}
