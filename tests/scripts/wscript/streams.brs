// The standard streams, Echo and Quit.
var o = WScript.StdOut, e = WScript.StdErr, i = WScript.StdIn;
o.Write("one"); o.Write(""); o.Write(); o.WriteLine(" two"); o.WriteLine();
o.WriteBlankLines(2); o.WriteBlankLines(0); o.WriteBlankLines(-1);
o.WriteLine("|" + o.Column + " " + o.Line + " " + i.AtEndOfLine); println(o.Close());
e.WriteLine("to the error stream");
println(i.ReadLine());
println(i.Read(3));
println("[" + i.ReadLine() + "]");
println(i.Skip(1)); println(i.SkipLine());
println("rest: " + i.ReadAll().length);
try { i.ReadLine(); } catch (x) { println("caught " + x); }
WScript.Echo("echo", 1, true, "  ");
WScript.Echo();
WScript.Sleep(0);
WScript.Quit(3);
println("not reached");
