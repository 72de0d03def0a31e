// A form with controls made by a script: properties pass through, handlers run, errors name the
// framework class.
var f = new VCLForm(true);
f.Caption = "Basics";
f.setBounds(20, 30, 300, 200);
println(f.Caption + " " + f.Left + " " + f.Top + " " + f.Width + " " + f.main);
var b = new VCLButton(f);
b.Caption = "Push";
var l = new VCLLabel(f);
var n = 0;
b.onClick = function(sender) { n++; l.Caption = "clicked " + n + " " + sender.Caption; };
b.click();
b.click();
println(l.Caption + " " + f.ControlCount + " " + (b.parent === f) + " " + b.hasParent());
b.Tag = 42;
println(b.Tag + " " + b.VCLclassName + " " + l.VCLclassName);
var p = b.clientToScreen({x: 1, y: 2});
println(p.x + "," + p.y);
var c = new VCLCheckBox(f);
c.onClick = function() { println("check box clicked, checked " + c.Checked); };
c.Checked = true;
var e = new VCLEdit(f);
e.Text = "abc";
e.selectAll();
println(e.SelText + " " + e.SelLength);
f.show();
f.close();
println("terminated " + terminated);
b.clientToScreen(5);
