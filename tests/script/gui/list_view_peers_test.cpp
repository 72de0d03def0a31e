// Script-built list views on Qt's offscreen platform: header clicks made with QTest sort through
// the script's onColumnClick and onCompare, clicks and keys select items through onChange and
// onSelectItem, an owner-data list of 100,000 items asks onData only for the rows in sight, a
// custom-draw handler that changes the list sees its change after the paint, scrolling and
// arranging move the items where the script reads them, and a header dragged with FullDrag
// moves its column.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QApplication>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/list_view.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

class ListViewPeerTest : public guitest::QtScriptTest {
 protected:
  static fw::TCustomListView* Model(const std::string& form, const std::string& name) {
    fw::TForm* f = FormNamed(form);
    return f ? dynamic_cast<fw::TCustomListView*>(f->FindChildControl(name)) : nullptr;
  }
  static QAbstractScrollArea* View(fw::TCustomListView* model) {
    auto* peer = model ? dynamic_cast<qtfw::TQtPeer*>(model->Peer()) : nullptr;
    return peer ? dynamic_cast<QAbstractScrollArea*>(peer->Widget()) : nullptr;
  }
  static std::string Captions(fw::TCustomListView* lv) {
    std::string s;
    for (int i = 0; i < lv->Items()->Count(); ++i) s += lv->Items()->Item(i)->Caption() + " ";
    return s;
  }
};

TEST_F(ListViewPeerTest, HeaderClicksSortAndItemClicksSelect) {
  Run(R"(
    var f = new VCLForm(true); f.Name = "Files"; f.setBounds(10, 10, 400, 300);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 380, 260);
    lv.ViewStyle = "vsReport";
    var c0 = lv.column.add(); c0.Caption = "Name"; c0.Width = 150;
    var c1 = lv.column.add(); c1.Caption = "Size"; c1.Width = 100;
    var files = [["b.txt", 30], ["a.txt", 200], ["c.txt", 5]];
    for (var i = 0; i < files.length; i++) { var it = lv.items.add(); it.Caption = files[i][0]; it.SubItems.add("" + files[i][1]); }
    var key = 0;
    lv.onColumnClick = function(sender, column) { println("sort by " + column.Caption); key = column.Caption == "Size" ? 1 : 0; sender.alphaSort(); };
    lv.onCompare = function(sender, a, b, data, result) {
      result.int = key == 1 ? parseInt(a.SubItems[0]) - parseInt(b.SubItems[0]) : (a.Caption < b.Caption ? -1 : 1);
    };
    lv.onSelectItem = function(sender, item, selected) { println("select " + item.Caption + " " + selected); };
    lv.onChange = function(sender, item, change) { println("change " + item.Caption + " " + change); };
    f.show();
  )");
  fw::TCustomListView* lv = Model("Files", "lv");
  QAbstractScrollArea* view = View(lv);
  ASSERT_TRUE(lv && view);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, kWatchdogMs));
  QWidget* area = view->viewport();

  QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
  settle();
  EXPECT_EQ(Captions(lv), "c.txt b.txt a.txt ");
  QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  settle();
  EXPECT_EQ(Captions(lv), "a.txt b.txt c.txt ");
  EXPECT_EQ(out, "sort by Size\r\nsort by Name\r\n");

  out.clear();
  const int rowY = fw::TCustomListView::HeaderHeight + fw::TCustomListView::RowHeight + 5;
  QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(20, rowY));
  settle();
  EXPECT_EQ(out, "change b.txt ctState\r\nselect b.txt true\r\n");
  out.clear();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Down);
  settle();
  EXPECT_EQ(out, "change b.txt ctState\r\nselect b.txt false\r\nchange c.txt ctState\r\nselect c.txt true\r\n");
  EXPECT_EQ(lv->ItemIndex(), 2);
  EXPECT_EQ(err, "");
}

TEST_F(ListViewPeerTest, OwnerDataAsksOnlyForRowsInSight) {
  Run(R"(
    var f = new VCLForm(true); f.Name = "Big"; f.setBounds(10, 10, 300, 300);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 280, 240);
    lv.ViewStyle = "vsReport"; lv.OwnerData = true;
    lv.column.add().Caption = "Row";
    lv.onData = function(sender, item) { item.Caption = "row " + item.Index; println(item.Index); };
    lv.items.Count = 100000;
    f.show();
  )");
  fw::TCustomListView* lv = Model("Big", "lv");
  QAbstractScrollArea* view = View(lv);
  ASSERT_TRUE(lv && view);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, kWatchdogMs));
  // The indexes onData was asked for since the last look, in order.
  auto asked = [&] {
    std::vector<int> rows;
    size_t start = 0;
    for (size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2)
      rows.push_back(std::stoi(out.substr(start, end - start)));
    out.clear();
    return rows;
  };
  asked();
  view->viewport()->repaint();
  std::vector<int> rows = asked();
  ASSERT_FALSE(rows.empty());
  EXPECT_LE(rows.size(), 13u);
  EXPECT_EQ(rows.front(), 0);
  EXPECT_EQ(rows.back(), int(rows.size()) - 1);
  // The last page stays full: the first row goes no further than the count less a page.
  lv->SetTopIndex(99995);
  view->viewport()->repaint();
  rows = asked();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(lv->TopIndex(), 100000 - lv->VisibleRowCount());
  EXPECT_EQ(rows.front(), lv->TopIndex());
  EXPECT_EQ(rows.back(), 99999);
  EXPECT_EQ(view->verticalScrollBar()->value(), lv->TopIndex());
  EXPECT_EQ(err, "");
}

TEST_F(ListViewPeerTest, CustomDrawChangesWaitForThePaint) {
  Run(R"(
    var f = new VCLForm(true); f.Name = "Draw"; f.setBounds(10, 10, 300, 200);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 280, 180);
    lv.ViewStyle = "vsList";
    for (var i = 0; i < 4; i++) lv.items.add().Caption = "n" + i;
    lv.onCustomDrawItem = function(sender, item, state, draw) {
      if (item.Caption == "n0") { sender.items.delete(0); println("asked with " + sender.items.Count); }
    };
    f.show();
  )");
  fw::TCustomListView* lv = Model("Draw", "lv");
  QAbstractScrollArea* view = View(lv);
  ASSERT_TRUE(lv && view);
  ASSERT_TRUE(QTest::qWaitFor([&] { return lv->Items()->Count() == 3; }, kWatchdogMs));
  EXPECT_EQ(Captions(lv), "n1 n2 n3 ");
  EXPECT_EQ(out.substr(0, 14), "asked with 4\r\n");
  EXPECT_EQ(err, "");
}

// Positions as the script reads them after each scroll, in every style: sideways in pixels in
// the report and list styles, down in whole rows in the report style, both ways in pixels in the
// icon styles; the view stops at the ends of its contents and the scroll bars follow.
TEST_F(ListViewPeerTest, ScrollingMovesTheItemsBothWaysInEveryStyle) {
  Run(R"js(
    var f = new VCLForm(true); f.Name = "Scroll"; f.setBounds(10, 10, 300, 260);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 200, 150);
    lv.column.add().Width = 150; lv.column.add().Width = 150;
    for (var i = 0; i < 30; i++) lv.items.add().Caption = "item " + i;
    f.show();
    function at(i) { var p = lv.items[i].Position, r = lv.items[i].displayRect("drBounds");
      return p.x + "," + p.y + (p.x == r.left && p.y == r.top ? "" : " (rect " + r.left + "," + r.top + ")"); }
    function origin() { var o = lv.ViewOrigin; return "origin " + o.x + "," + o.y; }
    function step(dx, dy, i) { lv.scroll(dx, dy); println(lv.ViewStyle + " " + dx + "," + dy + ": " + at(i) + " " + origin()); }
    lv.ViewStyle = "vsReport";
    step(40, 0, 0); step(0, 40, 2); step(0, 10, 2); step(1000, 1000, 29); step(-1000, -1000, 0);
    step(2147483647, 0, 0); step(2147483647, 0, 0);
    lv.ViewStyle = "vsList";
    step(130, 0, 8); step(0, 50, 8); step(100000, 0, 29);
    lv.ViewStyle = "vsSmallIcon";
    step(0, 34, 2); step(10, 0, 2); step(0, -5, 2);
    lv.ViewStyle = "vsIcon"; lv.arrange("arAlignLeft");
    step(50, 30, 0); step(-20, 0, 2);
  )js");
  fw::TCustomListView* lv = Model("Scroll", "lv");
  QAbstractScrollArea* view = View(lv);
  ASSERT_TRUE(lv && view);
  EXPECT_EQ(out,
            "vsReport 40,0: -40,20 origin 40,0\r\n"
            "vsReport 0,40: -40,20 origin 40,34\r\n"
            "vsReport 0,10: -40,20 origin 40,34\r\n"
            "vsReport 1000,1000: -100,122 origin 100,391\r\n"
            "vsReport -1000,-1000: 0,20 origin 0,0\r\n"
            "vsReport 2147483647,0: -100,20 origin 100,0\r\n"
            "vsReport 2147483647,0: -100,20 origin 100,0\r\n"
            "vsList 130,0: -10,0 origin 130,0\r\n"
            "vsList 0,50: -10,0 origin 130,0\r\n"
            "vsList 100000,0: 80,85 origin 280,0\r\n"
            "vsSmallIcon 0,34: 0,0 origin 0,34\r\n"
            "vsSmallIcon 10,0: 0,0 origin 0,34\r\n"
            "vsSmallIcon 0,-5: 0,5 origin 0,29\r\n"
            "vsIcon 50,30: -50,0 origin 50,0\r\n"
            "vsIcon -20,0: 46,0 origin 30,0\r\n");
  settle();
  EXPECT_EQ(view->horizontalScrollBar()->value(), 30);
  EXPECT_EQ(view->horizontalScrollBar()->maximum(), 15 * fw::TCustomListView::IconCellWidth - 200);
  EXPECT_EQ(view->verticalScrollBar()->maximum(), 0);
  // The scroll bar moves the view as a script's scroll does.
  view->horizontalScrollBar()->setValue(100);
  EXPECT_EQ(lv->ViewOrigin().X, 100);
  EXPECT_EQ(lv->Items()->Item(0)->Position().X, -100);
  EXPECT_EQ(err, "");
}

// Arrangements in the icon styles, read back through the items' positions: lines along the
// named edge, kept for items added later; arDefault keeps the last edge and takes back the
// places items were given; arSnapToGrid moves those places to the grid of cell spacing.
TEST_F(ListViewPeerTest, ArrangingLaysItemsAlongTheNamedEdge) {
  Run(R"js(
    var f = new VCLForm(true); f.Name = "Arrange"; f.setBounds(10, 10, 300, 260);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 250, 200);
    for (var i = 0; i < 5; i++) lv.items.add().Caption = "n" + i;
    f.show();
    function places(code) {
      var t = [];
      for (var i = 0; i < lv.items.Count; i++) { var p = lv.items[i].Position; t.push(p.x + "," + p.y); }
      var hit = lv.getItemAt(lv.items[1].Left + 5, lv.items[1].Top + 5);
      println(lv.ViewStyle + " " + code + ": " + t.join(" ") + (hit === lv.items[1] ? "" : " (not hit)"));
    }
    var codes = ["arAlignTop", "arAlignLeft", "arAlignBottom", "arAlignRight"];
    for (var s = 0; s < 2; s++) {
      lv.ViewStyle = s == 0 ? "vsIcon" : "vsSmallIcon";
      for (var c = 0; c < codes.length; c++) { lv.arrange(codes[c]); places(codes[c]); }
    }
    lv.ViewStyle = "vsIcon";
    lv.items.add().Caption = "n5";
    places("added");
    lv.items[0].Position = {x: 30, y: 40};
    lv.items[2].Left = 110;
    places("placed");
    lv.arrange("arSnapToGrid");
    places("arSnapToGrid");
    lv.arrange("arDefault");
    places("arDefault");
    lv.arrange(3);
    places("3");
  )js");
  EXPECT_EQ(out,
            "vsIcon arAlignTop: 0,0 76,0 152,0 0,64 76,64\r\n"
            "vsIcon arAlignLeft: 0,0 0,64 0,128 76,0 76,64\r\n"
            "vsIcon arAlignBottom: 0,136 76,136 152,136 0,72 76,72\r\n"
            "vsIcon arAlignRight: 174,0 174,64 174,128 98,0 98,64\r\n"
            "vsSmallIcon arAlignTop: 0,0 120,0 0,17 120,17 0,34\r\n"
            "vsSmallIcon arAlignLeft: 0,0 0,17 0,34 0,51 0,68\r\n"
            "vsSmallIcon arAlignBottom: 0,183 120,183 0,166 120,166 0,149\r\n"
            "vsSmallIcon arAlignRight: 130,0 130,17 130,34 130,51 130,68\r\n"
            "vsIcon added: 174,0 174,64 174,128 98,0 98,64 98,128\r\n"
            "vsIcon placed: 30,40 174,64 110,128 98,0 98,64 98,128\r\n"
            "vsIcon arSnapToGrid: 0,64 174,64 76,128 98,0 98,64 98,128\r\n"
            "vsIcon arDefault: 174,0 174,64 174,128 98,0 98,64 98,128\r\n"
            "vsIcon 3: 0,0 76,0 152,0 0,64 76,64 152,64\r\n");
  EXPECT_EQ(err, "");
}

// A header dragged onto another column with FullDrag: the column takes that place, the model's
// columns follow, the item's caption and sub-items go with their columns, and onColumnDragged
// runs once. Without FullDrag the same drag moves nothing and is no click either.
TEST_F(ListViewPeerTest, DraggingAHeaderMovesItsColumnWithFullDrag) {
  Run(R"(
    var f = new VCLForm(true); f.Name = "Columns"; f.setBounds(10, 10, 400, 200);
    var lv = new VCLListView(f); lv.Name = "lv"; lv.setBounds(0, 0, 380, 160);
    lv.ViewStyle = "vsReport";
    var names = ["Name", "Size", "Date"];
    for (var i = 0; i < 3; i++) { var c = lv.column.add(); c.Caption = names[i]; c.Width = i == 0 ? 100 : 80; }
    var it = lv.items.add(); it.Caption = "a.txt"; it.SubItems.add("12"); it.SubItems.add("today");
    function order() { var t = []; for (var i = 0; i < lv.column.Count; i++) t.push(lv.column.items(i).Caption); return t.join(","); }
    lv.onColumnDragged = function(sender) {
      var label = it.displayRect("drLabel");
      println("dragged " + order() + " label " + label.left + "-" + label.right);
    };
    lv.onColumnClick = function(sender, column) { println("click " + column.Caption); };
    f.show();
  )");
  fw::TCustomListView* lv = Model("Columns", "lv");
  QAbstractScrollArea* view = View(lv);
  ASSERT_TRUE(lv && view);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, kWatchdogMs));
  QWidget* area = view->viewport();
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(area, (from + to) / 2);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
    settle();
  };
  drag(QPoint(20, 10), QPoint(230, 10));
  EXPECT_EQ(out, "");
  EXPECT_EQ(lv->Columns()->Items(0)->Caption(), "Name");

  lv->SetFullDrag(true);
  drag(QPoint(20, 10), QPoint(230, 10));
  EXPECT_EQ(out, "dragged Size,Date,Name label 160-260\r\n");
  EXPECT_EQ(lv->Columns()->Items(2)->Caption(), "Name");
  EXPECT_EQ(lv->Columns()->Items(2)->DataIndex(), 0);
  EXPECT_EQ(lv->SubItemRect(0, 1).Left, 0);    // "12" under Size, now first
  EXPECT_EQ(lv->SubItemRect(0, 2).Left, 80);   // "today" under Date
  out.clear();
  // A click is still a click.
  QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 10));
  settle();
  EXPECT_EQ(out, "click Date\r\n");
  EXPECT_EQ(err, "");
}

}  // namespace
