// Tree view sorting beside the list view's: fills a shown tree view with 100,000 sibling nodes and a
// list view with 100,000 items of the same texts, in the same scrambled order, and times
// `alphaSort` on both: without a script comparer (then once more on the sorted result), and,
// after filling both afresh, with a script comparer (onCompare) ordering by the texts.
// Prints each figure and the tree's time as a multiple of the list's. Run by bench/gui/treeview.
var count = arguments.length > 0 ? parseInt(arguments[0]) : 100000;
var form = new VCLForm(true);
form.setBounds(0, 0, 640, 480);
var tv = new VCLTreeView(form);
tv.setBounds(0, 0, 300, 440);
var lv = new VCLListView(form);
lv.setBounds(320, 0, 300, 440);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
form.show();

function text(i) { return "file" + (1000000 + (i * 7919) % count); }

function fill() {
  tv.Items.clear();
  lv.items.clear();
  var nodes = tv.Items;
  nodes.beginUpdate();
  for (var i = 0; i < count; i++) nodes.add(null, text(i));
  nodes.endUpdate();
  var items = lv.items;
  items.beginUpdate();
  for (var i = 0; i < count; i++) items.add().Caption = text(i);
  items.endUpdate();
  doEvents();
}

function timed(sort) {
  var start = new Date().getTime();
  sort();
  return new Date().getTime() - start;
}

function checkOrder() {
  var prev = null, bad = 0;
  for (var n = tv.Items.getFirstNode(); n != null; n = n.getNextSibling()) {
    if (prev != null && prev > n.Text) bad++;
    prev = n.Text;
  }
  for (var i = 1; i < count; i += count / 100) {
    if (lv.items[i - 1].Caption > lv.items[i].Caption) bad++;
  }
  if (bad > 0) println("not sorted: " + bad + " places");
}

function report(name, list, tree) {
  var ratio = list > 0 ? Math.round(tree * 100 / list) / 100 : 0;
  println(name + "list " + list + " ms, tree " + tree + " ms (tree/list " + ratio + ")");
}

fill();
var lvPlain = timed(function() { lv.alphaSort(); });
var tvPlain = timed(function() { tv.alphaSort(); });
var lvSorted = timed(function() { lv.alphaSort(); });
var tvSorted = timed(function() { tv.alphaSort(); });
checkOrder();

var compares = 0;
function byText(x, y) { compares++; return x < y ? -1 : x > y ? 1 : 0; }
lv.onCompare = function(sender, a, b, data, result) { result.int = byText(a.Caption, b.Caption); };
tv.onCompare = function(sender, a, b, data, result) { result.int = byText(a.Text, b.Text); };
fill();
var lvScript = timed(function() { lv.alphaSort(); });
var lvCompares = compares;
compares = 0;
var tvScript = timed(function() { tv.alphaSort(); });
var tvCompares = compares;
checkOrder();

println("items:                     " + lv.items.Count + " list items, " + tv.Items.Count + " tree nodes");
report("alphaSort:                 ", lvPlain, tvPlain);
report("alphaSort, already sorted: ", lvSorted, tvSorted);
report("alphaSort, script comparer: ", lvScript, tvScript);
println("script comparisons:        list " + lvCompares + ", tree " + tvCompares);
form.close();
