// The arguments table: the first "/name:value" anywhere in an argument names it, anything else is unnamed.
var a = WScript.Arguments;
println(a.Count + " " + a.length + " " + a.Unnamed.Count + " " + a.Named.Count + " " + a.Named.Length);
for (var i = 0; i < a.Count; i++) println(i + ": " + a.Item(i) + " | " + a[i]);
println("unnamed: " + a.Unnamed.join(" ; "));
var names = [];
for (var n in a.Named) names.push(n + "=" + a.Named.Item(n));
println("named: " + names.join(" ; "));
println(a.Named.Exists("x") + " " + a.Named.Exists("nothere") + " " + a.Named.Exists() + " " + a.Named.Item("x"));
println(a.Item() + " " + a.Unnamed.Item() + " " + a.Named.Item() + " " + a.Unnamed.Item(1));
println(a.ShowUsage()); println(WScript.GetObject("x"));
// The same values as the script's own arguments.
println(arguments.length == a.Count);
println(WScript.ScriptName + " " + WScript.Version + " " + WScript.Name + " " + WScript.Interactive);
WScript.Interactive = true;
println(WScript.Interactive + " " + (WScript.Path + WScript.Name == WScript.FullName));
println(WScript.ScriptFullName.substr(WScript.ScriptFullName.length - 23));
