// The common dialogs on Qt's offscreen platform, shown by the Qt dialog service: typing into the
// find and replace windows and clicking their buttons reaches the script's onFind and onReplace;
// the file dialog asks the script's onCanClose before it closes and stays open when refused; the
// font dialog's Apply button reaches onApply. Waits are bounded, so a broken window fails the test
// instead of hanging it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fw/application.h"
#include "platform/qt/common_dialogs.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// How many turns of the event loop a test waits for a modal dialog to show before it gives up
// (and the dialog, never answered, would block: the test then fails on its missing answers).
constexpr int kMaxPolls = 2000;

class DialogPeersTest : public guitest::QtScriptTest {
 protected:
  template <class W>
  static W* TopLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* found = dynamic_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
  }
  template <class W>
  static W* Child(QWidget* parent, const char* name) {
    return parent->findChild<W*>(QString::fromUtf8(name));
  }
};

TEST_F(DialogPeersTest, TypingAndFindNextReachTheScriptsOnFind) {
  Run(R"(
    var fd = new VCLFindDialog();
    fd.FindText = "old";
    fd.Options = "frDown,frHideWholeWord";
    fd.onFind = function(sender) { println("find " + sender.FindText + " [" + sender.Options + "]"); };
    fd.onClose = function(sender) { println("closed"); };
    println("shown " + fd.execute());
  )");
  EXPECT_EQ(out, "shown true\r\n");
  qtfw::TFindWindow* window = TopLevel<qtfw::TFindWindow>();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, kWatchdogMs));
  auto* text = Child<QLineEdit>(window, "findText");
  auto* findNext = Child<QPushButton>(window, "findNext");
  auto* matchCase = Child<QCheckBox>(window, "matchCase");
  auto* wholeWord = Child<QCheckBox>(window, "wholeWord");
  auto* up = Child<QRadioButton>(window, "up");
  ASSERT_TRUE(text && findNext && matchCase && wholeWord && up);
  EXPECT_EQ(text->text(), "old");
  EXPECT_FALSE(wholeWord->isVisible());  // frHideWholeWord
  EXPECT_TRUE(Child<QRadioButton>(window, "down")->isChecked());

  // An empty text cannot be searched for.
  text->selectAll();
  QTest::keyClick(text, Qt::Key_Delete);
  EXPECT_FALSE(findNext->isEnabled());
  QTest::keyClicks(text, "needle");
  EXPECT_TRUE(findNext->isEnabled());
  QTest::mouseClick(matchCase, Qt::LeftButton, Qt::NoModifier, QPoint(4, matchCase->height() / 2));
  QTest::mouseClick(up, Qt::LeftButton, Qt::NoModifier, QPoint(4, up->height() / 2));
  QTest::mouseClick(findNext, Qt::LeftButton);
  settle();
  EXPECT_EQ(out, "shown true\r\nfind needle [frFindNext,frHideWholeWord,frMatchCase]\r\n");

  // Return presses the default button, Find Next, again.
  out.clear();
  QTest::keyClick(text, Qt::Key_Return);
  settle();
  EXPECT_EQ(out, "find needle [frFindNext,frHideWholeWord,frMatchCase]\r\n");
  EXPECT_TRUE(window->isVisible());  // modeless: it stays up

  // Escape closes it: onClose, once.
  out.clear();
  QTest::keyClick(text, Qt::Key_Escape);
  settle();
  EXPECT_EQ(out, "closed\r\n");
  EXPECT_EQ(TopLevel<qtfw::TFindWindow>(), nullptr);
  EXPECT_EQ(err, "");
}

TEST_F(DialogPeersTest, ReplaceButtonsAndCloseDialogFromTheScript) {
  Run(R"(
    var text = "a-b-a";
    var rd = new VCLReplaceDialog();
    rd.onReplace = function(sender) {
      var all = sender.Options.indexOf("frReplaceAll") >= 0;
      text = all ? text.split(sender.FindText).join(sender.ReplaceText)
                 : text.replace(sender.FindText, sender.ReplaceText);
      println(text);
      if (all) rd.closeDialog();
    };
    rd.onClose = function(sender) { println("closed"); };
    rd.execute();
  )");
  qtfw::TFindWindow* window = TopLevel<qtfw::TFindWindow>();
  ASSERT_NE(window, nullptr);
  auto* find = Child<QLineEdit>(window, "findText");
  auto* with = Child<QLineEdit>(window, "replaceText");
  auto* replace = Child<QPushButton>(window, "replace");
  auto* replaceAll = Child<QPushButton>(window, "replaceAll");
  ASSERT_TRUE(find && with && replace && replaceAll);
  EXPECT_EQ(Child<QRadioButton>(window, "up"), nullptr);  // no direction in a replace dialog
  QTest::keyClicks(find, "a");
  QTest::keyClicks(with, "x");
  QTest::mouseClick(replace, Qt::LeftButton);
  settle();
  EXPECT_EQ(out, "x-b-a\r\n");
  with->clear();
  QTest::keyClicks(with, "y");
  QTest::mouseClick(replaceAll, Qt::LeftButton);
  settle();
  // The script closed the dialog from its handler: the window went away, onClose ran once.
  EXPECT_EQ(out, "x-b-a\r\nx-b-y\r\nclosed\r\n");
  EXPECT_EQ(TopLevel<qtfw::TFindWindow>(), nullptr);
  EXPECT_EQ(err, "");
}

TEST_F(DialogPeersTest, FileDialogAsksOnCanCloseAndStaysOpenWhenRefused) {
  namespace fsys = std::filesystem;
  support_test::TempDir tmp;
  fsys::path dir = tmp.path();
  std::ofstream(dir / "a.txt") << "a";
  std::ofstream(dir / "b.txt") << "b";
  // The modal dialog is answered from the event loop it runs: first a refused choice, then one
  // the script takes.
  int answered = 0, polls = 0;
  bool openAfterRefusal = false;
  std::function<void()> answer = [&] {
    auto* window = TopLevel<QFileDialog>();
    if (!window) {
      if (++polls < kMaxPolls) QTimer::singleShot(0, answer);
      return;
    }
    // Typed into the name field, as a person would (the file list fills in later, by itself).
    auto* name = window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) {
      ADD_FAILURE() << "the file dialog has no name field";
      window->reject();
      return;
    }
    name->setText(answered == 0 ? "a.txt" : "b.txt");
    ++answered;
    static_cast<QDialog*>(window)->done(QDialog::Accepted);
    if (answered == 1) {
      openAfterRefusal = window->isVisible();
      QTimer::singleShot(0, answer);
    } else if (window->isVisible()) {
      ADD_FAILURE() << "the accepted choice left the dialog open";
      window->reject();
    }
  };
  QTimer::singleShot(0, answer);
  Run(R"(
    var od = new VCLOpenDialog();
    od.InitialDir = ")" + dir.string() + R"(";
    od.Filter = "Text|*.txt|All|*.*";
    od.Title = "Pick a text";
    od.onCanClose = function(sender, canClose) {
      var name = sender.FileName.substring(sender.FileName.lastIndexOf("/") + 1);
      println("canClose " + name);
      canClose.bool = name != "a.txt";
    };
    var ok = od.execute();
    println(ok + " " + od.FileName.substring(od.FileName.lastIndexOf("/") + 1));
  )");
  EXPECT_EQ(answered, 2);
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_EQ(out, "canClose a.txt\r\ncanClose b.txt\r\ntrue b.txt\r\n");
  fsys::remove_all(dir);
}

TEST_F(DialogPeersTest, FontDialogApplyReachesOnApply) {
  bool pressed = false;
  int polls = 0;
  std::function<void()> answer = [&] {
    auto* window = TopLevel<QFontDialog>();
    if (!window) {
      if (++polls < kMaxPolls) QTimer::singleShot(0, answer);
      return;
    }
    auto* apply = window->findChild<QPushButton*>(QStringLiteral("apply"));
    if (apply) {
      pressed = true;
      QTest::mouseClick(apply, Qt::LeftButton);
    }
    static_cast<QDialog*>(window)->done(QDialog::Rejected);
  };
  QTimer::singleShot(0, answer);
  Run(R"(
    var fd = new VCLFontDialog();
    fd.Options = "fdApplyButton";
    fd.onApply = function(sender, wnd) { println("apply " + (wnd > 0) + " " + (sender.Font.Name != "")); };
    var ok = fd.execute();
    println("result " + ok);
  )");
  EXPECT_TRUE(pressed);
  EXPECT_EQ(out, "apply true true\r\nresult false\r\n");
}

}  // namespace
