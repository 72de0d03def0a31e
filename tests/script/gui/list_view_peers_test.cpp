// Script-built list views on Qt's offscreen platform: header clicks made with QTest sort through
// the script's onColumnClick and onCompare, clicks and keys select items through onChange and
// onSelectItem, an owner-data list of 100,000 items asks onData only for the rows in sight, and a
// custom-draw handler that changes the list sees its change after the paint.
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

}  // namespace
