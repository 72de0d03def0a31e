// List view at scale: fills a report-style list view with 100,000 items (caption and one
// sub-item each) from the script, then sorts it through a script comparer (onCompare), and
// prints how long each step took. Run by bench/gui/listview (brsw on the offscreen platform).
var count = arguments.length > 0 ? parseInt(arguments[0]) : 100000;
var form = new VCLForm(true);
form.setBounds(0, 0, 640, 480);
var lv = new VCLListView(form);
lv.setBounds(0, 0, 620, 440);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
lv.column.add().Caption = "Key";

var start = new Date().getTime();
var items = lv.items;
items.beginUpdate();
for (var i = 0; i < count; i++) {
  var item = items.add();
  var key = (i * 7919) % count;
  item.Caption = "item " + key;
  item.SubItems.add("" + key);
}
items.endUpdate();
var filled = new Date().getTime();

var compares = 0;
lv.onCompare = function(sender, a, b, data, result) {
  compares++;
  var x = parseInt(a.SubItems[0]), y = parseInt(b.SubItems[0]);
  result.int = x < y ? -1 : x > y ? 1 : 0;
};
lv.alphaSort();
var sorted = new Date().getTime();

for (var i = 1; i < count; i += count / 100) {
  if (parseInt(items[i - 1].SubItems[0]) > parseInt(items[i].SubItems[0])) println("not sorted at " + i);
}
println("items:   " + items.Count);
println("fill:    " + (filled - start) + " ms");
println("sort:    " + (sorted - filled) + " ms (" + compares + " comparisons through the script)");
