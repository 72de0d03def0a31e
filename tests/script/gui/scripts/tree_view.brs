// A tree view on a shown form: nodes added in every way, walked, moved and sorted; expansion,
// selection and editing with their events (one expansion refused); a paint that runs the
// custom-draw handlers; the script ends on an index outside the tree.
var form = new VCLForm(true);
form.setBounds(0, 0, 300, 240);
var tv = new VCLTreeView(form);
tv.setBounds(0, 0, 280, 200);
var items = tv.Items;

function shape() {
  var t = [];
  for (var i = 0; i < items.Count; i++) {
    var n = items.item(i);
    var pad = "";
    for (var l = 0; l < n.Level; l++) pad += "  ";
    t.push(pad + n.Text + (n.Expanded ? " (open)" : ""));
  }
  return t.join("\n");
}

var fruit = items.add(null, "fruit");
var veg = items.add(null, "vegetables");
items.addChild(fruit, "pear");
items.addChildFirst(fruit, "apple");
items.addChildObject(fruit, "cherry", {colour: "red"});
items.addChild(veg, "leek");
items.insert(veg, "nuts");
println(shape());
println("count " + items.Count + ", cherry is " + fruit[2].Data.colour + ", level " + fruit[2].Level);

tv.onExpanding = function(sender, node, allow) {
  println("expanding " + node.Text);
  allow.bool = node.Text != "vegetables";
};
tv.onExpanded = function(sender, node) { println("expanded " + node.Text); };
tv.onChanging = function(sender, node, allow) { println("changing to " + node.Text); };
tv.onChange = function(sender, node) { println("selected " + node.Text); };
tv.onEditing = function(sender, node, allow) { println("editing " + node.Text); };
tv.onEdited = function(sender, node, text) {
  println("edited " + node.Text + " -> " + text);
  text.str = text.str.toLowerCase();
};
tv.onDeletion = function(sender, node) { println("deleting " + node.Text); };

fruit.expand(false);
veg.Expanded = true;
println("vegetables open: " + veg.Expanded);
tv.Selected = fruit[1];
println("selected is pear: " + (tv.Selected === fruit[1]));

fruit[0].editText();
fruit[0].endEdit(false);
println("apple is now " + fruit[0].Text);

tv.onCompare = function(sender, a, b, data, result) {
  result.int = a.Text < b.Text ? 1 : a.Text > b.Text ? -1 : 0;
};
tv.alphaSort();
println(shape());
tv.onCompare = null;

items.item(items.Count - 1).moveTo(fruit, "naAddChildFirst");
fruit.getLastChild().delete();
println(shape());

var painted = 0;
tv.onCustomDrawItem = function(sender, node, state, def) { painted++; };
form.show();
doEvents();
tv.repaint();
println("rows painted: " + (painted > 0));

println(items.item(items.Count));
