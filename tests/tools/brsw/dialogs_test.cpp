// brsw's script dialogs: prompt, textArea and CheckListBox.execute show the dialog forms as real
// modal windows on the offscreen platform. A responder plays the user: it waits (bounded) for each
// dialog form to come up, checks what it shows, types and clicks, and closes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "script/host/dialogs/dialog_forms.h"
#include "tools/brsw/window_host.h"

namespace {

using hostdlg::TfrmCheckList;
using hostdlg::TfrmPrompt;
using hostdlg::TfrmTextArea;

constexpr int kDeadlineMs = 5000;

QWidget* WidgetOf(fw::TControl* c) {
  auto* peer = c ? dynamic_cast<qtfw::TQtPeer*>(c->Peer()) : nullptr;
  return peer ? peer->Widget() : nullptr;
}

class BrswDialogs : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "brsw_dialog_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
    brsw::InstallLibraries();
  }

  // The next dialog form that comes up goes to `act` (in the order they come). A dialog that does
  // not come up in time, or one nobody expected, is a failure; it is cancelled so the run ends.
  template <class Form>
  void Then(std::function<void(Form&)> act) {
    responders_.push_back([act](fw::TCustomForm& form) {
      auto* f = dynamic_cast<Form*>(&form);
      if (!f) {
        ADD_FAILURE() << "another dialog came up: " << form.ClassName();
        form.SetModalResult(fw::mrCancel);
        return;
      }
      act(*f);
    });
  }

  // Runs the script as brsw runs it, answering its dialogs; its output goes to `out`.
  int Run(const std::string& source) {
    QTimer poll;
    poll.setInterval(5);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
      fw::TCustomForm* dialog = ShownDialog();
      if (!dialog) {
        if (!responders_.empty() && waited.elapsed() > kDeadlineMs) {
          ADD_FAILURE() << "no dialog came up";
          responders_.clear();
        }
        return;
      }
      waited.restart();
      if (responders_.empty()) {
        ADD_FAILURE() << "an unexpected dialog: " << dialog->ClassName();
        dialog->SetModalResult(fw::mrCancel);
        return;
      }
      auto respond = std::move(responders_.front());
      responders_.pop_front();
      respond(*dialog);
    });
    poll.start();
    brsw::TScriptRun run;
    run.source = source;
    run.out = [this](const std::string& s) { out += s; };
    run.err = [this](const std::string& s) { err += s; };
    int code = brsw::RunScript(run);
    EXPECT_TRUE(responders_.empty()) << responders_.size() << " dialogs did not come up";
    return code;
  }

  // The dialog form showing now and not yet answered.
  static fw::TCustomForm* ShownDialog() {
    for (int i = 0; i < fw::Screen()->FormCount(); ++i) {
      fw::TCustomForm* f = fw::Screen()->Forms(i);
      bool dialog = dynamic_cast<TfrmPrompt*>(f) || dynamic_cast<TfrmTextArea*>(f) || dynamic_cast<TfrmCheckList*>(f);
      QWidget* w = dialog ? WidgetOf(f) : nullptr;
      if (w && w->isVisible() && f->ModalResult() == fw::mrNone) return f;
    }
    return nullptr;
  }

  static inline qtfw::TQtHost* host = nullptr;
  std::deque<std::function<void(fw::TCustomForm&)>> responders_;
  std::string out, err;
};

TEST_F(BrswDialogs, CheckListBoxShowsItsFormAndGetsTheMarksAndIndexBack) {
  Then<TfrmCheckList>([](TfrmCheckList& form) {
    EXPECT_EQ(form.Caption(), "Pick");
    EXPECT_EQ(form.lblText->Caption(), "Which ones?");
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 243);
    ASSERT_EQ(form.lbCheck->Items()->Count(), 3);
    EXPECT_EQ(form.lbCheck->Items()->Get(2), "three");
    EXPECT_TRUE(form.lbCheck->Checked(0));
    EXPECT_FALSE(form.lbCheck->Checked(1));
    EXPECT_EQ(form.lbCheck->ItemIndex(), 1);
    QWidget* list = WidgetOf(form.lbCheck);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);  // ticks "two", the selected item
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);  // ticks "three"
    QTest::mouseClick(WidgetOf(form.btnOK), Qt::LeftButton);
  });
  Then<TfrmCheckList>([](TfrmCheckList& form) {
    EXPECT_EQ(form.Caption(), "brsw_dialog_tests");  // no caption: the application's title
    EXPECT_EQ(form.ClientWidth(), 416);
    EXPECT_TRUE(form.lbCheck->Checked(1) && form.lbCheck->Checked(2));
    EXPECT_EQ(form.lbCheck->ItemIndex(), 0);
    QWidget* list = WidgetOf(form.lbCheck);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);  // unticks "one", then thinks better of it
    QTest::keyClick(list, Qt::Key_Down);
    QTest::mouseClick(WidgetOf(form.btnCancel), Qt::LeftButton);
  });
  EXPECT_EQ(Run("var c = new CheckListBox();\n"
                "c.items.add('one'); c.items.add('two'); c.items.add('three');\n"
                "c.setChecked(0, true);\n"
                "println(c.execute('Pick', 'Which ones?', 1, 300));\n"
                "println(c.getChecked(0) + ' ' + c.getChecked(1) + ' ' + c.getChecked(2) + ' ' + c.index);\n"
                "println(c.execute('', '', 0));\n"
                "println(c.getChecked(0) + ' ' + c.getChecked(1) + ' ' + c.getChecked(2) + ' ' + c.index);\n"),
            0);
  EXPECT_EQ(err, "");
  // Cancel keeps the marks and still gives the index the list had when it closed.
  EXPECT_EQ(out, "true\r\ntrue true true 2\r\nfalse\r\ntrue true true 1\r\n");
}

TEST_F(BrswDialogs, TextAreaTakesSeveralLines) {
  Then<TfrmTextArea>([](TfrmTextArea& form) {
    EXPECT_EQ(form.Caption(), "Memo");
    EXPECT_EQ(form.lblText->Caption(), "Notes?");
    EXPECT_EQ(form.ClientWidth(), 400);
    EXPECT_EQ(form.ClientHeight(), 300);
    auto* memo = qobject_cast<QPlainTextEdit*>(WidgetOf(form.mmText));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText().toStdString(), "first");
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    // Return makes a new line: OK is not the default button of this form.
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "second");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "third");
    EXPECT_EQ(form.ModalResult(), fw::mrNone);
    QTest::mouseClick(WidgetOf(form.btnOK), Qt::LeftButton);
  });
  Then<TfrmTextArea>([](TfrmTextArea& form) {
    QTest::mouseClick(WidgetOf(form.btnClear), Qt::LeftButton);
    EXPECT_EQ(form.mmText->Text(), "");
    EXPECT_EQ(form.ModalResult(), fw::mrNone);  // Clear leaves the form open
    QTest::keyClick(WidgetOf(form.mmText), Qt::Key_Escape);
  });
  EXPECT_EQ(Run("var t = textArea('Notes?', 'first', 'Memo', 400, 300);\n"
                "println(t.split('\\r\\n').join('|'));\n"
                "println(textArea('Again?', 'x'));\n"),
            0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "first|second|third\r\nnull\r\n");
}

TEST_F(BrswDialogs, PromptMasksWithItsPasswordCharacterAndTakesItsWidth) {
  Then<TfrmPrompt>([](TfrmPrompt& form) {
    EXPECT_EQ(form.Caption(), "Login");
    EXPECT_EQ(form.lblText->Caption(), "Password?");
    EXPECT_EQ(form.ClientWidth(), 320);
    EXPECT_EQ(form.ClientHeight(), 73);
    auto* edit = qobject_cast<QLineEdit*>(WidgetOf(form.edtPrompt));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    edit->setFocus();
    QTest::keyClicks(edit, "s3cret");
    EXPECT_EQ(edit->displayText().toStdString(), "######");
    QTest::keyClick(edit, Qt::Key_Return);  // OK is the default button
  });
  Then<TfrmPrompt>([](TfrmPrompt& form) {
    EXPECT_EQ(form.ClientWidth(), 200);  // asked for less: at least 200
    auto* edit = qobject_cast<QLineEdit*>(WidgetOf(form.edtPrompt));
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(edit->displayText().toStdString(), "me");
    QTest::keyClick(edit, Qt::Key_Escape);
  });
  EXPECT_EQ(Run("println(prompt('Password?', '', '#', 'Login', 320));\n"
                "println(prompt('Name?', 'me', 0, '', 50));\n"),
            0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "s3cret\r\nnull\r\n");
}

TEST_F(BrswDialogs, TimersKeepFiringWhileADialogIsUp) {
  Then<TfrmCheckList>([this](TfrmCheckList& form) {
    EXPECT_TRUE(QTest::qWaitFor([this] { return out.find("tick 3") != std::string::npos; }, kDeadlineMs)) << out;
    QTest::mouseClick(WidgetOf(form.btnCancel), Qt::LeftButton);
  });
  Then<TfrmPrompt>([this](TfrmPrompt& form) {
    EXPECT_TRUE(QTest::qWaitFor([this] { return out.find("tick 6") != std::string::npos; }, kDeadlineMs)) << out;
    QTest::keyClick(WidgetOf(form.edtPrompt), Qt::Key_Escape);
  });
  EXPECT_EQ(Run("var ticks = 0;\n"
                "var t = new VCLTimer(); t.Interval = 10;\n"
                "t.onTimer = function(sender) { ticks++; if (ticks <= 6) println('tick ' + ticks); };\n"
                "t.Enabled = true;\n"
                "var c = new CheckListBox(); c.items.add('a');\n"
                "println(c.execute('Wait'));\n"
                "println(prompt('Wait'));\n"
                "t.Enabled = false;\n"
                "println(ticks >= 6);\n"),
            0);
  EXPECT_EQ(err, "");
  // Ticks before each dialog closed, the answers in order, and the count once both were shut.
  const size_t tick3 = out.find("tick 3"), cancelled = out.find("false\r\n"), tick6 = out.find("tick 6"),
               none = out.find("null\r\n"), counted = out.find("true\r\n");
  EXPECT_TRUE(tick3 < cancelled && cancelled < tick6 && tick6 < none && none < counted && counted != std::string::npos)
      << out;
}

// Offscreen there is no server to ask: Keyboard reads the table the host's event filter keeps.
using BrswOffscreen = BrswDialogs;

TEST_F(BrswOffscreen, KeysAreTheTableTheEventsKeep) {
  fw::ReleaseAllKeys();
  fw::SetKeyDown(fw::VK_F1 + 1, true);
  fw::SetKeyDown(fw::VK_SHIFT, true);
  EXPECT_EQ(Run("println(Keyboard.isDown(0x71) + ' ' + Keyboard.shift + ' ' + Keyboard.isDown('A'));\n"), 0);
  fw::ReleaseAllKeys();
  EXPECT_EQ(out, "true true false\r\n");
}

}  // namespace
