// Scripts against list boxes, check list boxes, combo boxes and radio groups (the framework's
// models, no windows): the one items object per wrapper, item natives with good and bad indexes,
// the events user input fires, and items objects kept after their component is gone.
#include <gtest/gtest.h>

#include "platform/fw/combo_box.h"
#include "platform/fw/group_box.h"
#include "platform/fw/list_box.h"
#include "platform/fw/panel.h"
#include "platform/fw/splitter.h"
#include "script/gui/caster.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

TEST(GuiLists, ListBoxItemsAndSelection) {
  TGuiScript s;
  auto r = s.Run(R"(
    var lb = new VCLListBox();
    lb.Height = 200;
    var items = lb.Items;
    println(items === lb.Items);
    items.add("one"); items.add("two"); items.add("three");
    println(lb.Items.count + " " + lb.ItemIndex + " " + lb.SelCount);
    var sel = lb.selected(1, true);
    println(lb.selected(5) + " " + lb.selected(-1) + " " + sel + " " + lb.ItemIndex);
    lb.ItemIndex = 2;
    println(lb.selected(1) + " " + lb.selected(2));
    var rc = lb.itemRect(1);
    println(rc.top + " " + (rc.bottom - rc.top) + " " + lb.itemRect(3) + " " + lb.itemRect(-1));
    println(lb.itemAtPos({x: 2, y: rc.top + 1}, true) + " " + lb.itemAtPos({x: 2, y: 100}, true) + " " + lb.itemAtPos({x: 2, y: 100}, false));
    try { lb.itemAtPos(3, true); } catch (e) { println(e); }
    lb.clear();
    println(lb.Items.count + " " + lb.ItemIndex);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true\r\n3 -1 -1\r\nfalse false true 1\r\nfalse true\r\n13 13 null null\r\n1 -1 3\r\n"
            "EVCLError\r\n0 -1\r\n");
}

TEST(GuiLists, MultiSelectListBox) {
  TGuiScript s;
  auto r = s.Run(R"(
    var lb = new VCLListBox();
    lb.MultiSelect = true;
    lb.Items.text = "a\nb\nc\nd\n";
    lb.selectAll();
    println(lb.SelCount);
    lb.selected(0, false);
    lb.selected(2, false);
    lb.deleteSelected();
    println(lb.Items.commaText + " " + lb.SelCount);
    lb.selectAll(); lb.clearSelection();
    println(lb.SelCount);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "4\r\na,c 0\r\n0\r\n");
}

TEST(GuiLists, CheckListBoxMarks) {
  TGuiScript s;
  auto r = s.Run(R"(
    var cl = new VCLCheckListBox();
    cl.AllowGrayed = true;
    cl.Items.text = "x\ny\n";
    println(cl.state(0, "cbGrayed") + " " + cl.state(1, 2) + " " + cl.checked(0));
    println(cl.state(0, "grey") + " " + cl.state(0, 7) + " " + cl.state(9) + "|");
    var c1 = cl.checked(1, true);
    println(c1 + " " + cl.state(1) + " " + cl.checked(4, true));
    var e0 = cl.itemEnabled(0, false);
    println(e0 + " " + cl.itemEnabled(0) + " " + cl.itemEnabled(1));
    println(cl.state(0, 0) + " " + cl.VCLclassName);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "cbGrayed cbGrayed false\r\ncbGrayed cbGrayed |\r\ntrue cbChecked false\r\nfalse false true\r\n"
            "cbUnchecked TCheckListBox\r\n");
}

TEST(GuiLists, UserInputReachesTheHandlers) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "ListsForm";
    var lb = new VCLListBox(f);
    lb.Name = "lb";
    lb.Items.add("p"); lb.Items.add("q");
    lb.onClick = function(sender) { println("click " + sender.ItemIndex); };
    var cl = new VCLCheckListBox(f);
    cl.Name = "cl";
    cl.Items.add("k");
    cl.onClickCheck = function(sender) { println("check " + sender.checked(0)); };
    var cb = new VCLComboBox(f);
    cb.Name = "cb";
    cb.Items.add("alpha"); cb.Items.add("beta");
    cb.onClick = function(sender) { println("combo click " + sender.ItemIndex); };
    cb.onChange = function(sender) { println("combo change " + sender.Text); };
    cb.onDropDown = function(sender) { println("drop"); };
    var rg = new VCLRadioGroup(f);
    rg.Name = "rg";
    rg.Items.add("s"); rg.Items.add("m");
    rg.onClick = function(sender) { println("group " + sender.ItemIndex); };
    rg.ItemIndex = 1;
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  auto find = [&](const char* name) -> fw::TComponent* {
    for (int i = 0; i < fw::Screen()->FormCount(); ++i)
      if (fw::Screen()->Forms(i)->Name() == "ListsForm") return fw::Screen()->Forms(i)->FindChildControl(name);
    return nullptr;
  };
  auto* lb = dynamic_cast<fw::TListBox*>(find("lb"));
  auto* cl = dynamic_cast<fw::TCheckListBox*>(find("cl"));
  auto* cb = dynamic_cast<fw::TComboBox*>(find("cb"));
  auto* rg = dynamic_cast<fw::TRadioGroup*>(find("rg"));
  ASSERT_TRUE(lb && cl && cb && rg);
  lb->UserSelect(1);
  cl->UserToggle(0);
  cb->SetDroppedDown(true);
  cb->UserSelect(1);
  cb->UserEdit("gamma");
  rg->UserClick(0);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(),
            "group 1\r\nclick 1\r\ncheck true\r\ndrop\r\ncombo click 1\r\ncombo change beta\r\n"
            "combo change gamma\r\ngroup 0\r\n");
}

TEST(GuiLists, ComboBoxSurface) {
  TGuiScript s;
  auto r = s.Run(R"(
    var cb = new VCLComboBox();
    println(cb.Items === cb.Items);
    cb.Items.add("naïve"); cb.Items.add("plain");
    cb.ItemIndex = 0;
    println(cb.Text + " " + cb.ItemIndex + " " + cb.CharCase);
    cb.CharCase = "ecUpperCase";
    println(cb.Text + " " + cb.CharCase);
    cb.CharCase = "upper";
    println(cb.CharCase);
    cb.SelStart = 3; cb.SelLength = 2;
    println(cb.SelText + " " + cb.SelStart + " " + cb.SelLength);
    cb.SelText = "x";
    println(cb.Text);
    println(cb.selectAll() === cb);
    println(cb.SelLength + " " + cb.DroppedDown);
    cb.clear();
    println(cb.Items.count + " [" + cb.Text + "] " + cb.ItemIndex);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true\r\nnaïve 0 ecNormal\r\nNAïVE ecUpperCase\r\necUpperCase\r\nVE 3 2\r\nNAïX\r\ntrue\r\n4 false\r\n"
            "0 [] -1\r\n");
}

TEST(GuiLists, KeptItemsObjectsDetachWithTheirComponent) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    var cb = new VCLComboBox(f);
    var rg = new VCLRadioGroup(f);
    var lb = new VCLListBox(f);
    var a = cb.Items, b = rg.Items, c = lb.Items;
    a.add("1"); b.add("2"); c.add("3");
    println(a.count + b.count + c.count);
    f = null;
    try { a.add("x"); } catch (e) { println(e); }
    try { b.count; } catch (e) { println(e); }
    try { lb.Items; } catch (e) { println(e); }
    try { c.add("y"); } catch (e) { println(e); }
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "3\r\nEStringsError\r\nEStringsError\r\nEVCLError\r\nEStringsError\r\n");
}

TEST(GuiLists, CasterGivesEachFamilyItsWrapper) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TForm form(nullptr);
  auto* lb = new fw::TListBox(&form);
  auto* cl = new fw::TCheckListBox(&form);
  auto* cb = new fw::TComboBox(&form);
  auto* rg = new fw::TRadioGroup(&form);
  auto* gb = new fw::TGroupBox(&form);
  gui::TJVCLCaster& caster = gui::GetCaster();
  engine::TJRef<engine::TJObject> w1(caster.Cast(lb, &engine)), w2(caster.Cast(cl, &engine)),
      w3(caster.Cast(cb, &engine)), w4(caster.Cast(rg, &engine)), w5(caster.Cast(gb, &engine));
  EXPECT_EQ(w1->Name(), "VCLListBox");
  EXPECT_EQ(w2->Name(), "VCLCheckListBox");
  EXPECT_EQ(w3->Name(), "VCLComboBox");
  EXPECT_EQ(w4->Name(), "VCLRadioGroup");
  EXPECT_EQ(w5->Name(), "VCLGroupBox");
}

}  // namespace

namespace {

using guitest::TGuiScript;

TEST(GuiContainers, ProgressBarAndSplitterAndPanelEvents) {
  TGuiScript s;
  auto r = s.Run(R"(
    var f = new VCLForm();
    f.Name = "Containers";
    f.ClientWidth = 400; f.ClientHeight = 300;
    var p = new VCLPanel(f);
    p.Name = "Left";
    p.Width = 100; p.Align = "alLeft";
    var sp = new VCLSplitter(f);
    sp.Name = "Split";
    sp.Left = 200; sp.Align = "alLeft";
    sp.onCanResize = function(sender, newSize, accept) {
      println("split " + arguments.length + " " + newSize.int);
      if (newSize.int > 150) newSize.int = 50;
    };
    sp.onMoved = function(sender) { println("moved " + p.Width); };
    p.onCanResize = function(sender, w, h, resize) { println("panel " + arguments.length); };
    var pb = new VCLProgressBar(f);
    pb.stepBy(30);
    println(pb.stepBy(-5) === pb);
    var before = pb.Position;
    println(before + " " + pb.stepIt().Position);
    var g = new VCLGroupBox(f);
    g.Caption = "grp";
    var img = new VCLImage(f);
    println(g.VCLclassName + " " + img.VCLclassName + " " + sp.VCLclassName + " " + pb.VCLclassName);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\n25 35\r\nTGroupBox TImage TSplitter TProgressBar\r\n");
  s.AllowEvents(true);
  fw::TCustomForm* form = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "Containers") form = fw::Screen()->Forms(i);
  ASSERT_NE(form, nullptr);
  auto* split = dynamic_cast<fw::TSplitter*>(form->FindChildControl("Split"));
  ASSERT_NE(split, nullptr);
  split->UserMoveBy(20);
  split->UserMoveBy(100);
  auto* panel = dynamic_cast<fw::TPanel*>(form->FindChildControl("Left"));
  ASSERT_NE(panel, nullptr);
  int32_t w = 10, h = 10;
  bool resize = true;
  panel->OnCanResize(panel, w, h, resize);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out().substr(s.Out().find("split")),
            // The splitter's new size is the panel's size change: the panel is asked too.
            "split 3 120\r\npanel 4\r\nmoved 120\r\nsplit 3 220\r\npanel 4\r\nmoved 50\r\npanel 4\r\n");
}

}  // namespace
