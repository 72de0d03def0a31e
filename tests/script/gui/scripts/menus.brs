// A window with a menu bar and a popup menu, built from a form description and from code;
// actions shared by a button and a menu item; menus found by command and merged.
var f = new VCLForm();
f.loadFromText(
  "object Main: TForm\n" +
  "  Caption = 'Menus'\n" +
  "  ClientHeight = 150\n" +
  "  ClientWidth = 320\n" +
  "  Menu = MainMenu1\n" +
  "  object MainMenu1: TMainMenu\n" +
  "    object File1: TMenuItem\n" +
  "      Caption = '&File'\n" +
  "      object New1: TMenuItem\n" +
  "        Caption = '&New'\n" +
  "        ShortCut = 16462\n" +
  "      end\n" +
  "      object N1: TMenuItem\n" +
  "        Caption = '-'\n" +
  "      end\n" +
  "      object Exit1: TMenuItem\n" +
  "        Caption = 'E&xit'\n" +
  "      end\n" +
  "    end\n" +
  "  end\n" +
  "end\n");
println(f.ClientHeight + " " + f.MainMenu1.items.Count + " " + f.File1.Count + " " + f.N1.isLine());
var log = [];
f.New1.onClick = function(sender) { log.push("new " + sender.Caption); };
f.Exit1.onClick = function(sender) { log.push("exit"); };
println(f.MainMenu1.dispatchCommand(f.New1.Command));
println(f.MainMenu1.findItem(16462, "fkShortCut") === f.New1);
println(f.MainMenu1.findItem(16462, "fkBogus"));
f.File1.items(2).click();
println(log.join(", "));

// An action shared by a button and a new menu item.
var save = new VCLAction();
save.Caption = "&Save";
save.onExecute = function(sender) { log.push("saved"); };
var saveItem = new VCLMenuItem();
saveItem.action = save;
f.File1.insert(1, saveItem);
var b = new VCLButton(f);
b.action = save;
println(b.Caption + " " + saveItem.Caption + " " + f.File1.indexOf(saveItem));
log = [];
b.click();
saveItem.click();
save.Enabled = false;
b.click();
println(log.join(", ") + " " + b.Enabled + " " + saveItem.Enabled);

// A popup menu made by code.
var pm = new VCLPopupMenu();
var copy = new VCLMenuItem();
copy.Caption = "Copy";
var paste = new VCLMenuItem();
paste.Caption = "Paste";
pm.items.add(copy, paste);
pm.onChange = function(sender, item, rebuild) { println("changed " + item.Caption + " " + rebuild); };
paste.Enabled = false;
println(pm.items.find("paste") === paste);

// Another main menu merged into the bar.
var extra = new VCLMainMenu();
var tools = new VCLMenuItem();
tools.Caption = "&Tools";
extra.items.add(tools);
println(f.MainMenu1.merge(extra) === f.MainMenu1);
println(f.MainMenu1.merge("nothing") === f.MainMenu1);

// The description written back keeps the menu and its items.
var text = f.saveToText();
println(text.indexOf("Menu = MainMenu1") > 0);
println(text.indexOf("object Exit1: TMenuItem") > 0);
var g = new VCLForm();
g.loadFromText(text);
println(g.File1.Count + " " + g.Exit1.Caption + " " + g.ClientHeight);
f.File1.items(9);
