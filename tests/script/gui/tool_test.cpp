// Tool bars and tool buttons, cool bars, up-downs and spin edits driven by scripts against the
// framework's models; input the peers would report is given to the models directly.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/menus.h"
#include "platform/fw/spin.h"
#include "platform/fw/tool_bar.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::FindIn;
using guitest::TGuiScript;

fw::TControl* Find(const std::string& form, const std::string& name) {
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == form) return FindIn(fw::Screen()->Forms(i), name);
  return nullptr;
}

TEST(GuiToolBar, ButtonsAreIndexedThroughTheirOneWrapper) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Width = 300;
    var bar = new VCLToolBar(f);
    var names = ["Open", "Save", "Print"];
    var made = [];
    for (var i = 0; i < 3; i++) {
      var b = new VCLToolButton(bar);
      b.Caption = names[i];
      made.push(b);
    }
    println(bar.ButtonCount + " " + bar.RowCount + " " + bar.Align + " " + bar.Height);
    println((bar.buttons(1) === made[1]) + " " + (bar[2] === made[2]) + " " + (bar.buttons(0) === bar.buttons(0)));
    println(bar.buttons(7) + " " + bar.buttons(-1) + " " + bar.buttons(3) + " " + bar[9]);
    var seen = "";
    for (var i in bar) seen += bar[i].Caption + ":" + bar[i].Index + " ";
    println(seen);
    println(made[0].Left + " " + made[1].Left + " " + made[2].Left + " " + made[2].Top + " " + made[2].Width);
    println(made[1].parent === bar);
    var loose = new VCLToolButton();
    println(loose.Index + " " + bar.trackMenu(made[0]) + " " + bar.trackMenu(5) + " " + bar.trackMenu(f));
    println(bar.toString() + " " + made[0].toString());
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "3 1 alTop 29\r\ntrue true true\r\nnull null null null\r\nOpen:0 Save:1 Print:2 \r\n"
            "0 23 46 2 23\r\ntrue\r\n-1 false false false\r\n[object VCLToolBar] [object VCLToolButton]\r\n");
}

TEST(GuiToolBar, ButtonsWrapIntoRowsAndSeparatorsKeepTheirWidth) {
  TGuiScript s;
  auto r = s.Run(R"(
    var bar = new VCLToolBar();
    bar.Align = "alNone";
    bar.setBounds(0, 0, 100, 29);
    bar.ButtonWidth = 30;
    bar.Indent = 4;
    var b = [];
    for (var i = 0; i < 5; i++) b.push(new VCLToolButton(bar));
    b[1].Style = "tbsSeparator";
    var pos = function() {
      var t = "";
      for (var i = 0; i < b.length; i++) t += b[i].Left + "," + b[i].Top + " ";
      return t;
    };
    println(bar.RowCount + " " + b[1].Width + " " + pos());
    bar.Wrapable = false;
    println(bar.RowCount + " " + pos());
    b[0].Wrap = true;
    println(bar.RowCount + " " + pos());
    bar.AutoSize = true;
    println(bar.Height);
    b[0].Wrap = false; bar.Wrapable = true;
    b[4].Visible = false;
    println(bar.RowCount + " " + bar.Height + " " + b[4].Index);
    var gone = b[2];
    b.splice(2, 1);
    gone.parent = null;
    println(bar.ButtonCount + " " + gone.Index + " " + b[2].Index + " " + pos());
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "2 8 4,2 34,2 42,2 4,24 34,24 \r\n1 4,2 34,2 42,2 72,2 102,2 \r\n2 4,2 4,24 12,24 42,24 72,24 \r\n"
            "46\r\n2 46 4\r\n4 -1 2 4,2 34,2 42,2 34,24 \r\n");
}

TEST(GuiToolBar, CheckButtonsAndGroups) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Tools";
    var bar = new VCLToolBar(f);
    var names = ["Bold", "Left", "Center", "Right", "Plain"];
    var t = {};
    for (var i = 0; i < names.length; i++) {
      var b = new VCLToolButton(bar);
      b.Name = names[i];
      b.onClick = function(sender) {
        println(sender.Name + " " + sender.Down + " " + t.Left.Down + t.Center.Down + t.Right.Down);
      };
      t[names[i]] = b;
    }
    t.Bold.Style = "tbsCheck";
    t.Left.Style = "tbsCheck"; t.Center.Style = "tbsCheck"; t.Right.Style = "tbsCheck";
    t.Left.Grouped = true; t.Center.Grouped = true; t.Right.Grouped = true;
    t.Left.Down = true;
    t.Right.Down = true;
    println(t.Left.Down + " " + t.Right.Down);
    t.Right.Down = false;
    println(t.Right.Down);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "false true\r\ntrue\r\n");
  s.AllowEvents(true);
  auto button = [&](const char* name) { return dynamic_cast<fw::TToolButton*>(Find("Tools", name)); };
  for (const char* name : {"Bold", "Left", "Center", "Right", "Plain"}) ASSERT_NE(button(name), nullptr) << name;
  button("Bold")->Click();
  button("Bold")->Click();
  button("Center")->Click();  // the group's other button goes up
  button("Center")->Click();  // one of the group stays down
  button("Plain")->Click();   // a plain button never stays down
  EXPECT_EQ(s.Out(),
            "false true\r\ntrue\r\nBold true falsefalsetrue\r\nBold false falsefalsetrue\r\n"
            "Center true falsetruefalse\r\nCenter true falsetruefalse\r\nPlain false falsetruefalse\r\n");
  button("Center")->SetAllowAllUp(true);
  button("Center")->Click();
  EXPECT_FALSE(button("Center")->Down());
}

TEST(GuiToolBar, ButtonClickReachesTheOneWrapperEvenAfterIndexing) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object Tools: TForm\n object Bar: TToolBar\n object Go: TToolButton\n Caption = 'Go'\n end\n end\nend\n");
    f.Go.onClick = function(sender) { println("go " + (sender === f.Go) + " " + sender.Index); };
    var again = f.Bar.buttons(0);
    println((again === f.Go) + " " + f.Bar.ButtonCount);
    again = null;
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  auto* go = dynamic_cast<fw::TToolButton*>(Find("Tools", "Go"));
  ASSERT_NE(go, nullptr);
  go->Click();
  EXPECT_EQ(s.Out(), "true 1\r\ngo true 0\r\n");
}

TEST(GuiToolBar, ActionsTakeTheClickAndDropdownMenusAreTracked) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Acts";
    var bar = new VCLToolBar(f);
    var linked = new VCLToolButton(bar), unlinked = new VCLToolButton(bar);
    linked.Name = "Linked"; unlinked.Name = "Unlinked";
    linked.onClick = function() { println("linked's own click"); };
    unlinked.onClick = function() { println("unlinked's own click"); };
    var a = new VCLAction();
    a.Caption = "Run";
    a.onExecute = function(sender) { println("execute " + (sender === a)); };
    linked.action = a;
    unlinked.action = a;
    unlinked.action = null;
    println((linked.action === a) + " " + linked.Caption + " " + unlinked.action + " " + unlinked.Caption);
    var m = new VCLPopupMenu();
    m.onPopup = function(sender) { println("popup"); };
    println(bar.trackMenu(linked));
    linked.DropdownMenu = m;
    println(bar.trackMenu(linked) + " " + (linked.DropdownMenu === m));
    println(new VCLToolBar().trackMenu(linked));
    unlinked.DropdownMenu = m;
    println(bar.trackMenu(unlinked) + " " + bar.trackMenu(linked) + " " + bar.trackMenu(unlinked));
    m = null;
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true Run null Run\r\nfalse\r\npopup\r\ntrue true\r\nfalse\r\npopup\r\npopup\r\npopup\r\n"
            "true true true\r\n");
  s.AllowEvents(true);
  auto* linked = dynamic_cast<fw::TToolButton*>(Find("Acts", "Linked"));
  auto* unlinked = dynamic_cast<fw::TToolButton*>(Find("Acts", "Unlinked"));
  ASSERT_TRUE(linked && unlinked);
  linked->Click();
  unlinked->Click();
  EXPECT_EQ(s.Out(), r.out + "execute true\r\nunlinked's own click\r\n");
  // The menu the script let go of is still the buttons': once it is freed, neither holds it (each
  // popped it up in turn, and a menu keeps only the last of those links).
  ASSERT_NE(linked->DropdownMenu(), nullptr);
  linked->DropdownMenu()->Free();
  EXPECT_EQ(linked->DropdownMenu(), nullptr);
  EXPECT_EQ(unlinked->DropdownMenu(), nullptr);
  EXPECT_FALSE(linked->ToolBar()->TrackMenu(linked));
  EXPECT_FALSE(linked->ToolBar()->TrackMenu(unlinked));
}

TEST(GuiToolBar, UnboundWrappersSayVCLIsNull) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object Bar: TToolBar\n object B1: TToolButton\n end\n end\nend\n");
    var bar = f.Bar, b = f.B1;
    f = null;
    var tries = [function() { return bar.ButtonCount; }, function() { return bar.buttons(0); },
                 function() { return bar[0]; }, function() { return b.Index; },
                 function() { return bar.trackMenu(b); }, function() { for (var i in bar) {} }];
    var caught = "";
    for (var i = 0; i < tries.length; i++) {
      try { tries[i](); caught += "no error "; } catch (e) { caught += e + " "; }
    }
    println(caught);
    b.Index;
  )");
  EXPECT_EQ(r.out, "EVCLError EVCLError EVCLError EVCLError EVCLError EVCLError \r\n");
  EXPECT_NE(r.err.find("TToolButton - VCL is null"), std::string::npos) << r.err;
  TGuiScript s2;
  auto r2 = s2.Run("new VCLToolBar().buttons();");
  EXPECT_NE(r2.err.find("TToolBar - arguments error"), std::string::npos) << r2.err;
}

TEST(GuiCoolBar, BandsHoldTheirControlsAndGripDragsResize) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var cb = new VCLCoolBar(f);
    println(cb.toString() + " " + cb.VCLclassName + " " + cb.Align);
    f.loadFromText("object Cool: TForm\n object CB: TCoolBar\n Width = 300\n Bands = <\n item\n Control = E1\n Text = 'Find'\n Width = 120\n end\n item\n Break = False\n Control = Sp\n Width = 100\n end\n item\n Text = 'Row two'\n end>\n object E1: TEdit\n end\n object Sp: TSpinEdit\n end\n end\nend\n");
    f.CB.onChange = function(sender) { println("change " + f.Sp.Left + " " + (sender === f.CB)); };
    println(f.E1.parent.Name + " " + f.E1.Left + "," + f.E1.Top + "," + f.E1.Width + "," + f.E1.Height);
    println(f.Sp.Left + "," + f.Sp.Width);
    var text = f.saveToText();
    println(text.indexOf("Control = E1") > 0 && text.indexOf("Control = Sp") > 0);
  )");
  ASSERT_EQ(r.err, "");
  // The first band: grip, 4 characters of text, then the edit; the second band reaches the edge
  // of the form's client area (the bar is aligned to the top).
  EXPECT_EQ(r.out, "[object VCLCoolBar] TCoolBar alTop\r\nCB 46,4,74,21\r\n132,184\r\ntrue\r\n");
  fw::TCoolBar* bar = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "Cool")
      bar = dynamic_cast<fw::TCoolBar*>(fw::Screen()->Forms(i)->FindComponent("CB"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->RowCount(), 2);
  EXPECT_EQ(bar->Bands()->Items(2)->BandRect().Top, 2 + 25);
  s.AllowEvents(true);
  EXPECT_TRUE(bar->UserResizeBand(1, 30));
  EXPECT_FALSE(bar->UserResizeBand(0, 30));  // the first band of a row has nothing before it
  EXPECT_FALSE(bar->UserResizeBand(2, 30));  // nor has a band that starts a row
  EXPECT_TRUE(bar->UserResizeBand(1, -500));  // kept at the grip's width
  EXPECT_EQ(bar->Bands()->Items(0)->Width(), 10);
  EXPECT_EQ(s.Out(), r.out + "change 162 true\r\nchange 22 true\r\n");
  bar->Bands()->Items(1)->Control()->Free();
  EXPECT_EQ(bar->Bands()->Items(1)->Control(), nullptr);
}

TEST(GuiUpDown, ChangingMayStopTheStepAndClickNamesTheArrow) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Ud";
    var e = new VCLEdit(f);
    e.Name = "E"; e.setBounds(10, 10, 60, 21);
    var ud = new VCLUpDown(f);
    ud.Name = "U";
    ud.Min = -2; ud.Max = 3;
    ud.Associate = e;
    println(ud.toString() + " " + e.Text + " " + ud.Left + "," + ud.Top + "," + ud.Height);
    ud.onChanging = function(sender, allowChange) {
      print("changing;");
      if (e.Tag == 1) allowChange.bool = false;
    };
    ud.onChangingEx = function(sender, allowChange, newValue, direction) {
      print("ex " + allowChange.bool + " " + newValue + " " + direction + ";");
    };
    ud.onClick = function(sender, button) { println("click " + button + " " + sender.Position); };
    e.onChange = function(sender) { print("text " + sender.Text + ";"); };
    ud.Position = 7;
    println(ud.Position + " " + e.Text);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "[object VCLUpDown] 0 70,10,21\r\ntext 3;3 3\r\n");
  s.AllowEvents(true);
  auto* ud = dynamic_cast<fw::TUpDown*>(Find("Ud", "U"));
  auto* edit = dynamic_cast<fw::TEdit*>(Find("Ud", "E"));
  ASSERT_TRUE(ud && edit);
  EXPECT_TRUE(ud->UserClick(fw::btPrev));
  EXPECT_TRUE(ud->UserClick(fw::btNext));
  EXPECT_TRUE(ud->UserClick(fw::btNext));  // at the top already: nowhere to go
  EXPECT_EQ(s.Out(), r.out +
                         "changing;ex true 2 updDown;text 2;click btPrev 2\r\n"
                         "changing;ex true 3 updUp;text 3;click btNext 3\r\n"
                         "changing;ex true 3 updNone;click btNext 3\r\n");
  // The handler refuses: nothing moves, nothing is clicked.
  edit->SetTag(1);
  const std::string before = s.Out();
  EXPECT_FALSE(ud->UserClick(fw::btPrev));
  EXPECT_EQ(ud->Position(), 3);
  EXPECT_EQ(edit->Text(), "3");
  EXPECT_EQ(s.Out(), before + "changing;ex false 2 updDown;");
  // The step starts from what the user typed; with Wrap, below the bottom goes round to the top.
  edit->SetTag(0);
  ud->SetWrap(true);
  edit->SetText("-2");
  EXPECT_TRUE(ud->UserClick(fw::btPrev));
  EXPECT_EQ(ud->Position(), 3);
  EXPECT_EQ(edit->Text(), "3");
  ud->SetMax(5000);
  ud->SetPosition(1234);
  EXPECT_EQ(edit->Text(), "1,234");
  ud->SetThousands(false);
  EXPECT_EQ(edit->Text(), "1234");
  edit->SetText("4,321");
  EXPECT_TRUE(ud->UserClick(fw::btNext));
  EXPECT_EQ(ud->Position(), 4322);
}

TEST(GuiUpDown, PositionStaysWithinSixteenBits) {
  TGuiScript s;
  auto r = s.Run(R"(
    var ud = new VCLUpDown();
    ud.Max = 100000; ud.Min = -100000;
    ud.Position = 99999;
    println(ud.Min + " " + ud.Max + " " + ud.Position);
    var seen;
    ud.onChangingEx = function(sender, allow, v, d) { seen = v + " " + d; };
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "-32768 32767 32767\r\n");
}

TEST(GuiSpinEdit, ValueFollowsTheTextAndArrowsFireOnChange) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Spin";
    var sp = new VCLSpinEdit(f);
    sp.Name = "S";
    sp.onChange = function(sender) { print(sender.Value + ";"); };
    println(sp.toString() + " " + sp.Value + " " + sp.MinValue + " " + sp.MaxValue + " " + sp.Increment);
    sp.MinValue = -5; sp.MaxValue = 10; sp.Increment = 4;
    sp.Value = 42;
    println(sp.Value);
    sp.Value = 3;
    sp.selectAll();
    println(sp.SelText + " " + sp.SelLength);
    sp.SelText = "x7";
    println(sp.Value + " " + sp.Modified);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "[object VCLSpinEdit] 0 0 0 1\r\n10;10\r\n3;3 1\r\n-5;-5 true\r\n");
  s.AllowEvents(true);
  auto* sp = dynamic_cast<fw::TSpinEdit*>(Find("Spin", "S"));
  ASSERT_NE(sp, nullptr);
  sp->UserStep(1);  // from the minimum an unreadable text stands for
  sp->UserStep(2);
  sp->UserStep(5);  // past the top: kept at it
  sp->UserStep(1);  // nothing changes, nothing fires
  sp->SetReadOnly(true);
  sp->UserStep(-1);
  EXPECT_EQ(s.Out(), r.out + "-1;7;10;");
  EXPECT_EQ(sp->Value(), 10);
  // Leaving the edit shows the value the typed text stands for.
  sp->SetReadOnly(false);
  sp->UserEdited(" 99", 3, 0);
  sp->FocusOut();
  EXPECT_EQ(sp->Text(), "10");
  sp->UserEdited("abc", 3, 0);
  sp->FocusOut();
  EXPECT_EQ(sp->Text(), "-5");
  EXPECT_EQ(s.Out(), r.out + "-1;7;10;10;10;-5;-5;");
}

TEST(GuiTools, ToolBarSpinEditAndUpDownTravelThroughBothFormats) {
  namespace fsys = std::filesystem;
  const std::string description =
      "object Tools: TForm\n"
      "  object Bar: TToolBar\n"
      "    ButtonWidth = 40\n"
      "    Flat = True\n"
      "    object New: TToolButton\n      Caption = 'New'\n    end\n"
      "    object Sep: TToolButton\n      Width = 8\n      Style = tbsSeparator\n    end\n"
      "    object Bold: TToolButton\n      Caption = 'Bold'\n      Down = True\n      Style = tbsCheck\n    end\n"
      "  end\n"
      "  object Count: TSpinEdit\n    Left = 10\n    Top = 40\n    MaxValue = 50\n    MinValue = 1\n"
      "    Value = 12\n  end\n"
      "  object Ed: TEdit\n    Left = 10\n    Top = 70\n  end\n"
      "  object Ud: TUpDown\n    Associate = Ed\n    Max = 9\n    Position = 4\n    Wrap = True\n  end\n"
      "end\n";
  fsys::path dir = fsys::temp_directory_path() / ("gui_tools_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  const std::string binPath = (dir / "tools.dfm").string();
  {
    std::ofstream bin(binPath, std::ios::binary);
    bin << fw::ObjectTextToBinary(description);
  }
  TGuiScript s;
  auto r = s.Run(R"(
    var show = function(f) {
      return f.Bar.ButtonCount + " " + f.Bar.buttons(0).Caption + " " + f.Bar.buttons(1).Style + " " +
             f.Bold.Down + " " + f.Bold.Left + " " + f.Count.Value + " " + f.Ud.Position + " " + f.Ed.Text + " " +
             (f.Ud.Associate === f.Ed) + " " + f.Ud.Left;
    };
    var f = new VCLForm();
    f.loadFromFile(")" + binPath + R"(");
    println(show(f));
    var text = f.saveToText();
    var g = new VCLForm();
    g.loadFromText(text);
    println(show(g));
    println(g.saveToText() == text);
    print(text);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.substr(0, r.out.find("object")),
            "3 New tbsSeparator true 48 12 4 4 true 131\r\n3 New tbsSeparator true 48 12 4 4 true 131\r\ntrue\r\n");
  EXPECT_NE(r.out.find("Associate = Ed"), std::string::npos) << r.out;
  EXPECT_LT(r.out.find("object New"), r.out.find("object Sep"));
  EXPECT_LT(r.out.find("object Sep"), r.out.find("object Bold"));
  fsys::remove_all(dir);
}

TEST(GuiTools, CasterPicksTheFamilies) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n object A: TToolBar\n object B: TToolButton\n end\n end\n object C: TCoolBar\n end\n object D: TUpDown\n end\n object E: TSpinEdit\n end\nend\n");
    println(f.A.toString() + " " + f.B.toString() + " " + f.C.toString() + " " + f.D.toString() + " " + f.E.toString());
    println(f.E.VCLclassName + " " + (f.components(4) === f.E));
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "[object VCLToolBar] [object VCLToolButton] [object VCLCoolBar] [object VCLUpDown] [object VCLSpinEdit]\r\n"
            "TSpinEdit true\r\n");
}

}  // namespace
