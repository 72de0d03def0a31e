// The system objects on the console host: no window system, a clipboard of its own, dialogs that
// nobody answers.
println(Win32.sleep() === Win32);
println(Win32.sleep(1) === Win32);
var t = Win32.getTickCount();
println(typeof(t) + " " + (Win32.getTickCount() - t >= 0));
println(Win32.winExec("no-such-program-anywhere --flag"));
println(Win32.shellExecute("print", "notes.txt"));
try { Win32.winExec(); } catch (e) { println("winExec: " + e); }
try { Win32.shellExecute("open"); } catch (e) { println("shellExecute: " + e); }

println(Keyboard.isDown("A") + " " + Keyboard.isDown(16) + " " + typeof(Keyboard.isDown()) + " " + typeof(Keyboard.isDown(0)));
println(Keyboard.alt + " " + Keyboard.ctrl + " " + Keyboard.shift);
println(Mouse.lbutton + " " + Mouse.mbutton + " " + Mouse.rbutton + " " + Mouse.x + " " + Mouse.y);

println(Clipboard.hasText() + " [" + Clipboard.asText + "]");
Clipboard.asText = "copied テキスト";
println(Clipboard.hasText() + " [" + Clipboard.asText + "] [" + Clipboard + "]");
var c = new Clipboard();
println(c.asText);

var d = new Dialog(" Text|*.txt ", "All|*.*");
println(d.filters.count + " " + d.filters[0] + "," + d.filters[1]);
d.filters.add("Logs|*.log");
println(d.filters.length);
println(d.openFile("Pick one") + " " + d.saveFile() + " " + d.openFolder("Where"));
println(d.openFiles().length);
println(Dialog.filters.length);
