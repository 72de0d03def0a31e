@set @VERSION7 = true
// A form read from a description beside the script, with a page control of three sheets holding
// controls and a status bar with panels: paging through it from the script (a change the script
// refuses keeps the page), the panels' wrappers, and the description saved back.
var f = new VCLForm();
f.loadFromFile("pages_status.dfm");
var pc = f.Pages, sb = f.Status;
println(pc.PageCount + " pages, active " + pc.ActivePageIndex + " (" + pc[0].Name + "), " + f.Pattern.Text + " on " + f.Pattern.parent.Caption);
for (var page in pc) println(page.PageIndex + " " + page.TabIndex + " " + page.Caption + " " + page.Visible + " " + (page.PageControl === pc));

pc.onChanging = function(sender, allow) {
  println("changing from " + pc.ActivePageIndex);
  allow.bool = pc.ActivePageIndex != 1;
};
pc.onChange = function(sender) {
  sb.panels[0].Text = pc[pc.ActivePageIndex].Caption;
  println("now on " + sb.panels[0].Text);
};
pc.selectNextPage(true);
pc.selectNextPage(true);
println("still on " + pc.ActivePageIndex);
pc.ActivePageIndex = 2;
println("set to " + pc.ActivePageIndex + ", status " + sb.panels[0].Text);
println(pc.findNextPage(pc[2], true, true).Caption + " " + pc.findNextPage(pc[0], false, true).Caption + " " + pc.findNextPage(pc[0], false, false).Caption);
f.Log.TabVisible = true;
println(f.Log.TabIndex + " " + pc.findNextPage(pc[0], false, true).Caption);

var p = sb.panels[0], texts = "";
for (var panel in sb.panels) texts += "[" + panel.Text + "]";
println(sb.panels.Count + " panels " + texts + " " + (sb.panels[0] === p) + " " + (sb.panels[2] === null));

var text = f.saveToText();
print(text.substring(text.indexOf("  object Pages")));
var g = new VCLForm();
g.loadFromText(text);
println((g.saveToText() == text) + " " + g.Pages.ActivePageIndex + " " + g.Status.panels[0].Text);

sb.panels.assign(g.Status.panels);
println(sb.panels.Count + " panels after assign, first " + sb.panels[0].Text);
p.Text = "gone";
