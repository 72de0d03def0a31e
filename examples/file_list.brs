// A reading list: pick text files with the open dialog, keep them in a list, sort it, and look
// into the one selected. It shows list boxes, a combo box, the open dialog, and actions: each
// command is one action that a button and a menu item share, and whose onUpdate keeps it enabled
// only when it can run.
// Run it with:  brsw examples/file_list.brs [FOLDER]
var form = new VCLForm(true);
form.Caption = "Reading list";
form.ClientWidth = 560;
form.ClientHeight = 360;

// The commands.
var addFiles = new VCLAction();
addFiles.Caption = "&Add files...";
addFiles.Hint = "Add text files to the list";
var removeFile = new VCLAction();
removeFile.Caption = "&Remove";
var clearList = new VCLAction();
clearList.Caption = "&Clear";

// The menu offers every command.
var menu = new VCLMainMenu();
var fileMenu = new VCLMenuItem();
fileMenu.Caption = "&List";
menu.items.add(fileMenu);
form.Menu = menu;
var commands = [addFiles, removeFile, clearList];
for (var i = 0; i < commands.length; i++) {
  var item = new VCLMenuItem();
  item.action = commands[i];
  fileMenu.add(item);
}

// So do the buttons along the top, and the sort order beside them.
var buttons = [];
for (var i = 0; i < commands.length; i++) {
  var b = new VCLButton(form);
  b.setBounds(8 + i * 104, 8, 96, 28);
  b.action = commands[i];
  buttons.push(b);
}
var sortBy = new VCLComboBox(form);
sortBy.setBounds(330, 10, 222, 24);
sortBy.Style = "csDropDownList";
sortBy.Items.add("In the order added");
sortBy.Items.add("By name");
sortBy.Items.add("By size, largest first");
sortBy.ItemIndex = 0;

// The files on the left, the first lines of the selected one on the right.
var files = new VCLListBox(form);
files.setBounds(8, 44, 260, 284);
var preview = new VCLListBox(form);
preview.setBounds(276, 44, 276, 284);
var status = new VCLLabel(form);
status.setBounds(8, 336, 544, 20);

var dialog = new VCLOpenDialog();
dialog.Title = "Add text files";
dialog.Filter = "Text files|*.txt;*.md|All files|*.*";
dialog.Options = "ofAllowMultiSelect,ofFileMustExist,ofHideReadOnly";
if (arguments.length > 0) dialog.InitialDir = arguments[0];

// Every file added, in the order added: its path and its size.
var entries = [];

function baseName(path) { return path.substring(path.lastIndexOf("/") + 1); }

function showList() {
  var shown = entries.slice(0);
  if (sortBy.ItemIndex == 1)
    shown.sort(function(a, b) { var x = baseName(a.path), y = baseName(b.path); return x < y ? -1 : x > y ? 1 : 0; });
  else if (sortBy.ItemIndex == 2)
    shown.sort(function(a, b) { return b.size - a.size; });
  files.Items.clear();
  for (var i = 0; i < shown.length; i++) files.Items.add(shown[i].path);
  preview.Items.clear();
  status.Caption = entries.length + " file(s)";
}

function entryOf(path) {
  for (var i = 0; i < entries.length; i++) if (entries[i].path == path) return i;
  return -1;
}

addFiles.onExecute = function(sender) {
  if (!dialog.execute()) return;
  var added = 0;
  for (var i = 0; i < dialog.Files.count; i++) {
    var path = dialog.Files[i];
    if (entryOf(path) >= 0) continue;
    var lines = new Strings();
    lines.loadFromFile(path);
    entries.push({path: path, size: lines.text.length, lines: lines});
    added++;
  }
  showList();
  status.Caption = "Added " + added + ", " + entries.length + " file(s) in the list";
};
// Only when a file is selected.
removeFile.onUpdate = function(sender) { removeFile.Enabled = files.ItemIndex >= 0; };
removeFile.onExecute = function(sender) {
  entries.splice(entryOf(files.Items[files.ItemIndex]), 1);
  showList();
};
// Only when there is something to clear.
clearList.onUpdate = function(sender) { clearList.Enabled = entries.length > 0; };
clearList.onExecute = function(sender) {
  entries = [];
  showList();
};
sortBy.onChange = function(sender) { showList(); };

// The first lines of the file selected.
files.onClick = function(sender) {
  preview.Items.clear();
  if (files.ItemIndex < 0) return;
  var entry = entries[entryOf(files.Items[files.ItemIndex])];
  for (var i = 0; i < entry.lines.count && i < 20; i++) preview.Items.add(entry.lines[i]);
  status.Caption = baseName(entry.path) + ": " + entry.lines.count + " line(s)";
};

showList();
form.show();
eventLoop();
