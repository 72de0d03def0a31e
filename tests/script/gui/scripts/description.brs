// A form read from a description file beside the script: its named controls are properties of the
// form, a saved description reads back to the same tree, and a missing file is an error.
var f = new VCLForm();
f.loadFromFile("lib_dialog.dfm");
println(f.Caption + " " + f.ComponentCount);
println(f.NameEdit.Text + " " + f.OkButton.Caption + " " + f.OkButton.ModalResult + " " + f.Note.Caption);
f.OkButton.onClick = function() { f.Note.Caption = "hello " + f.NameEdit.Text; };
f.NameEdit.Text = "World";
f.OkButton.click();
println(f.Note.Caption);
var text = f.saveToText();
var g = new VCLForm();
g.loadFromText(text);
println((g.saveToText() == text) + " " + g.NameEdit.Text + " " + g.components(2).Name);
try { g.loadFromText(text); } catch (e) { println("second load: " + e); }
f.loadFromFile("no_such.dfm");
