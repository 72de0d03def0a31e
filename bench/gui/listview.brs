// List view at scale: fills a report-style list view with 100,000 items (a caption and one
// sub-item each) from the script, then sorts it twice through a script comparer (onCompare):
// by caption, then by the number in the sub-item. Prints how long each step took. Run by
// bench/gui/listview (brsw on the offscreen platform).
var count = arguments.length > 0 ? parseInt(arguments[0]) : 100000;
var form = new VCLForm(true);
form.setBounds(0, 0, 640, 480);
var lv = new VCLListView(form);
lv.setBounds(0, 0, 620, 440);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
lv.column.add().Caption = "Size";

var start = new Date().getTime();
var items = lv.items;
items.beginUpdate();
for (var i = 0; i < count; i++) {
  var item = items.add();
  item.Caption = "file" + (1000000 + (i * 7919) % count);
  item.SubItems.add("" + (i * 104729) % count);
}
items.endUpdate();
var filled = new Date().getTime();

var compares = 0;
lv.onCompare = function(sender, a, b, data, result) {
  compares++;
  var x = a.Caption, y = b.Caption;
  result.int = x < y ? -1 : x > y ? 1 : 0;
};
lv.alphaSort();
var byCaption = new Date().getTime();
var captionCompares = compares;

compares = 0;
lv.onCompare = function(sender, a, b, data, result) {
  compares++;
  result.int = parseInt(a.SubItems[0]) - parseInt(b.SubItems[0]);
};
lv.alphaSort();
var bySize = new Date().getTime();

for (var i = 1; i < count; i += count / 100) {
  if (parseInt(items[i - 1].SubItems[0]) > parseInt(items[i].SubItems[0])) println("not sorted at " + i);
}
println("items:              " + items.Count);
println("fill:               " + (filled - start) + " ms");
println("sort by caption:    " + (byCaption - filled) + " ms (" + captionCompares + " script comparisons)");
println("sort by sub-item:   " + (bySize - byCaption) + " ms (" + compares + " script comparisons)");
