// A script-built tree view on Qt's offscreen platform: clicks on expand buttons, on labels and
// keys made with QTest reach the script's handlers (a vetoed expansion keeps the node closed),
// editing a label in place hands the new text to onEdited, and painting runs the custom-draw
// handlers. Waits are bounded, so a broken peer fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <functional>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/list_view.h"
#include "platform/fw/tree_view.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

class TreePeersTest : public guitest::QtScriptTest {
 protected:
  static fw::TCustomTreeView* Tree() {
    fw::TForm* f = FormNamed("Trees");
    return f ? dynamic_cast<fw::TCustomTreeView*>(f->FindChildControl("Tree")) : nullptr;
  }
  static QWidget* Viewport(fw::TCustomTreeView* tree) {
    auto* peer = dynamic_cast<qtfw::TQtPeer*>(tree->Peer());
    auto* area = peer ? dynamic_cast<QAbstractScrollArea*>(peer->Widget()) : nullptr;
    return area ? area->viewport() : nullptr;
  }
  // The middle of a node's label, and of its expand button, in viewport coordinates.
  static QPoint LabelOf(fw::TTreeNode* node) {
    const fw::TRect r = node->DisplayRect(true);
    return {r.Left + 3, (r.Top + r.Bottom) / 2};
  }
  static QPoint ButtonOf(fw::TCustomTreeView* tree, fw::TTreeNode* node) {
    const fw::TRect r = node->DisplayRect(true);
    return {r.Left - fw::TCustomTreeView::TextMargin - tree->Indent() / 2, (r.Top + r.Bottom) / 2};
  }
};

const char kForm[] = R"(
  var f = new VCLForm(true);
  f.Name = "Trees";
  f.setBounds(10, 10, 300, 300);
  var tv = new VCLTreeView(f);
  tv.Name = "Tree";
  tv.setBounds(5, 5, 250, 250);
  var open = tv.Items.add(null, "open");
  tv.Items.addChild(open, "child");
  var locked = tv.Items.add(null, "locked");
  tv.Items.addChild(locked, "hidden");
  tv.Items.add(null, "leaf");
  tv.onExpanding = function(sender, node, allow) {
    println("expanding " + node.Text);
    allow.bool = node.Text != "locked";
  };
  tv.onExpanded = function(sender, node) { println("expanded " + node.Text); };
  tv.onCollapsed = function(sender, node) { println("collapsed " + node.Text); };
  tv.onChange = function(sender, node) { println("change " + node.Text); };
  tv.onEditing = function(sender, node, allow) { println("editing " + node.Text); };
  tv.onEdited = function(sender, node, text) { println("edited " + text); text.str = text.str + "!"; };
  tv.onCustomDrawItem = function(sender, node, state, def) { if (node.Text == "leaf") sender.Tag = sender.Tag + 1; };
  f.show();
)";

TEST_F(TreePeersTest, ClicksKeysAndEditingReachHandlers) {
  Run(kForm);
  fw::TCustomTreeView* tree = Tree();
  ASSERT_NE(tree, nullptr);
  QWidget* vp = Viewport(tree);
  ASSERT_NE(vp, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return vp->isVisible(); }, kWatchdogMs));
  fw::TTreeNode* open = tree->Items()->Item(0);
  fw::TTreeNode* locked = tree->Items()->Item(2);

  // Expand buttons: one expansion allowed, one vetoed.
  out.clear();
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, ButtonOf(tree, open));
  settle();
  EXPECT_EQ(out, "expanding open\r\nexpanded open\r\n");
  EXPECT_TRUE(open->Expanded());
  out.clear();
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, ButtonOf(tree, locked));
  settle();
  EXPECT_EQ(out, "expanding locked\r\n");
  EXPECT_FALSE(locked->Expanded());

  // Selecting with the mouse and the keyboard.
  out.clear();
  QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, LabelOf(open->Item(0)));
  settle();
  EXPECT_EQ(out, "change child\r\n");
  out.clear();
  QTest::keyClick(vp->parentWidget(), Qt::Key_Down);
  settle();
  EXPECT_EQ(out, "change locked\r\n");
  out.clear();
  QTest::keyClick(vp->parentWidget(), Qt::Key_Left);
  QTest::keyClick(vp->parentWidget(), Qt::Key_Up);
  settle();
  EXPECT_EQ(out, "change child\r\n");
  QTest::keyClick(vp->parentWidget(), Qt::Key_Left);
  settle();
  out.clear();
  QTest::keyClick(vp->parentWidget(), Qt::Key_Left);
  settle();
  EXPECT_EQ(out, "collapsed open\r\n");

  // Editing a label: F2 opens the editor over it, Enter ends it through onEdited.
  out.clear();
  QTest::keyClick(vp->parentWidget(), Qt::Key_F2);
  settle();
  EXPECT_EQ(out, "editing open\r\n");
  QLineEdit* editor = nullptr;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    editor = vp->findChild<QLineEdit*>();
    return editor && editor->isVisible();
  }, kWatchdogMs));
  editor->selectAll();
  QTest::keyClicks(editor, "renamed");
  QTest::keyClick(editor, Qt::Key_Return);
  settle();
  EXPECT_EQ(out, "editing open\r\nedited renamed\r\n");
  EXPECT_EQ(open->Text(), "renamed!");
  EXPECT_FALSE(tree->IsEditing());

  // Escape leaves the text as it was.
  QTest::keyClick(vp->parentWidget(), Qt::Key_F2);
  settle();
  ASSERT_TRUE(QTest::qWaitFor([&] {
    editor = vp->findChild<QLineEdit*>();
    return editor && editor->isVisible();
  }, kWatchdogMs));
  QTest::keyClicks(editor, "zzz");
  QTest::keyClick(editor, Qt::Key_Escape);
  settle();
  EXPECT_EQ(open->Text(), "renamed!");

  // A paint of the widget runs the custom-draw handlers.
  const int32_t paints = tree->Tag();
  vp->parentWidget()->grab();
  settle();
  EXPECT_GT(tree->Tag(), paints);
  EXPECT_EQ(err, "");
}

// The peer keeps up with a big tree: rows come from the model, so showing and scrolling a tree
// of many nodes touches only the rows on screen.
TEST_F(TreePeersTest, ScrollsLargeTrees) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Trees";
    f.setBounds(10, 10, 300, 300);
    var tv = new VCLTreeView(f);
    tv.Name = "Tree";
    tv.Align = "alClient";
    tv.Items.beginUpdate();
    var last = null;
    for (var i = 0; i < 20000; i++) last = tv.Items.add(null, "node " + i);
    tv.Items.endUpdate();
    f.show();
    tv.Selected = last;
  )");
  fw::TCustomTreeView* tree = Tree();
  ASSERT_NE(tree, nullptr);
  settle();
  auto* area = dynamic_cast<QAbstractScrollArea*>(dynamic_cast<qtfw::TQtPeer*>(tree->Peer())->Widget());
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->verticalScrollBar()->maximum(), 20000 - tree->PageRows());
  EXPECT_EQ(area->verticalScrollBar()->value(), tree->TopRow());
  EXPECT_EQ(tree->TopItem()->Text(), "node " + std::to_string(20000 - tree->PageRows()));
  area->verticalScrollBar()->setValue(100);
  settle();
  EXPECT_EQ(tree->TopItem()->Text(), "node 100");
  EXPECT_EQ(err, "");
}

// The window of the item views, built by a script and grabbed offscreen: a tree view beside a
// list view in report style. The picture is saved as a PNG and read back, and its pixels show the
// tree's rows, expand buttons and selection beside the list's header, rows and selection.
TEST_F(TreePeersTest, ScreenshotOfATreeBesideAReportList) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Trees";
    f.BorderStyle = "bsDialog";
    f.ClientWidth = 480;
    f.ClientHeight = 240;
    f.Color = "clWhite";
    var tv = new VCLTreeView(f);
    tv.Name = "Tree";
    tv.setBounds(8, 8, 200, 224);
    tv.HideSelection = false;
    var docs = tv.Items.add(null, "Documents");
    tv.Items.addChild(docs, "Letters");
    var reports = tv.Items.addChild(docs, "Reports");
    var pics = tv.Items.add(null, "Pictures");
    tv.Items.addChild(pics, "Holidays");
    tv.Items.add(null, "Music");
    docs.expand(false);
    tv.Selected = reports;
    var lv = new VCLListView(f);
    lv.Name = "List";
    lv.setBounds(216, 8, 256, 224);
    lv.ViewStyle = "vsReport";
    lv.HideSelection = false;
    lv.RowSelect = true;
    var c = lv.column.add(); c.Caption = "Name"; c.Width = 140;
    c = lv.column.add(); c.Caption = "Size"; c.Width = 80;
    var names = ["letter.txt", "report.pdf", "notes.md"], sizes = ["1 KB", "230 KB", "4 KB"];
    for (var i = 0; i < 3; i++) {
      var it = lv.items.add();
      it.Caption = names[i];
      it.SubItems.add(sizes[i]);
    }
    lv.Selected = lv.items[1];
    f.show();
  )");
  fw::TCustomForm* form = nullptr;
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "Trees") form = fw::Screen()->Forms(i);
  ASSERT_NE(form, nullptr);
  auto* tree = dynamic_cast<fw::TCustomTreeView*>(form->FindChildControl("Tree"));
  auto* list = dynamic_cast<fw::TCustomListView*>(form->FindChildControl("List"));
  ASSERT_TRUE(tree && list);
  auto* formPeer = dynamic_cast<qtfw::TQtPeer*>(form->Peer());
  auto* treeArea = dynamic_cast<QAbstractScrollArea*>(dynamic_cast<qtfw::TQtPeer*>(tree->Peer())->Widget());
  auto* listArea = dynamic_cast<QAbstractScrollArea*>(dynamic_cast<qtfw::TQtPeer*>(list->Peer())->Widget());
  ASSERT_TRUE(formPeer && treeArea && listArea);
  settle();
  QImage img = formPeer->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(img.size(), QSize(480, 240));
  const std::string file = testing::TempDir() + "gui_tree_beside_report_list.png";
  ASSERT_TRUE(img.save(QString::fromStdString(file), "PNG"));
  ASSERT_EQ(QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32), img);

  auto dark = [](QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; };
  auto count = [&](QRect r, const std::function<bool(QRgb)>& pred) {
    int n = 0;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += pred(img.pixel(x, y));
    return n;
  };
  // Tree rows in form coordinates: the viewport's place in the form plus the model's rectangles.
  const QPoint treeOrigin = treeArea->viewport()->mapTo(formPeer->Widget(), QPoint(0, 0));
  auto onForm = [](QPoint origin, const fw::TRect& r) {
    return QRect(origin.x() + r.Left, origin.y() + r.Top, r.Right - r.Left, r.Bottom - r.Top);
  };
  const QColor face = qtfw::ToQColor(fw::clBtnFace), high = qtfw::ToQColor(fw::clHighlight);
  auto selection = [&](QRgb p) { return QColor(p) == face || QColor(p) == high; };
  ASSERT_EQ(tree->VisibleCount(), 5);
  for (int row = 0; row < 5; ++row) {
    fw::TTreeNode* node = tree->VisibleNode(row);
    const QRect label = onForm(treeOrigin, node->DisplayRect(true));
    EXPECT_GT(count(label, dark), 15) << node->Text();
    if (node->Text() == "Reports")
      EXPECT_GT(count(label, selection), label.width() * label.height() / 3);
    else
      EXPECT_EQ(count(label, selection), 0) << node->Text();
  }
  // The collapsed "Pictures" has a button with a plus, "Music" none.
  auto button = [&](fw::TTreeNode* node) {
    const fw::TRect r = node->DisplayRect(true);
    const int cx = r.Left - fw::TCustomTreeView::TextMargin - tree->Indent() / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    return QRect(treeOrigin.x() + cx - 2, treeOrigin.y() + cy - 2, 5, 5);
  };
  fw::TTreeNode* pics = tree->VisibleNode(3);
  fw::TTreeNode* music = tree->VisibleNode(4);
  ASSERT_EQ(pics->Text(), "Pictures");
  EXPECT_GE(count(button(pics), dark), 5);
  EXPECT_EQ(count(button(music), dark), 0);

  // The list: a header above the rows, text in every row, the selected row highlighted.
  const QPoint listOrigin = listArea->viewport()->mapTo(formPeer->Widget(), QPoint(0, 0));
  const QRect header(listOrigin.x() + 2, listOrigin.y() + 2, 200, fw::TCustomListView::HeaderHeight - 4);
  EXPECT_GT(count(header, dark), 20);
  EXPECT_LT(count(header, [](QRgb p) { return QColor(p) == Qt::white; }), header.width() * header.height() / 2);
  for (int i = 0; i < 3; ++i) {
    const fw::TRect r = list->ItemRect(i, fw::drBounds);
    const QRect row = onForm(listOrigin, r);
    if (i == 1)
      EXPECT_GT(count(row, selection), row.width() * row.height() / 3);
    else
      EXPECT_GT(count(row, dark), 15) << i;
  }
  EXPECT_EQ(err, "");
}

}  // namespace
