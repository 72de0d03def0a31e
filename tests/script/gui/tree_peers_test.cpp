// A script-built tree view on Qt's offscreen platform: clicks on expand buttons, on labels and
// keys made with QTest reach the script's handlers (a vetoed expansion keeps the node closed),
// editing a label in place hands the new text to onEdited, and painting runs the custom-draw
// handlers. Waits are bounded, so a broken peer fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/tree_view.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "script/gui/registration.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"

namespace {

constexpr int kWatchdogMs = 5000;

class TreePeersTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "gui_tree_peer_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
    stdlib::Install();
    host::Install();
    gui::Install();
  }
  void SetUp() override {
    component = std::make_unique<engine::TBrindle>();
    component->SetOnStdout([this](engine::TBrindle*, const std::string& s) { out += s; });
    component->SetOnStderr([this](engine::TBrindle*, const std::string& s) { err += s; });
  }
  void TearDown() override {
    component->Engine().EventLoopAllowed = false;
    component->Clear();
    component.reset();
    fw::Application()->ProcessMessages();
    settle();
  }
  void Run(const std::string& source) {
    ASSERT_TRUE(component->Compile(source));
    component->RunNoArgs();
    ASSERT_EQ(err, "");
    component->Engine().EventLoopAllowed = true;
    component->Engine().MainFinished = true;
    settle();
  }
  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  static fw::TCustomTreeView* Tree() {
    for (int i = 0; i < fw::Screen()->FormCount(); ++i) {
      fw::TCustomForm* f = fw::Screen()->Forms(i);
      if (f->Name() == "Trees") return dynamic_cast<fw::TCustomTreeView*>(f->FindChildControl("Tree"));
    }
    return nullptr;
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

  static qtfw::TQtHost* host;
  std::unique_ptr<engine::TBrindle> component;
  std::string out, err;
};

qtfw::TQtHost* TreePeersTest::host = nullptr;

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

}  // namespace
