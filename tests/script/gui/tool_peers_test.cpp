// Script-built tool bars, spin edits and up-downs on Qt's offscreen platform: clicks on tool
// buttons, spin arrows and up-down arrows made with QTest reach the script's handlers. Waits are
// bounded, so a broken peer fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

class ToolPeersTest : public guitest::QtScriptTest {
 protected:
  // Where a spin box draws one of its arrows.
  static QPoint ArrowOf(QAbstractSpinBox* spin, QStyle::SubControl arrow) {
    QStyleOptionSpinBox opt;
    opt.initFrom(spin);
    opt.rect = spin->rect();
    opt.frame = spin->hasFrame();
    opt.buttonSymbols = spin->buttonSymbols();
    opt.subControls = QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp |
                      QStyle::SC_SpinBoxDown;
    opt.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    return spin->style()->subControlRect(QStyle::CC_SpinBox, &opt, arrow, spin).center();
  }
};

const char kForm[] = R"(
  var f = new VCLForm(true);
  f.Name = "Tools";
  f.setBounds(10, 10, 400, 300);
  var bar = new VCLToolBar(f); bar.Name = "Bar"; bar.ShowCaptions = true; bar.ButtonWidth = 50;
  var go = new VCLToolButton(bar); go.Name = "Go"; go.Caption = "Go";
  var bold = new VCLToolButton(bar); bold.Name = "Bold"; bold.Caption = "B"; bold.Style = "tbsCheck";
  go.onClick = function(sender) { println("go " + (sender === bar.buttons(0))); };
  bold.onClick = function(sender) { println("bold " + sender.Down); };
  var sp = new VCLSpinEdit(f); sp.Name = "Spin"; sp.setBounds(10, 60, 100, 24);
  sp.MinValue = 0; sp.MaxValue = 20; sp.Increment = 5; sp.Value = 10;
  sp.onChange = function(sender) { println("spin " + sender.Value); };
  var e = new VCLEdit(f); e.Name = "Ed"; e.setBounds(10, 120, 60, 24);
  var ud = new VCLUpDown(f); ud.Name = "Ud"; ud.Max = 3; ud.Associate = e;
  ud.onChanging = function(sender, allow) { allow.bool = ud.Tag == 0; };
  ud.onClick = function(sender, button) { println("ud " + button + " " + e.Text); };
  f.show();
)";

TEST_F(ToolPeersTest, ClicksOnButtonsAndArrowsReachHandlers) {
  Run(kForm);
  auto* go = dynamic_cast<QToolButton*>(Child("Tools", "Go"));
  auto* bold = dynamic_cast<QToolButton*>(Child("Tools", "Bold"));
  auto* spin = dynamic_cast<QAbstractSpinBox*>(Child("Tools", "Spin"));
  QWidget* ud = Child("Tools", "Ud");
  QWidget* edit = Child("Tools", "Ed");
  ASSERT_TRUE(go && bold && spin && ud && edit);
  ASSERT_TRUE(QTest::qWaitFor([&] { return go->isVisible() && spin->isVisible(); }, kWatchdogMs));
  // The bar placed its buttons; the peers show the model's bounds and captions.
  EXPECT_EQ(go->geometry(), QRect(0, 2, 50, 22));
  EXPECT_EQ(bold->geometry().left(), 50);
  EXPECT_EQ(go->text(), "Go");

  QTest::mouseClick(go, Qt::LeftButton);
  settle();
  EXPECT_EQ(out, "go true\r\n");
  out.clear();
  QTest::mouseClick(bold, Qt::LeftButton);
  settle();
  EXPECT_TRUE(bold->isChecked());
  QTest::mouseClick(bold, Qt::LeftButton);
  settle();
  EXPECT_FALSE(bold->isChecked());
  EXPECT_EQ(out, "bold true\r\nbold false\r\n");

  out.clear();
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, ArrowOf(spin, QStyle::SC_SpinBoxUp));
  settle();
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, ArrowOf(spin, QStyle::SC_SpinBoxUp));
  settle();
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, ArrowOf(spin, QStyle::SC_SpinBoxDown));
  settle();
  EXPECT_EQ(out, "spin 15\r\nspin 20\r\nspin 15\r\n");
  EXPECT_EQ(spin->findChild<QLineEdit*>()->text(), "15");

  out.clear();
  QTest::mouseClick(ud, Qt::LeftButton, Qt::NoModifier, QPoint(ud->width() / 2, 2));
  settle();
  QTest::mouseClick(ud, Qt::LeftButton, Qt::NoModifier, QPoint(ud->width() / 2, 2));
  settle();
  QTest::mouseClick(ud, Qt::LeftButton, Qt::NoModifier, QPoint(ud->width() / 2, ud->height() - 2));
  settle();
  EXPECT_EQ(out, "ud btNext 1\r\nud btNext 2\r\nud btPrev 1\r\n");
  EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), "1");
  EXPECT_EQ(ud->geometry().left(), 70);
}

TEST_F(ToolPeersTest, VetoedUpDownStaysAndTypedSpinTextReachesTheModel) {
  Run(kForm + std::string("ud.Tag = 1;"));
  auto* spin = dynamic_cast<QAbstractSpinBox*>(Child("Tools", "Spin"));
  QWidget* ud = Child("Tools", "Ud");
  QWidget* edit = Child("Tools", "Ed");
  ASSERT_TRUE(spin && ud && edit);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ud->isVisible(); }, kWatchdogMs));
  QTest::mouseClick(ud, Qt::LeftButton, Qt::NoModifier, QPoint(ud->width() / 2, 2));
  settle();
  EXPECT_EQ(out, "");
  EXPECT_EQ(static_cast<QLineEdit*>(edit)->text(), "0");

  QLineEdit* line = spin->findChild<QLineEdit*>();
  ASSERT_NE(line, nullptr);
  spin->setFocus();
  line->selectAll();
  QTest::keyClicks(line, "7");
  settle();
  EXPECT_EQ(out, "spin 7\r\n");
  out.clear();
  QTest::keyClick(spin, Qt::Key_Up);
  settle();
  EXPECT_EQ(out, "spin 12\r\n");
}

TEST_F(ToolPeersTest, DraggingABandGripResizesTheBandBeforeIt) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Cool";
    f.setBounds(10, 10, 400, 200);
    f.loadFromText("object Cool: TForm\n object CB: TCoolBar\n Bands = <\n item\n Control = E1\n Width = 150\n end\n item\n Break = False\n Control = E2\n end>\n object E1: TEdit\n end\n object E2: TEdit\n end\n end\nend\n");
    f.CB.onChange = function(sender) { println("change " + f.E2.Left); };
    f.show();
  )");
  QWidget* bar = Child("Cool", "CB");
  QWidget* second = Child("Cool", "E2");
  ASSERT_TRUE(bar && second);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, kWatchdogMs));
  EXPECT_EQ(second->geometry().left(), 2 + 150 + 10);
  // The second band's grip starts where the first band ends.
  QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2 + 150 + 4, 10));
  QTest::mouseMove(bar, QPoint(2 + 150 + 24, 10));
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2 + 150 + 24, 10));
  settle();
  EXPECT_EQ(out, "change 182\r\n");
  EXPECT_EQ(second->geometry().left(), 182);
}

}  // namespace
