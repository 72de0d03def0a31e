// A folder browser: the folders under a start folder as a tree (each folder read when it first
// opens), the files of the selected folder in a list with their sizes and dates (its columns
// can be dragged into another order), and a status bar that counts them. Run it with:  brsw examples/folder_browser.brs [FOLDER]
var start = new Directory(arguments.length > 0 ? arguments[0] : ".");

var form = new VCLForm(true);          // true: the main form; closing it ends the script
form.Caption = "Folders";
form.ClientWidth = 640;
form.ClientHeight = 400;
form.Position = "poScreenCenter";

var status = new VCLStatusBar(form);   // along the bottom edge
status.panels.add().Width = 160;
status.panels.add();

var tree = new VCLTreeView(form);
tree.Align = "alLeft";
tree.Width = 220;
tree.ReadOnly = true;

var splitter = new VCLSplitter(form);
splitter.Align = "alLeft";
splitter.Left = 230;

var files = new VCLListView(form);
files.Align = "alClient";
files.ViewStyle = "vsReport";
files.ReadOnly = true;
files.FullDrag = true;                 // the column headers can be dragged into another order
var column = files.column.add();
column.Caption = "Name";
column.Width = 200;
column = files.column.add();
column.Caption = "Size";
column.Width = 90;
column.Alignment = "taRightJustify";
column = files.column.add();
column.Caption = "Modified";
column.Width = 130;

// The names of the folders (or files) in a folder, sorted.
function entries(path, folders) {
  var dir = new Directory(path);
  var names = [];
  for (var name = folders ? dir.findFirstDir() : dir.findFirstFile(); name != null;
       name = folders ? dir.findNextDir() : dir.findNextFile()) {
    if (name != "." && name != "..") names.push(name);
  }
  dir.findClose();
  return names.sort();
}

// A folder's node: its full path in Data, a button while it may have subfolders.
function addFolder(parent, path, text) {
  var node = tree.Items.addChildObject(parent, text, {path: path, read: false});
  node.HasChildren = entries(path, true).length > 0;
  return node;
}

function two(n) { return (n < 10 ? "0" : "") + n; }
function when(date) {
  return date.getFullYear() + "-" + two(date.getMonth() + 1) + "-" + two(date.getDate()) + " " +
         two(date.getHours()) + ":" + two(date.getMinutes());
}

function showFiles(node) {
  var path = node.Data.path;
  var names = entries(path, false);
  var total = 0;
  files.items.beginUpdate();
  files.items.clear();
  for (var i = 0; i < names.length; i++) {
    var file = new File(path + names[i]);
    var item = files.items.add();
    item.Caption = names[i];
    item.SubItems.add("" + file.length);
    item.SubItems.add(when(file.lastModified));
    total += file.length;
  }
  files.items.endUpdate();
  status.panels[0].Text = names.length + (names.length == 1 ? " file" : " files") + ", " + total + " bytes";
  status.panels[1].Text = path;
}

// A folder's subfolders are read the first time it opens.
tree.onExpanding = function(sender, node, allow) {
  if (node.Data.read) return;
  node.Data.read = true;
  var names = entries(node.Data.path, true);
  for (var i = 0; i < names.length; i++) addFolder(node, node.Data.path + names[i] + "/", names[i]);
  node.HasChildren = names.length > 0;
  allow.bool = names.length > 0;
};
tree.onChange = function(sender, node) {
  if (node != null) showFiles(node);
};

var top = addFolder(null, start.dirname, start.dirname);
top.expand(false);
tree.Selected = top;
form.show();
eventLoop();                            // handle events until the main form closes
