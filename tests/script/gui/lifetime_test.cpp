// How long the things a script builds live: a component the script puts into a parent stays there
// (with its handlers) whatever the script's variables hold afterwards.
#include <gtest/gtest.h>

#include "platform/fw/button.h"
#include "platform/fw/form.h"
#include "platform/fw/menus.h"
#include "platform/fw/tool_bar.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

fw::TCustomForm* FormNamed(const std::string& name) {
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == name) return fw::Screen()->Forms(i);
  return nullptr;
}

// Every family, built in a loop that reuses one variable: each round drops the script's last hold
// on what the round before made.
TEST(GuiPlacement, ComponentsPutIntoAParentOutliveTheVariableThatMadeThem) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm(); f.Name = "Placed";
    var mm = new VCLMainMenu(); f.Menu = mm;
    var top = new VCLMenuItem(); top.Caption = "List"; mm.items.add(top);
    var clicks = [];
    for (var i = 0; i < 3; i++) {
      var it = new VCLMenuItem(); it.Caption = "x" + i;
      it.onClick = function(sender) { clicks.push(sender.Caption); };
      top.add(it);
    }
    // Inserted ones too, and a child of a child.
    for (var i = 0; i < 2; i++) { var it = new VCLMenuItem(); it.Caption = "y" + i; top.insert(0, it); }
    var sub = new VCLMenuItem(); sub.Caption = "sub"; top.add(sub);
    for (var i = 0; i < 2; i++) { var it = new VCLMenuItem(); it.Caption = "z" + i; sub.add(it); }
    sub = null;
    println("menu " + top.Count + " " + top.items(5).Count);
    for (var i = 0; i < top.Count; i++) if (top.items(i).Caption.charAt(0) == "x") top.items(i).click();
    println(clicks.join(","));

    var tb = new VCLToolBar(f);
    for (var i = 0; i < 3; i++) { var b = new VCLToolButton(tb); b.Caption = "b" + i; }
    var pc = new VCLPageControl(f);
    for (var i = 0; i < 3; i++) { var sh = new VCLTabSheet(pc); sh.Caption = "s" + i; }
    var sb = new VCLStatusBar(f);
    for (var i = 0; i < 3; i++) { var p = sb.panels.add(); p.Text = "p" + i; }
    var lv = new VCLListView(f);
    for (var i = 0; i < 3; i++) { var c = lv.column.add(); c.Caption = "c" + i; }
    var cb = new VCLCoolBar(f);
    for (var i = 0; i < 3; i++) { var e = new VCLEdit(cb); e.Text = "e" + i; }
    println([tb.ButtonCount, pc.PageCount, sb.panels.Count, lv.column.Count, cb.ControlCount].join(" "));

    var bt = new VCLButton(f); bt.Name = "Go";
    var mi = new VCLMenuItem(); top.add(mi);
    for (var i = 0; i < 2; i++) {
      var a = new VCLAction(); a.Caption = "act" + i;
      a.onExecute = function(sender) { println("run " + sender.Caption); };
      bt.action = a;
      mi.action = a;
    }
    bt = null; mi = null; a = null;
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "menu 6 2\r\nx0,x1,x2\r\n3 3 3 3 3\r\n");

  fw::TCustomForm* form = FormNamed("Placed");
  ASSERT_NE(form, nullptr);
  fw::TMainMenu* menu = form->Menu();
  ASSERT_NE(menu, nullptr);
  fw::TMenuItem* list = menu->Items()->Items(0);
  ASSERT_EQ(list->Count(), 7);
  EXPECT_EQ(list->Items(0)->Caption(), "y1");
  EXPECT_EQ(list->Items(5)->Items(1)->Caption(), "z1");

  // The action the button and the item were linked to last is still theirs, and still runs.
  auto* go = dynamic_cast<fw::TButton*>(form->FindChildControl("Go"));
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(go->Caption(), "act1");
  s.AllowEvents(true);
  go->Click();
  list->Items(6)->Click();
  EXPECT_EQ(s.Out(), r.out + "run act1\r\nrun act1\r\n");
}

}  // namespace
