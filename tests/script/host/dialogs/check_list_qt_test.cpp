// The check-list dialog as a real modal window on the offscreen platform: the user ticks an item
// with the keyboard and presses OK or Cancel; the host's dialog answers what the window showed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <functional>

#include "platform/fw/application.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "script/host/dialogs/dialog_forms.h"
#include "script/host/dialogs/form_host_ui.h"

namespace hostdlg {
namespace {

QWidget* WidgetOf(fw::TControl* c) {
  auto* peer = dynamic_cast<qtfw::TQtPeer*>(c->Peer());
  return peer ? peer->Widget() : nullptr;
}

class CheckListQtTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "check_list_qt_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
  }
  void TearDown() override {
    fw::DestroyApplication();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  // Runs `user` once the modal dialog is up, with the dialog form.
  void WhenShown(std::function<void(TfrmCheckList&)> user) {
    fw::Application()->Post([user] {
      for (int i = 0; i < fw::Screen()->FormCount(); ++i)
        if (auto* dialog = dynamic_cast<TfrmCheckList*>(fw::Screen()->Forms(i))) return user(*dialog);
      ADD_FAILURE() << "no check-list dialog is showing";
    });
  }
  static inline qtfw::TQtHost* host = nullptr;
  TFormHostUI ui;
};

TEST_F(CheckListQtTest, SpaceTicksTheSelectedItemAndOKKeepsIt) {
  WhenShown([](TfrmCheckList& form) {
    EXPECT_TRUE(form.Visible());
    QWidget* list = WidgetOf(form.lbCheck);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(form.lbCheck->ItemIndex(), 1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);  // ticks item 1, the selected one
    QTest::keyClick(list, Qt::Key_Down);
    QTest::mouseClick(WidgetOf(form.btnOK), Qt::LeftButton);
  });
  std::vector<bool> marks{true, false, false};
  int32_t index = 1;
  EXPECT_TRUE(ui.CheckList("Pick", "Which ones?", {"one", "two", "three"}, marks, index, 0, 0));
  EXPECT_EQ(marks, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(index, 2);
}

TEST_F(CheckListQtTest, CancelLeavesTheMarks) {
  WhenShown([](TfrmCheckList& form) {
    QWidget* list = WidgetOf(form.lbCheck);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);
    QTest::mouseClick(WidgetOf(form.btnCancel), Qt::LeftButton);
  });
  std::vector<bool> marks{false, false};
  int32_t index = 0;
  EXPECT_FALSE(ui.CheckList("", "", {"a", "b"}, marks, index, 0, 0));
  EXPECT_EQ(marks, (std::vector<bool>{false, false}));
  EXPECT_EQ(index, 0);
}

}  // namespace
}  // namespace hostdlg
