// How long the things a script builds live: a component the script puts into a parent stays there
// (with its handlers) whatever the script's variables hold afterwards, and nothing a handler lets
// go of (its form, its list item, its tree node, its menu) is freed while the framework code that
// called the handler still runs, not even when the handler pumps messages with doEvents().
#include <gtest/gtest.h>

#include <functional>

#include "platform/fw/button.h"
#include "platform/fw/common_dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/list_box.h"
#include "platform/fw/list_view.h"
#include "platform/fw/menus.h"
#include "platform/fw/spin.h"
#include "platform/fw/status_bar.h"
#include "platform/fw/tool_bar.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::FindIn;
using guitest::FormNamed;
using guitest::TGuiScript;

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

// A handler that pulls the ground from under the code that called it. Each script names its form
// "Gone" and lets go of it in a handler; the form must be gone once the loop is back at the top.
struct THostileCase {
  const char* name;
  const char* script;
  const char* out;
};

class GuiHostileHandlers : public testing::TestWithParam<THostileCase> {};

TEST_P(GuiHostileHandlers, NothingIsFreedUnderTheRunningHandler) {
  const THostileCase& c = GetParam();
  TGuiScript s;
  auto r = s.Run(c.script);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, c.out);
  EXPECT_EQ(FormNamed("Gone"), nullptr);
}

const THostileCase kHostileCases[] = {
    {"ListViewInsertClearsTheList", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      lv.items.add().Caption = "old";
      lv.onInsert = function(s, item) { s.items.clear(); println("cleared " + s.items.Count); };
      var added = lv.items.add();
      println(added + " " + lv.items.Count);
      f.release();
    )", "cleared 0\r\nnull 0\r\n"},
    {"ListViewInsertDeletesTheNewItem", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      var kept;
      lv.onInsert = function(s, item) { kept = item; item["delete"](); };
      println(lv.items.add() + " " + lv.items.Count);
      try { kept.update(); } catch (e) { println("unbound " + e); }
      f.release();
    )", "null 0\r\nunbound EVCLError\r\n"},
    {"ListViewInsertInsertsMore", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      var n = 0;
      lv.onInsert = function(s, item) { item.Caption = "i" + n; if (n++ < 3) s.items.insert(0); };
      var first = lv.items.add();
      println(first.Caption + " " + lv.items.Count + " " + lv.items.item(0).Caption);
      f.release();
    )", "i0 4 i3\r\n"},
    {"ListViewInsertReleasesTheFormAndPumps", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      lv.onInsert = function(s, item) {
        f.release(); f = null; doEvents();
        item.Caption = "still";
        println("in handler " + s.items.Count);
      };
      var x = lv.items.add();
      println(x.Caption + " " + lv.items.Count);
    )", "in handler 1\r\nstill 1\r\n"},
    {"ListViewDeletionReleasesTheFormAndPumpsDuringClear", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      for (var i = 0; i < 3; i++) lv.items.add().Caption = "i" + i;
      var seen = [];
      lv.onDeletion = function(s, item) {
        seen.push(item.Caption);
        if (f) { f.release(); f = null; lv = null; doEvents(); s.items.clear(); }
      };
      var view = lv;
      lv.items.clear();
      println(seen.join(",") + " " + view.items.Count);
    )", "i2,i1,i0 0\r\n"},
    {"ListViewChangeDeletesTheItemBeingChanged", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      var a = lv.items.add(); a.Caption = "a";
      lv.onChanging = function(s, item, change, allow) { if (change == "ctText") s.items.clear(); };
      lv.onChange = function(s, item, change) { println("changed"); };
      a.Caption = "b";
      println(lv.items.Count);
      f.release();
    )", "0\r\n"},
    {"ListViewSelectDeletesAndReleases", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      var a = lv.items.add(); lv.items.add();
      lv.onSelectItem = function(s, item, selected) {
        if (selected) { item["delete"](); f.release(); f = null; doEvents(); }
      };
      lv.Selected = a;
      println(lv.items.Count + " " + lv.Selected);
    )", "1 null\r\n"},
    {"ListViewCompareClearsReleasesAndPumps", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f);
      for (var i = 0; i < 5; i++) lv.items.add().Caption = "c" + (5 - i);
      lv.onCompare = function(s, a, b, data, compare) {
        if (f) { s.items.clear(); f.release(); f = null; doEvents(); }
        compare.int = a.Caption < b.Caption ? -1 : 1;
      };
      lv.alphaSort();
      println(lv.items.Count);
    )", "0\r\n"},
    {"TreeDeletionReleasesTheFormAndPumpsDuringClear", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tv = new VCLTreeView(f);
      var a = tv.Items.add(null, "a"); tv.Items.addChild(a, "a1"); tv.Items.add(null, "b");
      var seen = [];
      tv.onDeletion = function(s, node) {
        seen.push(node.Text);
        if (f) { f.release(); f = null; tv = null; doEvents(); s.Items.clear(); }
      };
      var view = tv;
      tv.Items.clear();
      println(seen.join(",") + " " + view.Items.Count);
    )", "b,a,a1 0\r\n"},
    {"TreeDeletionDeletesItsParent", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tv = new VCLTreeView(f);
      var a = tv.Items.add(null, "a"); var a1 = tv.Items.addChild(a, "a1"); tv.Items.addChild(a1, "a2");
      tv.onDeletion = function(s, node) { if (node.Text == "a2") { a["delete"](); } };
      a1.deleteChildren();
      println(tv.Items.Count);
      f.release();
    )", "0\r\n"},
    {"TreeSelectionDeletesTheNode", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tv = new VCLTreeView(f);
      var a = tv.Items.add(null, "a"); var b = tv.Items.add(null, "b");
      tv.onChanging = function(s, node, allow) { node["delete"](); };
      tv.onChange = function(s, node) { println("changed to " + node); };
      tv.Selected = b;
      tv.onChanging = null;
      tv.onChange = function(s, node) { s.Items.clear(); f.release(); f = null; doEvents(); };
      tv.Selected = a;
      println(tv.Items.Count + " " + tv.Selected);
    )", "0 null\r\n"},
    {"TreeExpandingDeletesTheNode", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tv = new VCLTreeView(f);
      var a = tv.Items.add(null, "a"); tv.Items.addChild(a, "a1");
      tv.onExpanding = function(s, node, allow) { node["delete"](); };
      a.expand(true);
      var b = tv.Items.add(null, "b"); tv.Items.addChild(b, "b1");
      tv.onExpanding = null;
      tv.onExpanded = function(s, node) { s.Items.clear(); f.release(); f = null; doEvents(); };
      tv.fullExpand();
      println(tv.Items.Count);
    )", "0\r\n"},
    {"TreeCompareClearsReleasesAndPumps", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tv = new VCLTreeView(f);
      for (var i = 0; i < 5; i++) tv.Items.addChild(tv.Items.add(null, "n" + (5 - i)), "c");
      tv.onCompare = function(s, a, b, data, compare) {
        compare.int = a.Text < b.Text ? -1 : 1;
        if (f) { s.Items.clear(); f.release(); f = null; doEvents(); }
      };
      tv.alphaSort();
      println(tv.Items.Count);
    )", "0\r\n"},
    {"MenuItemClickClearsItsMenuReleasesAndPumps", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var mm = new VCLMainMenu(); f.Menu = mm;
      var top = new VCLMenuItem(); mm.items.add(top);
      var it = new VCLMenuItem(); it.Caption = "x"; top.add(it);
      it.onClick = function(s) { top.clear(); mm.items.clear(); mm = null; f.release(); f = null; doEvents(); println("clicked " + s.Caption); };
      it.click();
      println(top.Count);
    )", "clicked x\r\n0\r\n"},
    {"MenuItemActionClearsTheMenu", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var mm = new VCLMainMenu(); f.Menu = mm;
      var top = new VCLMenuItem(); mm.items.add(top);
      var it = new VCLMenuItem(); top.add(it);
      var a = new VCLAction(); a.Caption = "run";
      a.onExecute = function(s) { top.clear(); it = null; a = null; f.release(); f = null; doEvents(); println("ran"); };
      it.action = a;
      mm.dispatchCommand(top.items(0).Command);
      println(top.Count);
    )", "ran\r\n0\r\n"},
    {"ButtonClickReleasesTheFormAndPumps", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var b = new VCLButton(f); b.Caption = "go";
      b.onClick = function(s) { f.release(); f = null; b = null; doEvents(); println("clicked " + s.Caption); };
      var keep = b;
      b.click();
      keep = null;
    )", "clicked go\r\n"},
    {"CheckBoxClickFromAPropertyReleasesTheForm", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var c = new VCLCheckBox(f);
      c.onClick = function(s) { f = null; c = null; doEvents(); println("checked " + s.Checked); };
      c.Checked = true;
    )", "checked true\r\n"},
    {"CloseQueryAndCloseReleaseTheFormAndPump", R"(
      var f = new VCLForm(); f.Name = "Gone";
      f.onCloseQuery = function(s, canClose) { s.release(); doEvents(); };
      f.onClose = function(s, action) { f = null; doEvents(); action.text = "caFree"; println("closing"); };
      f.show();
      f.close();
    )", "closing\r\n"},
    {"ShowAndResizeReleaseTheFormAndPump", R"(
      var f = new VCLForm(); f.Name = "Gone";
      f.onShow = function(s) { f = null; doEvents(); s.setBounds(1, 2, 300, 200); };
      f.onResize = function(s) { s.release(); doEvents(); println("resized " + s.Width); };
      f.show();
    )", "resized 300\r\n"},
    {"ActionExecuteLetsGoOfItselfAndItsButton", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var b = new VCLButton(f);
      var a = new VCLAction(); a.Caption = "act";
      a.onExecute = function(s) { b.action = null; a = null; b = null; f.release(); f = null; doEvents(); println("executed " + s.Caption); };
      b.action = a;
      b.click();
    )", "executed act\r\n"},
    {"PageControlChangingReleasesItsForm", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var pc = new VCLPageControl(f);
      new VCLTabSheet(pc); new VCLTabSheet(pc);
      pc.onChanging = function(s, allow) { pc = null; f.release(); f = null; doEvents(); println("changing " + s.ActivePageIndex); };
      pc.onChange = function(s) { println("changed " + s.ActivePageIndex); };
      var keep = pc;
      pc.selectNextPage(true);
      keep = null;
    )", "changing 0\r\nchanged 1\r\n"},
    {"EditsReleaseTheFormFromTheirChanges", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var e = new VCLEdit(f); var se = new VCLSpinEdit(f); var rb = new VCLRadioButton(f);
      e.onChange = function(s) { e = null; doEvents(); println("edit " + s.Text); };
      se.onChange = function(s) { se = null; doEvents(); println("spin " + s.Value); };
      rb.onClick = function(s) { rb = null; f.release(); f = null; doEvents(); println("radio " + s.Checked); };
      e.Text = "x"; se.Value = 3; rb.Checked = true;
    )", "edit x\r\nspin 3\r\nradio true\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, GuiHostileHandlers, testing::ValuesIn(kHostileCases),
                         [](const testing::TestParamInfo<THostileCase>& info) { return info.param.name; });

// The same for events that come from outside the script (the clock, the user, the idle loop): the
// framework fires them as a peer or the loop would, and each handler lets go of its component and
// its form and pumps messages.
struct THostileInput {
  const char* name;
  const char* script;
  std::function<void(TGuiScript&, fw::TCustomForm*)> fire;
  const char* out;
};

class GuiHostileInput : public testing::TestWithParam<THostileInput> {};

TEST_P(GuiHostileInput, NothingIsFreedUnderTheRunningHandler) {
  const THostileInput& c = GetParam();
  TGuiScript s;
  fw::TFindDialog* find = nullptr;
  s.Dialogs().OnFindDialog = [&](fw::TFindDialog& d) {
    find = &d;
    return true;
  };
  auto r = s.Run(c.script);
  ASSERT_EQ(r.err, "");
  fw::TCustomForm* form = FormNamed("Gone");
  ASSERT_NE(form, nullptr);
  s.AllowEvents(true);
  if (find) {
    find->Find("needle", {});
  } else {
    c.fire(s, form);
  }
  fw::Application()->ProcessMessages();
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(), c.out);
  EXPECT_EQ(FormNamed("Gone"), nullptr);
}

template <class T>
T* Named(fw::TCustomForm* form, const char* name) {
  return dynamic_cast<T*>(FindIn(form, name));
}

const THostileInput kHostileInputs[] = {
    {"TimerTick", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var t = new VCLTimer(); t.Interval = 10;
      t.onTimer = function(s) { t = null; f.release(); f = null; doEvents(); println("tick " + s.Interval); };
      t.Enabled = true;
    )", [](TGuiScript& s, fw::TCustomForm*) { s.Timers().Advance(25); }, "tick 10\r\n"},
    {"ToolButtonClick", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var tb = new VCLToolBar(f); var b = new VCLToolButton(tb); b.Name = "TB";
      b.onClick = function(s) { tb = null; b = null; f.release(); f = null; doEvents(); println("tool " + s.Name); };
    )", [](TGuiScript&, fw::TCustomForm* form) { Named<fw::TToolButton>(form, "TB")->Click(); }, "tool TB\r\n"},
    {"UpDownArrows", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var u = new VCLUpDown(f); u.Name = "UD";
      u.onChanging = function(s, allow) { u = null; doEvents(); println("changing"); };
      u.onClick = function(s, button) { f.release(); f = null; doEvents(); println(button + " " + s.Position); };
    )", [](TGuiScript&, fw::TCustomForm* form) { Named<fw::TUpDown>(form, "UD")->UserClick(fw::btNext); },
     "changing\r\nbtNext 1\r\n"},
    {"ListBoxClickAndEditKey", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lb = new VCLListBox(f); lb.Name = "LB"; var e = new VCLEdit(f); e.Name = "E";
      lb.onClick = function(s) { lb = null; doEvents(); println("list " + s.Name); };
      e.onKeyPress = function(s, key) { e = null; f.release(); f = null; doEvents(); key.int = 66; println("key"); };
    )",
     [](TGuiScript&, fw::TCustomForm* form) {
       Named<fw::TListBox>(form, "LB")->Click();
       char key = 'a';
       Named<fw::TEdit>(form, "E")->KeyPress(key);
       EXPECT_EQ(key, 'B');
     },
     "list LB\r\nkey\r\n"},
    {"ActionUpdateAtIdle", R"(
      var f = new VCLForm(); f.Name = "Gone"; f.show();
      var b = new VCLButton(f);
      var a = new VCLAction();
      a.onUpdate = function(s) { b.action = null; a = null; b = null; f.release(); f = null; doEvents(); println("update"); };
      b.action = a;
    )", [](TGuiScript&, fw::TCustomForm*) { fw::Application()->Idle(); }, "update\r\n"},
    {"FindDialogSearch", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var d = new VCLFindDialog();
      d.onFind = function(s) { d = null; f.release(); f = null; doEvents(); println("find " + s.FindText); };
      d.execute();
    )", [](TGuiScript&, fw::TCustomForm*) {}, "find needle\r\n"},
    {"StatusBarClick", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var sb = new VCLStatusBar(f); sb.Name = "SB";
      sb.onClick = function(s) { sb = null; f.release(); f = null; doEvents(); println("bar " + s.Name); };
    )", [](TGuiScript&, fw::TCustomForm* form) { Named<fw::TStatusBar>(form, "SB")->Click(); }, "bar SB\r\n"},
    {"ColumnClickReplacesTheColumns", R"(
      var f = new VCLForm(); f.Name = "Gone";
      var lv = new VCLListView(f); lv.Name = "LV"; lv.ViewStyle = "vsReport";
      var other = new VCLListView(f); other.column.add().Caption = "new";
      for (var i = 0; i < 3; i++) lv.column.add().Caption = "c" + i;
      lv.onColumnClick = function(s, column) {
        var was = column.Caption;
        s.Columns = other.Columns; f.release(); f = null; doEvents();
        try { column.Caption; } catch (e) { println(was + " replaced by " + s.column.items(0).Caption); }
      };
    )", [](TGuiScript&, fw::TCustomForm* form) { Named<fw::TListView>(form, "LV")->UserColumnClick(1); },
     "c1 replaced by new\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Kinds, GuiHostileInput, testing::ValuesIn(kHostileInputs),
                         [](const testing::TestParamInfo<THostileInput>& info) { return info.param.name; });

}  // namespace
