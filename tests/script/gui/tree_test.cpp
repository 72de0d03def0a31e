// Scripts against tree views (the framework's model, no windows): node wrappers kept in the
// nodes, navigation, the collection's members, tree text, the events expanding, selecting and
// editing fire, form descriptions with nodes, and custom draw around paints.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/fw/form.h"
#include "platform/fw/services.h"
#include "platform/fw/tree_view.h"
#include "script/core/base_engine.h"
#include "script/core/component.h"
#include "script/core/vcl_persistent.h"
#include "script/gui/caster.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

// Prints its arguments on one line, separated by spaces.
const std::string kSay =
    "function say() { var t = []; for (var i = 0; i < arguments.length; i++) t.push('' + arguments[i]);"
    " println(t.join(' ')); }\n";

std::string TempPath(const std::string& name) {
  const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
  return testing::TempDir() + "tree_" + t->name() + "_" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(GuiTree, SameWrapperForTheSameNodeAndData) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    var a = tv.Items.add(null, "a");
    var a1 = tv.Items.addChild(a, "a1");
    var b = tv.Items.add(a, "b");
    say(tv.Items.getFirstNode() === tv.Items.getFirstNode(), tv.Items.getFirstNode() === a);
    a.Data = {name: "payload"};
    say(tv.Items.item(0).Data.name, tv.Items[1] === a1, a1.Parent === a, b.Parent);
    var n = tv.Items.addObject(null, "c", 42);
    say(n.Data, n.Text, tv.Items.Count);
    var m = tv.Items.addChildObject(b, "b1", {k: 1});
    say(m.Data.k, m.Level, m.Parent === b, b.Count, m.TreeView === tv, m.Owner === tv.Items);
    say(tv.Items.Owner === tv, a.VCLclassName, tv.Items.VCLclassName);
    say(typeof(tv.Items.assign(tv.Items)), tv.Items.Count);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true true\r\npayload true true null\r\nnull c 4\r\n1 1 true 1 true true\r\n"
            "true TTreeNode TTreeNodes\r\nundefined 5\r\n");
}

TEST(GuiTree, NavigationAndDepthFirstOrder) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    var it = tv.Items;
    var r = it.add(null, "r");
    var x = it.addChild(r, "x");
    var y = it.addChild(r, "y");
    var z = it.addChildFirst(r, "z");
    var x1 = it.addChild(x, "x1");
    var s = it.add(r, "s");
    it.insert(s, "q");
    it.addFirst(r, "p");
    var order = [];
    for (var i = 0; i < it.Count; i++) order.push(it.item(i).Text + ":" + it.item(i).AbsoluteIndex);
    say(order.join(" "));
    say(x1.getNext().Text, y.getPrev().Text, r.getFirstChild().Text, r.getLastChild().Text);
    say(x.getNextSibling().Text, x.getPrevSibling().Text, z.getPrevSibling(), r.getNextChild(x).Text,
            r.getPrevChild(y).Text, r.getNextChild(x1));
    say(x1.hasAsParent(r), r.hasAsParent(x1), r.indexOf(y), r.indexOf(x1), r[2].Text, r.item(0).Text);
    say(x1.IsVisible, x1.getNextVisible(), r.getNextVisible().Text);
    r.expand(false);
    say(r.Expanded, x1.IsVisible, x.getNextVisible().Text, s.getPrevVisible().Text);
    r.expand(true);
    say(x1.IsVisible, x.Expanded, s.getPrevVisible().Text);
    r.collapse(true);
    say(r.Expanded, x.Expanded);
    try { it.item(it.Count); } catch (e) { say(e); }
    try { r.item(3); } catch (e) { say(e); }
    try { it[-1]; } catch (e) { say(e); }
    try { r.indexOf(5); } catch (e) { say(e); }
    var seen = [];
    for (var n in it) seen.push(n);
    say(seen.length);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "p:0 r:1 z:2 x:3 x1:4 y:5 q:6 s:7\r\n"
            "y x1 z y\r\n"
            "y z null y x null\r\n"
            "true false 2 -1 y z\r\n"
            "false null q\r\n"
            "true false y q\r\n"
            "true true q\r\n"
            "false false\r\n"
            "EVCLError\r\nEVCLError\r\nEVCLError\r\nEVCLError\r\n8\r\n");
}

TEST(GuiTree, MovingSortingDeletingAndAssigning) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    var it = tv.Items;
    var b = it.add(null, "b"), a = it.add(null, "A"), c = it.add(null, "c");
    it.addChild(b, "z"); it.addChild(b, "y");
    function texts() { var t = []; for (var i = 0; i < it.Count; i++) t.push(it.item(i).Level + it.item(i).Text); return t.join(","); }
    b.alphaSort();
    say(texts());
    var sorted = tv.alphaSort();
    say(sorted, texts());
    tv.onCompare = function(sender, n1, n2, data, cmp) { cmp.int = n1.Text < n2.Text ? 1 : (n1.Text > n2.Text ? -1 : 0); };
    tv.alphaSort();
    say(texts());
    tv.onCompare = null;
    c.moveTo(a, "naAddChild");
    b.moveTo(null, 1);
    say(texts());
    try { a.moveTo(c, "naAddChild"); } catch (e) { say(e); }
    try { a.moveTo(null, "naSomewhere"); } catch (e) { say(e); }
    try { a.moveTo(7, "naAdd"); } catch (e) { say(e); }
    var deleted = [];
    tv.onDeletion = function(sender, node) { deleted.push(node.Text + (node.Deleting ? "!" : "")); };
    var y = b.getFirstChild();
    y.Data = {};
    b.deleteChildren();
    say(deleted.join(","), b.Count, it.Count);
    try { y.Text; } catch (e) { say(e); }
    say(y.Data);
    it.delete(7); it.delete(null);
    a.delete();
    say(deleted.join(","), it.Count);
    var p = it.add(null, "p"), q = it.add(null, "q");
    q.ImageIndex = 3; q.StateIndex = 2; q.Cut = true; q.Data = [1, 2];
    it.addChild(p, "kid");
    var keep = p[0];
    p[0] = q;
    say(keep === p[0], p[0].Text, p[0].ImageIndex, p[0].StateIndex, p[0].Cut, p[0].Data.length);
    try { p[0] = null; } catch (e) { say(e); }
    try { p[0] = "x"; } catch (e) { say(e); }
    it.clear();
    say(it.Count, it.getFirstNode(), deleted.length);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "0b,1y,1z,0A,0c\r\n"
            "true 0A,0b,1y,1z,0c\r\n"
            "0c,0b,1z,1y,0A\r\n"
            "0b,1z,1y,0A,1c\r\n"
            "EVCLError\r\nEVCLError\r\nEVCLError\r\n"
            "y!,z! 0 3\r\nEVCLError\r\nnull\r\n"
            "y!,z!,A!,c! 1\r\n"
            "true q 3 2 true 2\r\n"
            "EVCLError\r\nEVCLError\r\n"
            "0 null 8\r\n");
}

// Every comparison hands the comparer a result box that looks new: it holds the texts' order,
// never a member an earlier comparison put on its box, and a box the script kept stays its own.
TEST(GuiTree, EveryComparisonGetsAResultBoxThatLooksNew) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    var names = ["d", "b", "E", "a", "c", "f", "B"];
    for (var i = 0; i < names.length; i++) tv.Items.add(null, names[i]);
    var kept = [], stale = 0, calls = 0, fresh = null;
    tv.onCompare = function(sender, a, b, data, result) {
      calls++;
      var keys = result.getKeys().join("/");
      if (fresh === null) fresh = keys;
      var x = a.Text.toLowerCase(), y = b.Text.toLowerCase();
      var order = x < y ? -1 : x > y ? 1 : 0;
      if (result.int != order || result.hasKey("mark") || keys != fresh) stale++;
      if (calls % 3 == 0) result.mark = calls;
      if (calls % 4 == 0) kept.push(result);
      if (calls % 5 == 0) result.removeKey("toFixed");
      result.int = -order;
    };
    tv.alphaSort();
    var list = [];
    for (var n = tv.Items.getFirstNode(); n != null; n = n.getNextSibling()) list.push(n.Text);
    var distinct = true;
    for (var i = 1; i < kept.length; i++) if (kept[i] === kept[i - 1]) distinct = false;
    say(list.join(","), stale, kept.length > 1, distinct);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "f,E,d,c,b,B,a 0 true true\r\n");
}

TEST(GuiTree, TreeTextSavedAndLoaded) {
  TGuiScript s;
  const std::string file = TempPath("tree.txt");
  const std::string bad = TempPath("bad.txt");
  const std::string spaces = TempPath("spaces.txt");
  {
    std::ofstream(bad, std::ios::binary) << "first\r\n\t\tdeep\r\nlast\r\n";
    std::ofstream(spaces, std::ios::binary) << "a\n b\n  c\n b2\nd";
  }
  auto r = s.Run(kSay + "var file = '" + file + "', bad = '" + bad + "', spaces = '" + spaces + "';\n" + R"(
    var tv = new VCLTreeView();
    var root = tv.Items.add(null, "root");
    tv.Items.addChild(root, "one"); tv.Items.addChild(root, "two");
    tv.saveToFile(file);
    var first = tv.Items.getFirstNode();
    tv.loadFromFile(file);
    say(tv.Items.Count, first.Data, tv.Items.getFirstNode().Count, tv.Items.getFirstNode() === tv.Items.getFirstNode());
    say(tv.Items.getFirstNode().getFirstChild().Text);
    try { tv.loadFromFile(bad); } catch (e) { say(e); }
    say(tv.Items.Count, tv.Items.getFirstNode().Text);
    tv.loadFromFile(spaces);
    var t = []; for (var i = 0; i < tv.Items.Count; i++) t.push(tv.Items.item(i).Level + tv.Items.item(i).Text);
    say(t.join(","));
    try { tv.loadFromFile(file + ".missing"); } catch (e) { say(e); }
    tv.Items.clear();
    tv.saveToFile(file + ".empty");
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadFile(file), "root\r\n\tone\r\n\ttwo\r\n");
  EXPECT_EQ(ReadFile(file + ".empty"), "");
  EXPECT_EQ(r.out,
            "3 null 2 true\r\none\r\n"
            "EVCLError\r\n"
            "1 first\r\n"
            "0a,1b,2c,1b2,0d\r\n"
            "EVCLError\r\n");
  std::remove(file.c_str());
  std::remove((file + ".empty").c_str());
  std::remove(bad.c_str());
  std::remove(spaces.c_str());
}

TEST(GuiTree, ExpansionSelectionAndEditingEvents) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    var log = [];
    var a = tv.Items.add(null, "a"), a1 = tv.Items.addChild(a, "a1"), b = tv.Items.add(null, "b");
    tv.onExpanding = function(sender, node, allow) { log.push("expanding " + node.Text); allow.bool = node.Text != "locked"; };
    tv.onExpanded = function(sender, node) { log.push("expanded " + node.Text); };
    tv.onCollapsing = function(sender, node, allow) { log.push("collapsing " + node.Text); };
    tv.onCollapsed = function(sender, node) { log.push("collapsed " + node.Text); };
    tv.onChanging = function(sender, node, allow) { log.push("changing " + (node ? node.Text : node)); allow.bool = node !== b; };
    tv.onChange = function(sender, node) { log.push("change " + (node ? node.Text : node)); };
    tv.onEditing = function(sender, node, allow) { log.push("editing " + node.Text); };
    tv.onEdited = function(sender, node, text) { log.push("edited " + text); text.str = text.str.toUpperCase(); };
    a.Expanded = true;
    a.collapse(false);
    b.expand(false);
    a.Text = "locked"; a.expand(false); a.Text = "a";
    say(log.join("|")); log = [];
    tv.Selected = a1;
    say(tv.Selected === a1, a1.Selected, a1.Focused, a.Expanded);
    b.Selected = true;
    say(tv.Selected === a1);
    tv.Selected = null;
    say(log.join("|"), tv.Selected); log = [];
    var started = a.editText();
    say(started, tv.isEditing());
    a.endEdit(false);
    say(tv.isEditing(), a.Text);
    a.editText(); a.endEdit(true);
    say(log.join("|"), a.Text);
    tv.ReadOnly = true;
    say(a.editText());
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "expanding a|expanded a|collapsing a|collapsed a|expanding locked\r\n"
            "true true true true\r\n"
            "true\r\n"
            "changing a1|expanding a|expanded a|change a1|changing b|changing null|change null null\r\n"
            "true true\r\n"
            "false A\r\n"
            "editing a|edited a|editing A A\r\n"
            "false\r\n");
}

TEST(GuiTree, GeometryHitTestsAndScrolling) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var tv = new VCLTreeView();
    tv.setBounds(0, 0, 200, 64);
    var it = tv.Items;
    var a = it.add(null, "a");
    for (var i = 0; i < 9; i++) it.addChild(a, "c" + i);
    a.expand(false);
    var rc = a.displayRect(false), tr = a.displayRect(true);
    say(rc.left, rc.top, rc.right, rc.bottom, tr.left, tr.top, tr.right > tr.left);
    say(tv.getNodeAt(5, 20).Text, tv.getNodeAt(5, 500), tv.getNodeAt(5, -1));
    say(tv.getHitTestInfoAt(tr.left + 1, 2), tv.getHitTestInfoAt(5, 2), tv.getHitTestInfoAt(150, 2));
    say(tv.getHitTestInfoAt(5, 60), tv.getHitTestInfoAt(-3, 2), tv.getHitTestInfoAt(250, 100));
    say(tv.getHitTestInfoAt(3, 18));
    say(tv.TopItem === a);
    a[8].makeVisible();
    say(tv.TopItem.Text, a[8].displayRect(false).top, a.displayRect(false).right);
    tv.TopItem = a;
    say(tv.TopItem === a);
    tv.fullCollapse();
    say(a.Expanded, a[8].displayRect(false).bottom);
    tv.fullExpand();
    say(a.Expanded);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "0 0 200 16 21 0 true\r\n"
            "c0 null null\r\n"
            "htOnItem,htOnLabel htOnButton htOnRight\r\n"
            "htOnIndent htToLeft htBelow,htToRight\r\n"
            "htOnIndent\r\n"
            "true\r\n"
            "c5 48 200\r\n"
            "true\r\n"
            "false 0\r\n"
            "true\r\n");
}

// A form with a tree written to a description and read back: the nodes come back with their
// shape and texts, and their wrappers hold no data (a pointer in a file means nothing).
TEST(GuiTree, DescriptionsKeepNodesButNoData) {
  TGuiScript s;
  auto r = s.Run(kSay + R"(
    var f = new VCLForm();
    f.loadFromText("object F: TForm\n  object T: TTreeView\n  end\nend\n");
    var tv = f.T;
    var top = tv.Items.add(null, "top");
    top.Data = {secret: 1};
    tv.Items.addChild(top, "child").Data = {secret: 2};
    var long = ""; for (var i = 0; i < 300; i++) long += "x";
    tv.Items.add(null, long);
    var text = f.saveToText();
    say(text.indexOf("Items.NodeData") > 0);
    var g = new VCLForm();
    g.loadFromText(text);
    var n = g.T.Items.getFirstNode();
    say(g.T.Items.Count, n.Text, n.Data, n.getFirstChild().Data, n.getFirstChild().Text, g.T.Items.item(2).Text.length);
    n.Data = {kept: true};
    say(g.T.Items.getFirstNode().Data.kept);
    tv.Items.item(2).delete();
    var short = f.saveToText();
    say(short.indexOf("Items.Data") > 0, short.indexOf("NodeData") < 0);
    var h = new VCLForm();
    h.loadFromText(short);
    say(h.T.Items.Count, h.T.Items.item(1).Text, h.T.Items.item(1).Data);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\n3 top null null child 300\r\ntrue\r\ntrue true\r\n2 child null\r\n");
}

// Handlers that delete nodes while the tree paints: the nodes leave the tree at once and are
// freed after the paint; wrappers made for a paint do not pile up over many paints.
TEST(GuiTree, CustomDrawAroundPaints) {
  TGuiScript s;
  s.AllowEvents(true);
  // The view's Tag picks what the handlers do: 0 tells, 1 deletes, 2 does nothing.
  auto r = s.Run(R"(
    var tv = new VCLTreeView();
    tv.setBounds(0, 0, 100, 100);
    var it = tv.Items;
    for (var i = 0; i < 5; i++) it.add(null, "n" + i);
    tv.onCustomDraw = function(sender, rect, def) {
      if (sender.Tag == 0) println("tree " + rect.left + "," + rect.top + "," + rect.right + "," + rect.bottom);
    };
    tv.onAdvancedCustomDraw = function(sender, rect, stage, def) { if (sender.Tag == 0) println(stage); };
    tv.onCustomDrawItem = function(sender, node, state, def) {
      if (sender.Tag == 0) println(node.Text + "[" + state + "]");
      if (sender.Tag == 1 && node.Text == "n0") {
        node.getNextSibling().delete();
        sender.Items.delete(node);
        return;
      }
      def.bool = node.Text != "n1";
    };
    tv.onAdvancedCustomDrawItem = function(sender, node, state, stage, images, def) {
      if (sender.Tag == 0) println("adv " + node.Text + " " + stage);
    };
    it.item(2).Selected = true;
    println(tv.handle);
  )");
  ASSERT_EQ(r.err, "");
  auto* view = static_cast<fw::TCustomTreeView*>(fw::FindHandleObject(fw::HWND(std::stoul(r.out))));
  ASSERT_NE(view, nullptr);
  std::string drawn;
  auto draw = [&](fw::TTreeNode& node, int32_t y, fw::TCustomDrawState) {
    drawn += node.Text() + "@" + std::to_string(y) + " ";
  };
  const size_t printed = s.Out().size();
  view->Paint(draw);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(drawn, "n0@0 n2@32 n3@48 n4@64 ");
  EXPECT_EQ(s.Out().substr(printed),
            "tree 0,0,100,100\r\ncdPrePaint\r\nn0[]\r\nadv n0 cdPrePaint\r\nn1[]\r\n"
            "n2[cdsSelected,cdsFocused]\r\nadv n2 cdPrePaint\r\nn3[]\r\nadv n3 cdPrePaint\r\n"
            "n4[]\r\nadv n4 cdPrePaint\r\ncdPostPaint\r\n");

  // n0 and n1 leave the tree during the paint; the rows taken before it go on with n2.
  view->SetTag(1);
  drawn.clear();
  view->Paint(draw);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(drawn, "n2@32 n3@48 n4@64 ");
  EXPECT_EQ(view->Items()->Count(), 3);
  EXPECT_EQ(view->Items()->Item(0)->Text(), "n2");

  view->SetTag(2);
  const size_t before = s.Component().Engine().Factory().Objects().Count();
  for (int i = 0; i < 10000; ++i) view->Paint(draw);
  const size_t after = s.Component().Engine().Factory().Objects().Count();
  EXPECT_EQ(s.Err(), "");
  EXPECT_LE(after, before + 2);
}

// The texts of the errors scripts see (each script ends with the error it reports).
TEST(GuiTree, ErrorMessages) {
  const std::string bad = TempPath("bad.txt");
  std::ofstream(bad, std::ios::binary) << "first\r\n\t\tdeep\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"var tv = new VCLTreeView(); tv.Items.item(0);", "TTreeNodes - arguments error"},
      {"var tv = new VCLTreeView(); var n = tv.Items.add(null, 'a'); n.item(0);", "TTreeNode - arguments error"},
      {"var tv = new VCLTreeView(); var n = tv.Items.add(null, 'a'); n.moveTo(null, 'naNowhere');",
       "TTreeNode - arguments error"},
      {"var tv = new VCLTreeView(); var n = tv.Items.add(null, 'a'); n.delete(); n.Text;", "TTreeNode - VCL is null"},
      {"var tv = new VCLTreeView(); var n = tv.Items.add(null, 'a'); tv.Items.add(n, 'b'); n[0] = null;",
       "TTreeNode - arguments error"},
      {"var tv = new VCLTreeView(); var n = tv.Items.addChild(null, 'a'); tv.Items.addChild(n, 'b');"
       " var m = tv.Items.add(null, 'c'); n.moveTo(n[0], 'naAddChild');",
       "TTreeNode - Cannot move a node into itself or its descendants"},
      {"var tv = new VCLTreeView(); tv.loadFromFile('" + bad + "');",
       "TTreeView - Invalid level (2) for item \"deep\""},
  };
  for (const auto& [script, message] : cases) {
    TGuiScript s;
    auto r = s.Run(script);
    EXPECT_NE(r.err.find("EVCLError"), std::string::npos) << script << "\n" << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << script << "\n" << r.err;
  }
  std::remove(bad.c_str());
}

TEST(GuiTree, BareNodeWrapperHasNoView) {
  fw::TTreeView view(nullptr);
  fw::TTreeNode* node = view.Items()->Add(nullptr, "bare");
  TGuiScript s;
  engine::TJObject* w = gui::GetCaster().Cast(node, &s.Component().Engine());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Name(), "VCLTreeNode");
  engine::TJKeepAlive keep(w);
  engine::TJValue value;
  try {
    w->GetMember("Text", false, nullptr, value);
    ADD_FAILURE() << "Text read without a view";
  } catch (const rt::Exception& e) {
    EXPECT_EQ(e.message(), "TTreeNode - vcl is null");
  }
  engine::TJValue data;
  EXPECT_NO_THROW(w->GetMember("Data", false, nullptr, data));
  EXPECT_TRUE(engine::IsNull(&data) || engine::IsUndefined(&data));
}

}  // namespace
