// A list view in each view style: where the model lays its items out, what the hit tests and
// searches answer, the published properties and the events a script sees while it builds a list.
var f = new VCLForm();
f.ClientWidth = 300; f.ClientHeight = 200;
var lv = new VCLListView(f);
lv.setBounds(0, 0, 300, 200);
var log = [];
lv.onInsert = function(sender, item) { log.push("insert " + item.Index); };
lv.onChange = function(sender, item, change) { log.push("change " + item.Caption + " " + change); };
for (var i = 0; i < 10; i++) lv.items.add().Caption = "item" + i;
println(log.join("; "));
println(lv.ViewStyle + " " + lv.SortType + " " + lv.ColumnClick + " " + lv.OwnerData);

var styles = ["vsIcon", "vsSmallIcon", "vsList", "vsReport"];
lv.column.add().Caption = "Name";
lv.column.add().Caption = "Size";
for (var s = 0; s < styles.length; s++) {
  lv.ViewStyle = styles[s];
  var r = lv.items[5].displayRect("drBounds");
  var label = lv.items[5].displayRect("drLabel");
  var at = lv.getItemAt(r.left + 1, r.top + 1);
  var pos = lv.items[5].Position;
  println(styles[s] + ": bounds " + r.left + "," + r.top + "," + r.right + "," + r.bottom +
          " label " + label.left + "," + label.top + " at " + (at ? at.Caption : at) +
          " position " + pos.x + "," + pos.y + " rows " + lv.VisibleRowCount +
          " hit " + lv.getHitTestInfoAt(r.left + 1, r.top + 1));
}
println(lv.getHitTestInfoAt(-5, 10) + " | " + lv.getHitTestInfoAt(5, 500));
var bounds = lv.BoundingRect;
println("bounding " + bounds.left + "," + bounds.top + "," + bounds.right + "," + bounds.bottom);

for (var i = 10; i < 20; i++) lv.items.add().Caption = "item" + i;
lv.scroll(0, 34);
println("top " + lv.TopItem.Caption + " origin " + lv.ViewOrigin.y);
lv.items[9].makeVisible(false);
println("top " + lv.TopItem.Caption);
lv.items[19].makeVisible(false);
println("top " + lv.TopItem.Caption);
lv.scroll(0, 1700);
println("top " + lv.TopItem.Caption);
lv.items[0].makeVisible(true);
println("top " + lv.TopItem.Caption);

lv.ViewStyle = "vsIcon";
lv.items[2].Position = {x: 200, y: 120};
println("moved " + lv.items[2].Left + "," + lv.items[2].Top + " at " + lv.getItemAt(201, 121).Caption);
lv.arrange("arAlignTop");
println("arranged " + lv.items[2].Left + "," + lv.items[2].Top);

lv.ViewStyle = "vsReport";
lv.SortType = "stText";
lv.items[0].Caption = "zebra";
println("sorted " + lv.items[19].Caption + " " + lv.items[0].Caption + " " + lv.items[11].Caption);
lv.SortType = "stNone";
println(lv.stringWidth("") + " " + (lv.stringWidth("wide text") > lv.stringWidth("w")));
println(lv.getSearchString() + "|" + lv.isEditing() + " " + (lv.updateItems(0, 3) === lv));
println((lv.items.Handle == lv.handle) + " " + (lv.items[0].Handle == lv.handle));
println(lv.items[0].workArea() + " " + lv.items[0].VCLclassName + " " + lv.items.VCLclassName);
var c = lv.column.items(0);
c.Width = 10; c.MinWidth = 40;
println(c.Width + " " + lv.column.Count);
try { lv.items.delete(99); } catch (e) { println("delete(99): " + e); }
lv.items.Count = 2; // only an owner-data list takes a count
println(lv.items.Count);
