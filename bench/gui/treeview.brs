// Tree view at scale: fills a shown tree view with 100,000 nodes from the script (a hundredth of
// them top-level, each with its children), expands every node, lets the window catch up and
// prints how long each step took. Run by bench/gui/treeview (brsw on the offscreen platform).
var count = arguments.length > 0 ? parseInt(arguments[0]) : 100000;
var form = new VCLForm(true);
form.setBounds(0, 0, 640, 480);
var tv = new VCLTreeView(form);
tv.setBounds(0, 0, 620, 440);
form.show();

var start = new Date().getTime();
var nodes = tv.Items;
var perParent = 100;
var parent = null;
for (var i = 0; i < count; i++) {
  if (i % perParent == 0) parent = nodes.add(null, "folder " + i);
  else nodes.addChild(parent, "file " + i);
}
var filled = new Date().getTime();
tv.fullExpand();
var expanded = new Date().getTime();
tv.Selected = nodes.item(nodes.Count - 1);
doEvents();
var shown = new Date().getTime();

var checked = 0;
for (var n = nodes.getFirstNode(); n != null; n = n.getNextSibling()) checked += 1 + n.Count;
println("nodes:    " + nodes.Count + " (" + checked + " counted)");
println("fill:     " + (filled - start) + " ms");
println("expand:   " + (expanded - filled) + " ms");
println("show:     " + (shown - expanded) + " ms (select the last node, scroll to it, paint)");
println("total:    " + (shown - start) + " ms");
form.close();
