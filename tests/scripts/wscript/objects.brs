// Automation objects through WScript: unknown identifiers fail as ActiveXObject does.
try { WScript.CreateObject("No.Such.Server"); } catch (e) { println(e); }
WScript.ConnectObject(5, "x_"); WScript.DisconnectObject("text");
println(typeof WScript.CreateObject);
