// A tool bar, a spin edit and an up-down described in a form: the bar's buttons are its items,
// each reached through its one wrapper; the spin edit keeps its value in range; the up-down shows
// its position in the edit beside it; the whole form saves back to the same description.
var f = new VCLForm();
f.loadFromText(
  "object Main: TForm\n" +
  "  object Bar: TToolBar\n" +
  "    ButtonWidth = 40\n" +
  "    ShowCaptions = True\n" +
  "    object NewButton: TToolButton\n      Caption = 'New'\n    end\n" +
  "    object Gap: TToolButton\n      Style = tbsDivider\n    end\n" +
  "    object BoldButton: TToolButton\n      Caption = 'Bold'\n      Style = tbsCheck\n    end\n" +
  "  end\n" +
  "  object Size: TSpinEdit\n    Top = 40\n    MaxValue = 72\n    MinValue = 6\n    Value = 10\n    Increment = 2\n  end\n" +
  "  object Copies: TEdit\n    Top = 70\n    Width = 40\n  end\n" +
  "  object CopiesUpDown: TUpDown\n    Associate = Copies\n    Min = 1\n    Max = 9\n    Position = 2\n  end\n" +
  "end\n");
println(f.Bar.ButtonCount + " buttons in " + f.Bar.RowCount + " row");
for (var i in f.Bar) println(i + ": " + f.Bar[i].Name + " " + f.Bar[i].Style + " at " + f.Bar[i].Left + " index " + f.Bar[i].Index);
println(f.Bar.buttons(2) === f.BoldButton);
println(f.Bar.buttons(3));
println(f.Bar.trackMenu(f.NewButton));
f.Size.Value = 100;
println("size " + f.Size.Value);
f.Size.Value = 1;
println("size " + f.Size.Value);
println("copies " + f.Copies.Text + " position " + f.CopiesUpDown.Position + " at " + f.CopiesUpDown.Left);
f.CopiesUpDown.Position = 20;
println("copies " + f.Copies.Text);
var text = f.saveToText();
var g = new VCLForm();
g.loadFromText(text);
println(g.saveToText() == text);
println(g.CopiesUpDown.Associate === g.Copies);
// The form's own lines depend on the desktop's font; the controls' do not.
print(text.substring(text.indexOf("  object Bar")));
new VCLToolBar().buttons();
