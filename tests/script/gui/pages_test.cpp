// Page controls, tab sheets, status bars and status panels driven by scripts against the
// framework's models: one wrapper per page and per live panel, the change protocol, panels that
// are gone, and wrappers that do not pile up.
#include <gtest/gtest.h>

#include "platform/fw/status_bar.h"
#include "script/core/factory.h"
#include "script/gui/status_wrapper.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiPageControl, PagesAreIndexedIteratedAndAlwaysTheSameWrappers) {
  TGuiScript s;
  auto r = s.Run(R"(@set @VERSION7 = true
    var f = new VCLForm();
    var pc = new VCLPageControl(f);
    pc.setBounds(0, 0, 300, 200);
    var names = ["One", "Two", "Three"];
    for (var i = 0; i < 3; i++) { var t = new VCLTabSheet(pc); t.Caption = names[i]; }
    println(pc.VCLclassName + " " + pc.PageCount + " " + pc.ActivePageIndex + " " + pc.toString());
    var second = pc[1];
    println(second.VCLclassName + " " + second.Caption + " " + (second === pc[1]) + " " + (second === pc.pages(1)));
    var seen = "";
    for (var p in pc) seen += p.Caption + "/" + p.TabIndex + " ";
    println(seen + typeof(pc.pages(7)) + " " + typeof(pc[7]) + " " + typeof(pc.pages(-1)));
    println((second.PageControl === pc) + " " + pc.findNextPage(second, true, true).Caption + " " +
            pc.findNextPage(pc[2], true, true).Caption + " " + pc.findNextPage(5, false, true).Caption);
    pc.ActivePageIndex = 2;
    println(pc.ActivePageIndex + " " + pc[2].Visible + " " + pc[0].Visible);
    pc[1].TabVisible = false;
    println(pc[2].TabIndex + " " + pc[1].TabIndex + " " + pc.findNextPage(pc[0], true, true).Caption);
    var d = pc.DisplayRect;
    println((d.right > d.left) + " " + (pc[0].Width == d.right - d.left));
    pc.tabs;
  )");
  EXPECT_NE(r.err.find("TPageControl - tabs not available"), std::string::npos) << r.err;
  EXPECT_EQ(r.out,
            "TPageControl 3 0 [object VCLPageControl]\r\n"
            "TTabSheet Two true true\r\n"
            "One/0 Two/1 Three/2 undefined undefined undefined\r\n"
            "true Three One Three\r\n"
            "2 true false\r\n"
            "1 -1 Three\r\n"
            "true true\r\n");
}

TEST(GuiPageControl, ChangesAskTheScriptAndHandlersSurviveOtherWaysToThePages) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    var pc = new VCLPageControl(f);
    for (var i = 0; i < 3; i++) { var t = new VCLTabSheet(pc); t.Caption = "P" + i; }
    var allow = true;
    pc.onChanging = function(sender, allowChange) {
      println("changing " + pc.ActivePageIndex + " " + (sender === pc)); allowChange.bool = allow; };
    pc.onChange = function(sender) { println("change " + pc.ActivePageIndex); };
    pc[1].onShow = function(sender) { println("show " + sender.Caption); };
    pc[0].onHide = function(sender) { println("hide " + sender.Caption); };
    // Reaching the control through a sheet or the pages takes nothing from its handlers.
    var again = pc[0].PageControl;
    again = pc.findNextPage(pc[0], true, true).PageControl;
    println(pc.selectNextPage(true) === pc);
    allow = false;
    pc.selectNextPage(true);
    println(pc.ActivePageIndex);
    pc.ActivePageIndex = 0;
    println("set " + pc.ActivePageIndex);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "changing 0 true\r\nshow P1\r\nhide P0\r\nchange 1\r\ntrue\r\n"
            "changing 1 true\r\n1\r\n"
            "set 0\r\n");
}

TEST(GuiPageControl, SheetsMoveBetweenControlsAndUnboundWrappersSayVCLIsNull) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var a = new VCLPageControl(f), b = new VCLPageControl(f);
    var t = new VCLTabSheet(a);
    println(a.PageCount + " " + b.PageCount + " " + t.TabIndex);
    t.PageControl = b;
    println(a.PageCount + " " + b.PageCount + " " + (t.PageControl === b) + " " + (t.parent === b));
    t.PageControl = 5;
    t.PageControl = null;
    println(b.PageCount);
    var loose = new VCLTabSheet(f);
    var none = loose.PageControl;
    println(none.VCLclassName + " " + loose.TabIndex);
    try { none.PageCount; } catch (e) { println(e); }
    try { none.pages(0); } catch (e) { println(e); }
    f = null;
    try { b.ActivePageIndex = 0; } catch (e) { println(e); }
    try { b[0]; } catch (e) { println(e); }
    t.TabIndex;
  )");
  EXPECT_NE(r.err.find("TTabSheet - VCL is null"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "1 0 0\r\n0 1 true true\r\n1\r\nTPageControl -1\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\n");
}

TEST(GuiPageControl, ADescriptionWithPagesAndAStatusBarLoadsAndSavesBack) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n" +
      " object PC: TPageControl\n  Width = 300\n  Height = 200\n  ActivePage = TS3\n" +
      "  object TS1: TTabSheet\n   Caption = 'Files'\n   object E1: TEdit\n    Text = 'abc'\n   end\n  end\n" +
      "  object TS2: TTabSheet\n   Caption = 'Search'\n   object B1: TButton\n    Caption = 'Find'\n   end\n  end\n" +
      "  object TS3: TTabSheet\n   Caption = 'Log'\n   object M1: TMemo\n   end\n  end\n" +
      " end\n" +
      " object SB: TStatusBar\n  Panels = <\n   item\n    Text = 'one'\n    Width = 80\n   end\n" +
      "   item\n    Text = 'two'\n   end>\n  SimplePanel = False\n end\nend\n");
    println(f.PC.PageCount + " " + f.PC.ActivePageIndex + " " + (f.PC[2] === f.TS3) + " " + f.TS1.Caption + " " +
            (f.E1.parent === f.TS1) + " " + f.B1.Caption + " " + f.SB.panels.Count + " " + f.SB.panels[0].Text);
    var text = f.saveToText();
    var g = new VCLForm();
    g.loadFromText(text);
    println(g.PC.ActivePageIndex + " " + g.PC[0].Caption + " " + g.E1.Text + " " + g.SB.panels[1].Text + " " +
            (g.saveToText() == text));
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "3 2 true Files true Find 2 one\r\n2 Files abc two true\r\n");
}

TEST(GuiStatusBar, PanelsAreReachedByIndexBracketsAndIteration) {
  TGuiScript s;
  auto r = s.Run(R"(@set @VERSION7 = true
    var f = new VCLForm();
    var sb = new VCLStatusBar(f);
    var panels = sb.panels;
    println(panels.toString() + " " + (panels === sb.panels) + " " + panels.Count + " " + sb.Align);
    var a = panels.add(); a.Text = "first"; a.Width = 120;
    var b = panels.add(); b.Text = "second";
    println(a.VCLclassName + " " + a.toString() + " " + panels.Count + " " + (panels[0] === a) + " " +
            (panels.items(1) === b) + " " + panels.items(0).Width);
    println((panels.items(5) === null) + " " + (panels[5] === null) + " " + (panels[-1] === null));
    var all = "";
    for (var p in panels) all += p.Text + ";";
    println(all);
    var other = new VCLStatusBar(f);
    var o = other.panels.add(); o.Text = "copied"; o.Width = 33; o.Style = "psOwnerDraw";
    println(panels.items(0, o) === o);
    println(a.Text + " " + a.Width + " " + a.Style + " " + (panels[0] === a));
    panels[1] = o;
    panels[9] = o;
    println(b.Text + " " + panels.Count);
    panels[0] = f;
    println(a.Text);
    try { panels.items(0, 12); } catch (e) { println(e); }
    panels.extra = 5;
    println(panels.extra + " " + panels["Count"]);
    panels[1] = "text";
  )");
  EXPECT_NE(r.err.find("TStatusPanels - arguments error"), std::string::npos) << r.err;
  EXPECT_EQ(r.out,
            "[object VCLStatusPanels] true 0 alBottom\r\n"
            "TPersistent [object VCL] 2 true true 120\r\n"
            "true true true\r\n"
            "first;second;\r\n"
            "true\r\n"
            "copied 33 psOwnerDraw true\r\n"
            "copied 2\r\n"
            "copied\r\n"
            "EVCLError\r\n"
            "5 2\r\n");
}

TEST(GuiStatusBar, PanelWrappersOfPanelsThatAreGoneSayVCLIsNull) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var sb = new VCLStatusBar(f);
    var p = sb.panels.add(); p.Text = "old";
    var other = new VCLStatusBar(f);
    other.panels.add().Text = "new";
    // Assigning the collection replaces every panel: the old ones are deleted.
    sb.panels.assign(other.panels);
    println(sb.panels.Count + " " + sb.panels[0].Text + " " + (sb.panels[0] === p));
    try { p.Text; } catch (e) { println(e); }
    try { p.Text = "x"; } catch (e) { println(e); }
    var q = sb.panels[0];
    var panels = sb.panels;
    sb = null;
    f = null;
    try { q.Width; } catch (e) { println(e); }
    try { panels.Count; } catch (e) { println(e); }
    try { panels.add(); } catch (e) { println(e); }
    try { panels[0]; } catch (e) { println(e); }
    println(panels.toString());
    p.Width;
  )");
  EXPECT_NE(r.err.find("TPersistent - VCL is null"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "1 new false\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\n"
            "[object VCLStatusPanels]\r\n");
}

// The bar a script made, found among the engine's objects.
fw::TStatusBar* ScriptBar(TGuiScript& s) {
  for (engine::TJObject* o : s.Component().Engine().Factory().Objects().Snapshot())
    if (auto* w = dynamic_cast<gui::TJVCLBaseStatusBar*>(o))
      if (w->HasVCL()) return w->Bar();
  return nullptr;
}

size_t ObjectsAfterReadingAPanel(int times) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var sb = new VCLStatusBar(f);
    sb.panels.add().Text = "x";
    var same = 0, first = sb.panels[0];
    for (var i = 0; i < )" + std::to_string(times) + R"(; i++) {
      var p = sb.panels[0];
      if (p === first && p.Text == "x") same++;
      sb.panels.items(0).Width;
    }
    first = null;
    println(same);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, std::to_string(times) + "\r\n");
  return s.Component().Engine().Factory().Objects().Count();
}

TEST(GuiStatusBar, ReadingAPanelOverAndOverLeavesNoWrappersBehind) {
  EXPECT_EQ(ObjectsAfterReadingAPanel(10000), ObjectsAfterReadingAPanel(10));
}

TEST(GuiStatusBar, OwnerDrawnPanelsReachTheHandlerWithAPanelThatIsNotKept) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    var sb = new VCLStatusBar(f);
    var p = sb.panels.add(); p.Text = "drawn"; p.Style = "psOwnerDraw";
    var draws = 0;
    sb.onDrawPanel = function(sender, panel, rect) {
      draws++;
      if (draws == 1) println((sender === sb) + " " + panel.Text + " " + (panel === p) + " " + rect.left + "," + rect.right);
    };
    p = null;
  )");
  ASSERT_EQ(r.err, "");
  fw::TStatusBar* bar = ScriptBar(s);
  ASSERT_NE(bar, nullptr);
  fw::TStatusPanel* panel = bar->Panels()->Items(0);
  // The first call makes what every call shares (the prototypes of its argument classes).
  bar->DrawPanel(panel, {1, 1, 49, 18});
  const size_t before = s.Component().Engine().Factory().Objects().Count();
  for (int i = 1; i < 10000; ++i) bar->DrawPanel(panel, {1, 1, 49, 18});
  EXPECT_EQ(s.Component().Engine().Factory().Objects().Count(), before);
  EXPECT_EQ(s.Out(), "true drawn false 1,49\r\n");
  EXPECT_EQ(s.Err(), "");
}

TEST(GuiStatusBar, AnActionTakesTheBarsClickUntilItIsTakenAway) {
  TGuiScript s;
  s.AllowEvents(true);
  auto r = s.Run(R"(
    var f = new VCLForm();
    var sb = new VCLStatusBar(f);
    var a = new VCLAction();
    a.onExecute = function(sender) { println("execute " + (sender === a)); };
    sb.onClick = function(sender) { println("click " + (sender === sb)); };
    println(sb.action);
    sb.action = a;
    println(sb.action === a);
  )");
  ASSERT_EQ(r.err, "");
  fw::TStatusBar* bar = ScriptBar(s);
  ASSERT_NE(bar, nullptr);
  bar->Click();
  EXPECT_EQ(s.Out(), "null\r\ntrue\r\nexecute true\r\n");
}

TEST(GuiStatusBar, HintsGoToTheScriptsHandlerOrElseTheBarShowsThem) {
  for (bool handler : {false, true}) {
    TGuiScript s;
    s.AllowEvents(true);
    auto r = s.Run(std::string(R"(
      var f = new VCLForm();
      var sb = new VCLStatusBar(f);
      sb.AutoHint = true;
    )") + (handler ? "sb.onHint = function(sender) { println(\"hint \" + (sender === sb)); };" : ""));
    ASSERT_EQ(r.err, "");
    fw::TStatusBar* bar = ScriptBar(s);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->ExecuteHint("tip"));
    EXPECT_EQ(bar->ShownHint(), handler ? "" : "tip");
    EXPECT_EQ(s.Out(), handler ? "hint true\r\n" : "");
  }
}

}  // namespace
