// Script-built list and container controls on Qt's offscreen platform: keyboard picks in a combo
// box, clicks on a radio group's buttons and splitter drags made with QTest reach the script's
// handlers. Waits are bounded, so a broken peer fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

using ListPeersTest = guitest::QtScriptTest;

const char kForm[] = R"(
  var f = new VCLForm(true);
  f.Name = "Lists";
  f.setBounds(10, 10, 400, 300);
  var lp = new VCLPanel(f); lp.Name = "Left"; lp.Width = 100; lp.Align = "alLeft";
  var sp = new VCLSplitter(f); sp.Name = "Split"; sp.Left = 150; sp.Align = "alLeft"; sp.Width = 6;
  sp.onMoved = function(sender) { println("moved " + lp.Width); };
  var cb = new VCLComboBox(f); cb.Name = "Combo"; cb.setBounds(120, 8, 150, 24);
  cb.Style = "csDropDownList";
  cb.Items.add("red"); cb.Items.add("green"); cb.Items.add("blue");
  cb.ItemIndex = 0;
  cb.onClick = function(sender) { println("combo " + cb.ItemIndex + " " + cb.Text); };
  var rg = new VCLRadioGroup(f); rg.Name = "Group"; rg.setBounds(120, 60, 200, 120);
  rg.Items.add("small"); rg.Items.add("large");
  rg.onClick = function(sender) { println("group " + rg.ItemIndex); };
  f.show();
)";

TEST_F(ListPeersTest, KeysClicksAndDragsReachHandlers) {
  Run(kForm);
  auto* combo = dynamic_cast<QComboBox*>(Child("Lists", "Combo"));
  QWidget* group = Child("Lists", "Group");
  QWidget* split = Child("Lists", "Split");
  ASSERT_TRUE(combo && group && split);
  ASSERT_TRUE(QTest::qWaitFor([&] { return combo->isVisible(); }, kWatchdogMs));
  EXPECT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->currentText(), "red");

  combo->setFocus();
  settle();
  QTest::keyClick(combo, Qt::Key_Down);
  settle();
  EXPECT_EQ(out, "combo 1 green\r\n");

  out.clear();
  auto buttons = group->findChildren<QRadioButton*>();
  ASSERT_EQ(buttons.size(), 2);
  QTest::mouseClick(buttons[1], Qt::LeftButton, Qt::NoModifier, QPoint(5, buttons[1]->height() / 2));
  settle();
  EXPECT_EQ(out, "group 1\r\n");
  EXPECT_TRUE(buttons[1]->isChecked());
  EXPECT_FALSE(buttons[0]->isChecked());

  out.clear();
  QTest::mousePress(split, Qt::LeftButton, Qt::NoModifier, QPoint(2, 50));
  QTest::mouseMove(split, QPoint(30, 50));
  QTest::mouseRelease(split, Qt::LeftButton, Qt::NoModifier, QPoint(32, 50));
  settle();
  EXPECT_EQ(out, "moved 130\r\n");
  EXPECT_EQ(err, "");
}

}  // namespace
