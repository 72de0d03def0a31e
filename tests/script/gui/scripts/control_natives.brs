// The control and window-control methods of a script-built form.
var f = new VCLForm();
f.ClientWidth = 200; f.ClientHeight = 100;
var a = new VCLButton(f); a.Name = "A"; a.setBounds(10, 10, 50, 20);
var b = new VCLLabel(f);  b.Name = "B"; b.setBounds(100, 10, 50, 20);
var c = new VCLEdit(5);
println(f.containsControl(a) + " " + f.containsControl(c) + " " + f.containsControl(5));
println((f.findChildControl("B") === b) + " " + f.findChildControl("none"));
println((f.controlAtPos({x: 110, y: 15}, false) === b) + " " + f.controlAtPos({x: 15, y: 15}, false) + " "
        + (f.controlAtPos({x: 15, y: 15}, false, true) === a));
b.Enabled = false;
println(f.controlAtPos({x: 110, y: 15}, false) + " " + (f.controlAtPos({x: 110, y: 15}, true) === b));
f.flipChildren(false);
println(a.Left + " " + b.Left);
c.parent = f;
println(f.ControlCount + " " + (c.parent === f) + " " + (f.controls(2) === c));
c.parent = null;
println(f.ControlCount + " " + c.hasParent());
a.Caption = "four";
println(a.perform(14, 0, 0) + " " + a.perform(1234, 0, 0));
a.perform(24, 0, 0);
println(a.Visible);
a.show(); a.bringToFront();
println(f.controls(f.ControlCount - 1) === a);
a.sendToBack();
println(f.controls(0) === a);
println(f.handle != 0 && f.handleAllocated());
try { f.controls(9); } catch (e) { println("controls(9): " + e); }
try { f.clientToScreen(3); } catch (e) { println("clientToScreen(3): " + e); }
try { a.parent = b; } catch (e) { println("label as parent: " + e); }
f.controls(9);
