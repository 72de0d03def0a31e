// Scripts against list views (the framework's model, no windows): items reached through their one
// wrapper with their data, item assignment, owner data with transient wrappers, columns, sorting
// through the script's comparer, selection events, descriptions saved and read back with wrapped
// items, paints whose handlers change the list, and the engine's object count over many paints.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/fw/form.h"
#include "platform/fw/form_text.h"
#include "platform/fw/list_view.h"
#include "platform/fw/reader.h"
#include "platform/fw/registration.h"
#include "platform/fw/stream.h"
#include "platform/fw/writer.h"
#include "script/core/factory.h"
#include "script/gui/caster.h"
#include "tests/script/gui/gui_fixture.h"

namespace {

using guitest::TGuiScript;

// say(a, b, ...) prints its arguments on one line, separated by spaces.
const char kSay[] =
    "function say(a, b, c, d, e, f, g, h) { var t = [];"
    " var p = function(x) { if (!isUndefined(x)) t.push(\"\" + x); };"
    " p(a); p(b); p(c); p(d); p(e); p(f); p(g); p(h); println(t.join(' ')); }\n";

guitest::TScriptResult RunScript(TGuiScript& s, const std::string& source) { return s.Run(kSay + source); }

fw::TCustomListView* FindListView(const std::string& form, const std::string& name) {
  for (int i = 0; i < fw::Screen()->FormCount(); ++i) {
    fw::TCustomForm* f = fw::Screen()->Forms(i);
    if (f->Name() == form) return dynamic_cast<fw::TCustomListView*>(f->FindChildControl(name));
  }
  return nullptr;
}

TEST(GuiListView, ItemsKeepOneWrapperWithItsData) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.ViewStyle = "vsReport";
    var items = lv.items;
    say(items === lv.items, items.Count, items.Owner === lv);
    var a = items.add();
    a.Caption = "one";
    a.SubItems.add("1 KB");
    var b = items.add();
    b.Caption = "two";
    var first = items.item(0);
    say(first === a, items[1] === b, items.item(2), items[2], items.item(-1));
    a.Data = {size: 10};
    say(items[0].Data.size, a.ListView === lv, a.Owner === items, a.Index, b.Index);
    say(items.indexOf(b), items.indexOf(null));
    try { items.indexOf(5); } catch (e) { say(e); }
    var c = items.insert(0);
    c.Caption = "zero";
    say(items.Count, a.Index, items[0].Caption, items[1].SubItems.text);
    var names = [];
    for (var i = 0; i < items.Count; i++) names.push(items[i].Caption);
    say(names.join(","));
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true 0 true\r\ntrue true null null null\r\n10 true true 0 1\r\n1 -1\r\nEVCLError\r\n"
            "3 1 zero 1 KB\r\n\r\nzero,one,two\r\n");
}

TEST(GuiListView, DeletionTellsTheScriptThenUnbindsTheWrapper) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.onDeletion = function(sender, item) { say("deleting " + item.Caption + " " + (item.Data ? item.Data.n : "-")); };
    lv.onInsert = function(sender, item) { say("inserted " + item.Index); };
    var a = lv.items.add(); a.Caption = "a"; a.Data = {n: 1};
    var b = lv.items.add(); b.Caption = "b";
    lv.items.delete(0);
    say(lv.items.Count, a.Data);
    try { a.update(); } catch (e) { say(e); }
    b.delete();
    say(lv.items.Count);
    lv.items.add(); lv.items.add();
    lv.items.clear();
    say(lv.items.Count);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "inserted 0\r\ninserted 1\r\ndeleting a 1\r\n1 null\r\nEVCLError\r\ndeleting b -\r\n0\r\n"
            "inserted 0\r\ninserted 1\r\ndeleting  -\r\ndeleting  -\r\n0\r\n");
}

TEST(GuiListView, WritingAnItemCopiesItButKeepsTheTargetsWrapper) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.Checkboxes = true;
    var src = lv.items.add();
    src.Caption = "source"; src.ImageIndex = 3; src.Indent = 2; src.Checked = true;
    src.SubItems.text = "x\ny\n";
    src.Data = {tag: "S"};
    var dst = lv.items.add();
    dst.Caption = "target";
    var result = (lv.items[1] = src);
    say(result === src, lv.items[1] === dst);
    say(dst.Caption, dst.ImageIndex, dst.Indent, dst.Checked, dst.SubItems.commaText, dst.Data.tag);
    var before = dst.subItemImages(0);
    var set = dst.subItemImages(0, 7);
    say(before, set, dst.subItemImages(0), dst.subItemImages(2));
    try { lv.items.item(0, null); } catch (e) { say(e); }
    try { lv.items.item(0, 3); } catch (e) { say(e); }
    say(lv.items.item(5, src));
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "true true\r\nsource 3 2 true x,y S\r\n-1 7 7 -1\r\nEVCLError\r\n"
            "EVCLError\r\nnull\r\n");
}

TEST(GuiListView, OwnerDataMakesTransientWrappers) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.ViewStyle = "vsReport";
    lv.OwnerData = true;
    lv.onData = function(sender, item) { item.Caption = "row " + item.Index; item.Data = {}; };
    lv.items.Count = 100000;
    var x = lv.items[5], y = lv.items[5];
    say(lv.items.Count, x === y, x.Caption, y.Caption, lv.items[99999].Caption, lv.items[100000]);
    try { lv.items.add(); } catch (e) { say(e); }
    lv.ItemIndex = 7;
    say(lv.Selected.Caption, lv.SelCount, lv.items[7].Selected);
    lv.onDataFind = function(sender, find, text, pos, data, start, dir, wrap, index) {
      say(find + " " + text + " " + start + " " + dir + " " + wrap);
      index.int = 42;
    };
    say(lv.findCaption(0, "row 42", false, true, true).Caption);
    lv.items.Count = 3;
    say(lv.items.Count, lv.SelCount);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "100000 false row 5 row 5 row 99999 null\r\nEVCLError\r\n"
            "row 7 1 true\r\nifExactString row 42 0 sdAll true\r\nrow 42\r\n3 0\r\n");
}

TEST(GuiListView, OwnerDataTellsRangesAndHints) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "DataForm";
    var lv = new VCLListView(f); lv.Name = "lv";
    lv.ViewStyle = "vsReport"; lv.OwnerData = true; lv.MultiSelect = true;
    lv.items.Count = 1000;
    lv.onDataStateChange = function(sender, from, to, before, after) { say("states " + from + "-" + to + " [" + before + "] [" + after + "]"); };
    lv.onDataHint = function(sender, from, to) { say("hint " + from + "-" + to); };
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("DataForm", "lv");
  ASSERT_TRUE(lv);
  lv->UserSelect(3);
  lv->UserSelect(6, true);
  EXPECT_EQ(lv->SelCount(), 4);
  lv->SetTopIndex(500);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(), "states 3-6 [] [isSelected]\r\nhint 500-506\r\n");
}

TEST(GuiListView, ColumnsAndTheirWrappers) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.ViewStyle = "vsReport";
    var c = lv.column.add();
    c.Caption = "Name"; c.Width = 120;
    lv.column.add().Caption = "Size";
    say(lv.column.Count, lv.column.items(1).Caption, lv.column.items(0).Width, c.VCLclassName);
    try { lv.column.items(2); } catch (e) { say(e); }
    var it = lv.items.add(); it.Caption = "a";
    var r = it.displayRect("drBounds");
    say(r.left, r.top, r.right, r.bottom, it.displayRect("drNothing"), it.displayRect(1).top);
    say(lv.getItemAt(5, 25) === it, lv.getItemAt(5, 60), lv.getHitTestInfoAt(5, 25), lv.getHitTestInfoAt(5, 80));
    lv = null;
    try { c.Caption; } catch (e) { say(e); }
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "2 Size 120 TPersistent\r\nEVCLError\r\n0 20 170 37 null 20\r\n"
            "true null htOnLabel htNowhere\r\nEVCLError\r\n");
}

TEST(GuiListView, SortingGoesThroughTheScriptsComparer) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    var words = ["pear", "Apple", "fig", "banana"];
    for (var i = 0; i < words.length; i++) { var it = lv.items.add(); it.Caption = words[i]; it.Data = {n: i}; }
    var list = function() { var a = []; for (var i = 0; i < lv.items.Count; i++) a.push(lv.items[i].Caption); return a.join(","); };
    var sortedByName = lv.alphaSort();
    say(sortedByName, list());
    lv.onCompare = function(sender, a, b, data, compare) { compare.int = b.Caption.length - a.Caption.length; };
    lv.alphaSort();
    say(list(), lv.items[0].Data.n);
    lv.onCompare = function(sender, a, b, data, compare) { throw "stop"; };
    try { lv.alphaSort(); } catch (e) { say("thrown " + e); }
    say(list());
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true Apple,banana,fig,pear\r\nbanana,Apple,pear,fig 3\r\nthrown EVCLError\r\nbanana,Apple,pear,fig\r\n");
}

// Every comparison hands the comparer a result box that looks new: it holds 0, never a member an
// earlier comparison put on its box, and a box the script kept stays the script's own.
TEST(GuiListView, EveryComparisonGetsAResultBoxThatLooksNew) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    var names = ["d", "b", "e", "a", "c", "f"];
    for (var i = 0; i < names.length; i++) lv.items.add().Caption = names[i];
    var kept = [], stale = 0, calls = 0, fresh = null;
    lv.onCompare = function(sender, a, b, data, result) {
      calls++;
      var keys = result.getKeys().join("/");
      if (fresh === null) fresh = keys;
      if (result.int != 0 || result.hasKey("mark") || keys != fresh) stale++;
      if (calls % 3 == 0) result.mark = calls;
      if (calls % 4 == 0) kept.push(result);
      if (calls % 5 == 0) result.removeKey("toFixed");
      result.int = a.Caption < b.Caption ? -1 : a.Caption > b.Caption ? 1 : 0;
    };
    lv.alphaSort();
    var list = [];
    for (var i = 0; i < lv.items.Count; i++) list.push(lv.items[i].Caption);
    var distinct = true;
    for (var i = 1; i < kept.length; i++) if (kept[i] === kept[i - 1]) distinct = false;
    say(list.join(","), stale, kept.length > 1, distinct, kept[0].int != 0 || kept[1].int != 0);
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "a,b,c,d,e,f 0 true true true\r\n");
}

// A handler runs with its component's names in scope: published properties in any case, members and
// methods of the wrapper, and globals behind them.
TEST(GuiListView, HandlersSeeTheirComponentsNamesBeforeGlobals) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.Name = "viewName";
    lv.extra = "member";
    var Tag = "global";
    var missing = "global too";
    lv.items.add().Caption = "b";
    lv.items.add().Caption = "a";
    var once = true;
    lv.onCompare = function(sender, a, b, data, result) {
      if (once) say(name, NAME, extra, (typeof alphaSort), Tag, missing);
      once = false;
      result.int = a.Caption < b.Caption ? -1 : 1;
    };
    lv.alphaSort();
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "viewName viewName member function 0 global too\r\n");
}

// A comparer that deletes and adds items does so after the sort: the sort never meets an item it
// no longer has.
TEST(GuiListView, ChangesMadeByAComparerWaitForTheSortToEnd) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    var names = ["d", "b", "e", "a", "c"];
    for (var i = 0; i < names.length; i++) lv.items.add().Caption = names[i];
    var once = true;
    lv.onDeletion = function(sender, item) { say("deleted " + item.Caption); };
    lv.onCompare = function(sender, a, b, data, result) {
      if (once) { once = false; sender.items.delete(0); sender.items.add().Caption = "f"; say("asked with " + sender.items.Count); }
      result.int = a.Caption < b.Caption ? -1 : a.Caption > b.Caption ? 1 : 0;
    };
    var sorted = lv.alphaSort();
    var list = [];
    for (var i = 0; i < lv.items.Count; i++) list.push(lv.items[i].Caption);
    say(sorted, list.join(","));
  )");
  EXPECT_EQ(r.err, "");
  // delete(0) named the item at 0 when it was asked: "d", before the sort moved it.
  EXPECT_EQ(r.out, "asked with 5\r\ndeleted d\r\ntrue a,b,c,e,f\r\n");
}

TEST(GuiListView, ColumnClicksAndSelectionReachHandlers) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "LVForm";
    var lv = new VCLListView(f); lv.Name = "lv";
    lv.ViewStyle = "vsReport";
    lv.column.add().Caption = "Name";
    lv.column.add().Caption = "Size";
    var data = [["b", 2], ["c", 1], ["a", 3]];
    for (var i = 0; i < data.length; i++) { var it = lv.items.add(); it.Caption = data[i][0]; it.SubItems.add("" + data[i][1]); }
    var sortColumn = 0;
    lv.onColumnClick = function(sender, column) { say("column " + column.Caption); sortColumn = column.Caption == "Name" ? 0 : 1; sender.alphaSort(); };
    lv.onCompare = function(sender, a, b, d, compare) {
      var x = sortColumn == 0 ? a.Caption : parseInt(a.SubItems[0]);
      var y = sortColumn == 0 ? b.Caption : parseInt(b.SubItems[0]);
      compare.int = x < y ? -1 : x > y ? 1 : 0;
    };
    lv.onChanging = function(sender, item, change, allow) { say("changing " + item.Caption + " " + change); allow.bool = item.Caption != "c"; };
    lv.onChange = function(sender, item, change) { say("change " + item.Caption + " " + change); };
    lv.onSelectItem = function(sender, item, selected) { say("select " + item.Caption + " " + selected); };
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("LVForm", "lv");
  ASSERT_TRUE(lv);
  auto captions = [&] {
    std::string s;
    for (int i = 0; i < lv->Items()->Count(); ++i) s += lv->Items()->Item(i)->Caption();
    return s;
  };
  lv->UserColumnClick(1);
  EXPECT_EQ(captions(), "cba");
  lv->UserColumnClick(0);
  EXPECT_EQ(captions(), "abc");
  lv->UserSelect(1);
  lv->UserSelect(2);
  EXPECT_EQ(lv->ItemIndex(), -1);
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(),
            "column Size\r\ncolumn Name\r\nchanging b ctState\r\nchange b ctState\r\nselect b true\r\n"
            "changing b ctState\r\nchange b ctState\r\nselect b false\r\nchanging c ctState\r\n");
}

TEST(GuiListView, SelectionFocusAndSearching) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var lv = new VCLListView();
    lv.ViewStyle = "vsReport";
    lv.MultiSelect = true;
    var names = ["alpha", "beta", "Betamax", "gamma"];
    for (var i = 0; i < names.length; i++) lv.items.add().Caption = names[i];
    lv.items[1].Selected = true; lv.items[3].Selected = true;
    say(lv.SelCount, lv.ItemIndex, lv.Selected.Caption);
    lv.ItemFocused = lv.items[3];
    say(lv.ItemFocused.Caption, lv.items[3].Focused);
    var n = lv.getNextItem(lv.items[1], "sdAll", "[isSelected]");
    say(n.Caption, lv.getNextItem(lv.items[3], "sdBelow", "isSelected"), lv.getNextItem(null, 4, "isFocused,isSelected").Caption);
    try { lv.getNextItem(1, "sdAll", ""); } catch (e) { say(e); }
    try { lv.getNextItem(null, "sdNowhere", ""); } catch (e) { say(e); }
    say(lv.findCaption(0, "BETA", true, false, false).Caption, lv.findCaption(2, "alp", true, false, true).Caption,
            lv.findCaption(0, "bet", false, true, false), typeof lv.findData(1, 2));
    lv.Selected = null;
    say(lv.SelCount, lv.ItemIndex, lv.Selected);
    say(lv.getNearestItem({x: 5, y: 60}, "sdAll").Caption);
    try { lv.getNearestItem(3, "sdAll"); } catch (e) { say(e); }
    try { lv.arrange("arNowhere"); } catch (e) { say(e); }
    say(lv.arrange("arDefault") === lv, lv.arrange(4) === lv);
    try { lv.items[0].Position = null; } catch (e) { say(e); }
  )");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "2 1 beta\r\ngamma true\r\ngamma null gamma\r\nEVCLError\r\n"
            "EVCLError\r\nbeta alpha null undefined\r\n0 -1 null\r\nBetamax\r\n"
            "EVCLError\r\nEVCLError\r\ntrue true\r\n"
            "EVCLError\r\n");
}

// The errors a script sees name the framework class the wrapper stands for.
TEST(GuiListView, ErrorMessagesNameTheFrameworkClass) {
  const std::pair<const char*, const char*> cases[] = {
      {"var a = lv.items[0]; a.delete(); a.update();", "TListItem - VCL is null"},
      {"lv.items.item(0, null);", "TListItems - Cannot assign a nil to a TListItem"},
      {"lv.items.item(0, 3);", "TListItems - arguments error"},
      {"lv.items.indexOf('x');", "TListItems - arguments error"},
      {"lv.column.items(2);", "TListColumns - arguments error"},
      {"lv.getNextItem(1, 'sdAll', '');", "TListView - arguments error"},
      {"lv.getNextItem(null, 'sdAll', 'isHappy');", "TListView - arguments error"},
      {"lv.getNearestItem(3, 'sdAll');", "TListView - arguments error"},
      {"lv.arrange('arNowhere');", "TListView - arguments error"},
      {"lv.items[0].Position = null;", "TListItem - arguments error"},
      {"lv.OwnerData = true; lv.items.add();", "TListItems - Owner data lists keep no items"},
      {"var c = lv.column.add(); lv = null; c.Caption;", "TPersistent - VCL is null"},
      {"lv.findCaption(0, 'x', true, true);", "TListView - arguments error"},
  };
  for (const auto& [statement, message] : cases) {
    TGuiScript s;
    auto r = s.Run(std::string("var lv = new VCLListView(); lv.items.add();\n") + statement);
    EXPECT_EQ(r.err, std::string("Exception: EVCLError(2) => ") + message + "\r\n") << statement;
  }
}

TEST(GuiListView, ItemWrappersOutsideTheirViewSayLowerCaseVclIsNull) {
  TGuiScript s;
  auto& engine = s.Component().Engine();
  fw::TListView lv(nullptr);
  fw::TListItem* item = lv.Items()->Add();
  engine::TJRef<engine::TJObject> w(gui::GetCaster().Cast(item, &engine));
  ASSERT_TRUE(w);
  EXPECT_EQ(w->Name(), "VCLListItem");
  engine::TJValue v;
  EXPECT_THROW(w->GetMember("Caption", false, nullptr, v), engine::EJThrow);
  try {
    w->GetMember("Caption", false, nullptr, v);
  } catch (const engine::EJThrow& e) {
    EXPECT_EQ(e.message(), "TListItem - vcl is null");
  }
}

// A description saved with wrapped items and read back gives items without stale data, and data
// set on an item read from a description stays with it, in both the text and the binary form.
TEST(GuiListView, DescriptionsKeepNoWrapperAndLoadedItemsKeepTheirData) {
  TGuiScript s;
  const std::string dir = testing::TempDir() + "/lvdesc_" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "Src";
    f.loadFromText("object Src: TForm\n  object LV: TListView\n    Columns = <\n      item\n        Caption = 'Name'\n"
                   + "        Width = 120\n      end>\n    ViewStyle = vsReport\n  end\nend\n");
    var lv = f.LV;
    for (var i = 0; i < 3; i++) {
      var it = lv.items.add(); it.Caption = "item" + i; it.SubItems.add("s" + i); it.Data = {n: i};
      it.subItemImages(0, i + 4);
    }
    var text = f.saveToText();
    say(text.indexOf("Items.Data") > 0);
    var g = new VCLForm(); g.Name = "Dst";
    g.loadFromText(text.replace("Src", "Dst"));
    var items = g.LV.items;
    say(items.Count, items[1].Caption, items[1].SubItems[0], items[1].subItemImages(0), items[1].Data, items[2].Data);
    items[1].Data = {kept: true};
    say(items[1].Data.kept, items.item(1).Data.kept, items[1] === items[1]);
    say(g.LV.column.Count, g.LV.column.items(0).Caption, g.LV.column.items(0).Width);
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\n3 item1 s1 5 null null\r\ntrue true true\r\n1 Name 120\r\n");

  // The binary form of the same description, with the program's own pointers set on the items:
  // they are written as 0.
  fw::TCustomListView* dst = FindListView("Dst", "LV");
  ASSERT_TRUE(dst);
  for (int i = 0; i < dst->Items()->Count(); ++i) dst->Items()->Item(i)->SetData(reinterpret_cast<void*>(0x1234));
  fw::TStringStream binary;
  {
    fw::TWriter writer(binary);
    writer.WriteDescendent(fw::GetParentForm(dst));
  }
  const std::string bytes = binary.DataString();
  EXPECT_EQ(bytes.find(std::string("\x34\x12\0\0", 4)), std::string::npos);
  const std::string path = dir + "/form.dfm";
  {
    std::ofstream out(path, std::ios::binary);
    std::string renamed = bytes;
    const size_t at = renamed.find("Dst");
    ASSERT_NE(at, std::string::npos);
    renamed.replace(at, 3, "Bin");
    out << renamed;
  }
  r = RunScript(s, "var h = new VCLForm(); h.Name = 'Bin'; h.loadFromFile('" + path +
            "');\n"
            "var its = h.LV.items; say(its.Count, its[2].Caption, its[2].Data);\n"
            "its[2].Data = [7]; say(its[2].Data[0], h.LV.items.item(2).Data[0]);\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "3 item2 null\r\n7 7\r\n");
  std::filesystem::remove_all(dir);
}

TEST(GuiListView, LongCaptionsSurviveTheBinaryForm) {
  fw::RegisterFrameworkClasses();
  fw::TForm form(nullptr);
  form.SetName("F");
  auto* view = new fw::TListView(&form);
  view->SetName("LV");
  view->SetParent(&form);
  view->Items()->Add()->SetCaption(std::string(300, 'y'));
  view->Items()->Item(0)->SubItems()->Add(std::string(256, 'z'));
  fw::TStringStream binary;
  {
    fw::TWriter writer(binary);
    writer.WriteDescendent(&form);
  }
  EXPECT_NE(binary.DataString().find("Items.ItemData"), std::string::npos);
  fw::TForm back(nullptr);
  binary.SetPosition(0);
  fw::TReader reader(binary);
  reader.ReadRootComponent(&back);
  auto* read = dynamic_cast<fw::TListView*>(back.FindChildControl("LV"));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->Items()->Count(), 1);
  EXPECT_EQ(read->Items()->Item(0)->Caption(), std::string(300, 'y'));
  EXPECT_EQ(read->Items()->Item(0)->SubItems()->Get(0), std::string(256, 'z'));
}

// Handlers that change the list while it is painted: the changes wait until the paint is over.
TEST(GuiListView, ChangesMadeWhilePaintingWaitForThePaintToEnd) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "PaintForm";
    var lv = new VCLListView(f); lv.Name = "lv";
    lv.ViewStyle = "vsReport";
    lv.column.add().Caption = "Name";
    for (var i = 0; i < 5; i++) lv.items.add().Caption = "i" + i;
    var seen = [];
    lv.onCustomDrawItem = function(sender, item, state, draw) {
      seen.push(item.Caption + ":" + sender.items.Count);
      if (item.Index == 1) { sender.items.delete(0); sender.items.add().Caption = "new"; }
      if (item.Index == 2) sender.alphaSort();
      draw.bool = item.Index != 3;
    };
    lv.onCustomDraw = function(sender, rect, draw) { say("view " + rect.left + " " + rect.top + " " + rect.right + " " + rect.bottom); };
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("PaintForm", "lv");
  ASSERT_TRUE(lv);
  std::vector<int> drawn;
  lv->PaintItems([&](int32_t index, fw::TListItem&, int32_t sub) {
    if (sub < 0) drawn.push_back(index);
  });
  EXPECT_EQ(lv->Items()->Count(), 5);
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 4}));
  s.Pump().ProcessMessages();
  ASSERT_EQ(lv->Items()->Count(), 5);
  std::string captions;
  for (int i = 0; i < lv->Items()->Count(); ++i) captions += lv->Items()->Item(i)->Caption() + ",";
  EXPECT_EQ(captions, "i1,i2,i3,i4,new,");
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(), "view 0 0 250 150\r\n");
}

// Many paints with custom-draw handlers leave no objects behind: the item wrappers are the stored
// ones, and what a handler is given for one call goes when the call is over.
TEST(GuiListView, PaintsDoNotAccumulateObjects) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "ManyPaints";
    var lv = new VCLListView(f); lv.Name = "lv";
    lv.ViewStyle = "vsReport";
    lv.column.add(); lv.column.add();
    for (var i = 0; i < 6; i++) { var it = lv.items.add(); it.Caption = "r" + i; it.SubItems.add("s"); }
    var calls = 0;
    lv.onCustomDraw = function(sender, rect, draw) { calls++; };
    lv.onCustomDrawItem = function(sender, item, state, draw) { calls++; draw.bool = item.Caption != ""; };
    lv.onCustomDrawSubItem = function(sender, item, sub, state, draw) { calls++; };
    lv.onAdvancedCustomDrawItem = function(sender, item, state, stage, draw) { calls++; };
    var od = new VCLListView(f); od.Name = "od";
    od.ViewStyle = "vsReport"; od.OwnerData = true;
    od.onData = function(sender, item) { item.Caption = "d" + item.Index; };
    od.onCustomDrawItem = function(sender, item, state, draw) { calls++; };
    od.items.Count = 50;
  )");
  ASSERT_EQ(r.err, "");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("ManyPaints", "lv");
  fw::TCustomListView* od = FindListView("ManyPaints", "od");
  ASSERT_TRUE(lv && od);
  const auto& objects = s.Component().Engine().Factory().Objects();
  int drawn = 0;
  auto paint = [&] {
    lv->PaintItems([&](int32_t, fw::TListItem&, int32_t) { ++drawn; });
    od->PaintItems([&](int32_t, fw::TListItem& item, int32_t) { drawn += item.Caption().empty() ? 0 : 1; });
  };
  paint();
  const size_t before = objects.Count();
  for (int i = 0; i < 10000; ++i) paint();
  EXPECT_EQ(objects.Count(), before);
  EXPECT_EQ(drawn, 10001 * (12 + 7));
  EXPECT_EQ(s.Err(), "");
}

TEST(GuiListView, ImagesAndTipsAreAskedForAsTheyAreShown) {
  TGuiScript s;
  auto r = RunScript(s, R"js(
    var f = new VCLForm(); f.Name = "TipForm";
    var lv = new VCLListView(f); lv.Name = "lv";
    lv.ViewStyle = "vsReport";
    lv.column.add(); lv.column.add(); lv.column.add();
    var it = lv.items.add(); it.Caption = "doc"; it.SubItems.text = "12 KB\n";
    it.subItemImages(0, 4);
    var first = lv.column.items(1);
    say(first === lv.column.items(1));
    lv.onGetImageIndex = function(sender, item) { say("image " + item.Caption); item.ImageIndex = 2; };
    lv.onGetSubItemImage = function(sender, item, sub, image) { say("sub " + sub + " " + image.int); image.int = 9; };
    lv.onInfoTip = function(sender, item, tip) { tip.text = item.Caption + " (" + item.SubItems[0] + ")"; };
  )js");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "true\r\n");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("TipForm", "lv");
  ASSERT_TRUE(lv);
  int drawn = 0;
  lv->PaintItems([&](int32_t, fw::TListItem&, int32_t) { ++drawn; });
  EXPECT_EQ(drawn, 3);
  EXPECT_EQ(lv->Items()->Item(0)->ImageIndex(), 2);
  EXPECT_EQ(lv->InfoTip(0), "doc (12 KB)");
  EXPECT_EQ(lv->InfoTip(1), "");
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(), "true\r\nimage doc\r\nsub 1 4\r\n");
}

TEST(GuiListView, EditingAsksAndTellsTheScript) {
  TGuiScript s;
  auto r = RunScript(s, R"(
    var f = new VCLForm(); f.Name = "EditForm";
    var lv = new VCLListView(f); lv.Name = "lv";
    var a = lv.items.add(); a.Caption = "old";
    var b = lv.items.add(); b.Caption = "locked";
    lv.onEditing = function(sender, item, allow) { allow.bool = item.Caption != "locked"; };
    lv.onEdited = function(sender, item, text) { say("edited " + item.Caption + " -> " + text.text); text.text = text.text.toUpperCase(); };
    var refused = b.editCaption(), editing = lv.isEditing();
    var started = a.editCaption();
    say(refused, editing, started, lv.isEditing());
  )");
  ASSERT_EQ(r.err, "");
  EXPECT_EQ(r.out, "false false true true\r\n");
  s.AllowEvents(true);
  fw::TCustomListView* lv = FindListView("EditForm", "lv");
  ASSERT_TRUE(lv);
  lv->FinishEdit("new", true);
  EXPECT_EQ(lv->Items()->Item(0)->Caption(), "NEW");
  EXPECT_FALSE(lv->IsEditing());
  EXPECT_EQ(s.Err(), "");
  EXPECT_EQ(s.Out(), "false false true true\r\nedited old -> new\r\n");
  ASSERT_TRUE(lv->Items()->Item(1)->EditCaption() == false);
  ASSERT_TRUE(lv->Items()->Item(0)->EditCaption());
  lv->Items()->Item(0)->CancelEdit();
  EXPECT_FALSE(lv->IsEditing());
}

}  // namespace
