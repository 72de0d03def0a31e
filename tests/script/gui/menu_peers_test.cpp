// Script-built menus on Qt's offscreen platform: clicks on the menu bar and in popup menus reach
// the script's handlers (after the menu has closed), idle updates of actions show on the bar,
// and the bar sits above the client area. Waits are bounded.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QHelpEvent>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/menus.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

class MenuPeersTest : public guitest::QtScriptTest {
 protected:
  // Closes every popup still up after a while, so that a failure cannot hang the test.
  struct PopupWatchdog {
    bool fired = false;
    QTimer timer;
    PopupWatchdog() {
      QObject::connect(&timer, &QTimer::timeout, [this] {
        fired = true;
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      });
      timer.start(kWatchdogMs);
    }
  };

  // Menu clicks and idle updates travel as the framework's posted messages: every settle delivers
  // them, and events reach the script while its body still runs.
  bool EventsDuringBody() const override { return true; }
  bool SettlesMessages() const override { return true; }
  static void settle() { QtScriptTest::settle(true); }

  static QAction* ActionNamed(QWidget* menu, const QString& text) {
    for (QAction* a : menu->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  bool WaitForOut(const std::string& text) {
    return QTest::qWaitFor(
        [&] {
          fw::Application()->ProcessMessages();
          return out.find(text) != std::string::npos;
        },
        kWatchdogMs);
  }
};

const char* kMenuScript = R"(
  var f = new VCLForm();
  f.Name = "MenuForm";
  f.ClientWidth = 300; f.ClientHeight = 120;
  var mm = new VCLMainMenu();
  var file = new VCLMenuItem(); file.Caption = "&File";
  var open = new VCLMenuItem(); open.Caption = "&Open";
  var hello = new VCLMenuItem(); hello.Caption = "&Hello";
  file.add(open);
  mm.items.add(file, hello);
  f.Menu = mm;
  var b = new VCLButton(f); b.Name = "B1"; b.Left = 0; b.Top = 0;
  open.onClick = function(sender) { println("open " + (sender === open)); };
  hello.onClick = function(sender) { println("hello " + (sender === hello)); };
  file.onClick = function(sender) { println("file opens"); };
  f.show();
)";

TEST_F(MenuPeersTest, BarClicksReachTheScriptAndTheClientAreaStartsBelowTheBar) {
  Run(kMenuScript);
  fw::TForm* form = FormNamed("MenuForm");
  ASSERT_NE(form, nullptr);
  QWidget* window = WidgetOf(form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window, kWatchdogMs));
  auto* bar = window->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->geometry(), QRect(0, 0, window->width(), form->MenuBarHeight()));
  EXPECT_EQ(window->height(), form->ClientHeight() + form->MenuBarHeight());
  EXPECT_EQ(form->ClientHeight(), 120);
  QWidget* button = WidgetOf(form->FindChildControl("B1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->y(), form->MenuBarHeight());

  QAction* hello = ActionNamed(bar, "&Hello");
  ASSERT_NE(hello, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(hello).center());
  EXPECT_TRUE(WaitForOut("hello true")) << out;

  // The submenu opens (its item is clicked, as the framework does) and its item is chosen.
  QAction* file = ActionNamed(bar, "&File");
  ASSERT_NE(file, nullptr);
  ASSERT_NE(file->menu(), nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
  QMenu* sub = file->menu();
  ASSERT_TRUE(QTest::qWaitFor([&] { return sub->isVisible(); }, kWatchdogMs));
  QAction* open = ActionNamed(sub, "&Open");
  ASSERT_NE(open, nullptr);
  QTest::mouseClick(sub, Qt::LeftButton, {}, sub->actionGeometry(open).center());
  EXPECT_TRUE(WaitForOut("open true")) << out;
  EXPECT_EQ(out, "hello true\r\nfile opens\r\nopen true\r\n");
}

TEST_F(MenuPeersTest, BarFollowsTheItemsAndIdleUpdatesDisableTheLinkedItem) {
  Run(std::string(kMenuScript) + R"(
    var canSay = false;
    var say = new VCLAction();
    say.Caption = "&Say";
    say.onUpdate = function(sender) { sender.Enabled = canSay; };
    say.onExecute = function(sender) { println("said"); };
    hello.action = say;
    file.onClick = function() {
      canSay = true;
      var extra = new VCLMenuItem(); extra.Caption = "E&xtra";
      mm.items.add(extra);
    };
  )");
  fw::TForm* form = FormNamed("MenuForm");
  ASSERT_NE(form, nullptr);
  auto* bar = WidgetOf(form)->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  QAction* say = ActionNamed(bar, "&Say");
  ASSERT_NE(say, nullptr);
  EXPECT_TRUE(say->isEnabled());
  EXPECT_TRUE(fw::Application()->Idle());
  EXPECT_FALSE(say->isEnabled());
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(say).center());
  settle();
  EXPECT_EQ(out.find("said"), std::string::npos);

  // Opening File adds an item (while its menu opens); the bar shows it once the loop runs.
  QAction* file = ActionNamed(bar, "&File");
  ASSERT_NE(file, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ActionNamed(bar, "E&xtra") != nullptr; }, kWatchdogMs));
  QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : bar, Qt::Key_Escape);
  settle();
  EXPECT_TRUE(fw::Application()->Idle());
  say = ActionNamed(bar, "&Say");
  ASSERT_NE(say, nullptr);
  EXPECT_TRUE(say->isEnabled());
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(say).center());
  EXPECT_TRUE(WaitForOut("said")) << out;
}

TEST_F(MenuPeersTest, PopupClickRunsAfterPopupReturns) {
  // Chooses the second item of whatever popup menu opens next.
  QTimer::singleShot(0, [] {
    (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kWatchdogMs);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    QAction* second = ActionNamed(menu, "Second");
    if (second) QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(second).center());
  });
  Run(R"(
    var pm = new VCLPopupMenu();
    var first = new VCLMenuItem(); first.Caption = "First";
    var second = new VCLMenuItem(); second.Caption = "Second";
    pm.items.add(first, second);
    pm.onPopup = function() { println("popping up"); };
    second.onClick = function(sender) { println("second " + (sender === second)); };
    pm.popup(200, 150);
    println("after popup");
  )");
  EXPECT_TRUE(WaitForOut("second true")) << out;
  EXPECT_EQ(out, "popping up\r\nafter popup\r\nsecond true\r\n");
}

// Nobody clicks on the offscreen platform: a timer's handler closes the popup through the form's
// sendCancelMode, also after letting go of the menu and the form it belongs to. A watchdog closes
// every popup still up after a while, so that a failure cannot hang the test.
TEST_F(MenuPeersTest, SendCancelModeFromATimerClosesThePopup) {
  PopupWatchdog watchdog;
  Run(R"(
    var f = new VCLForm(); f.Name = "Cancel"; f.show();
    var b = new VCLButton(f);
    var pm = new VCLPopupMenu();
    var item = new VCLMenuItem(); item.Caption = "Never";
    item.onClick = function() { println("clicked"); };
    pm.items.add(item);
    var t = new VCLTimer(); t.Interval = 20;
    var ticks = 0;
    t.onTimer = function() {
      ticks++;
      if (ticks == 2) f.sendCancelMode(b);
      if (ticks == 4) { pm = null; item = null; f.release(); doEvents(); b.parent.sendCancelMode(b); t.Enabled = false; }
    };
    t.Enabled = true;
    pm.popup(100, 100);
    println("closed at " + ticks);
    pm.popup(100, 100);
    println("closed again at " + ticks + " " + (pm === null));
    try { f.sendCancelMode(5); } catch (e) { println(e); }
  )");
  EXPECT_FALSE(watchdog.fired);
  EXPECT_EQ(out, "closed at 2\r\nclosed again at 4 true\r\nEVCLError\r\n");
  settle();
  EXPECT_EQ(FormNamed("Cancel"), nullptr);
}

// Closing the main form from a timer while the script's body waits on a popup ends the program:
// the popup closes and the body goes on.
TEST_F(MenuPeersTest, ClosingTheMainFormClosesThePopup) {
  PopupWatchdog watchdog;
  Run(R"(
    var f = new VCLForm(true); f.Name = "MainPopup"; f.show();
    var pm = new VCLPopupMenu();
    var item = new VCLMenuItem(); item.Caption = "Never"; pm.items.add(item);
    var t = new VCLTimer(); t.Interval = 20;
    var ticks = 0;
    t.onTimer = function() { ticks++; if (ticks == 2) { t.Enabled = false; f.close(); } };
    pm.popup(100, 100);
    println("closed at " + ticks + " " + terminated);
  )");
  EXPECT_FALSE(watchdog.fired);
  EXPECT_EQ(out, "closed at 2 true\r\n");
}

TEST_F(MenuPeersTest, ToolTipShowsTheHintTheActionsHandlerGives) {
  Run(R"(
    var f = new VCLForm();
    f.Name = "HintForm";
    f.ShowHint = true;
    var b = new VCLButton(f); b.Name = "B1";
    var a = new VCLAction();
    a.Caption = "Save";
    a.Hint = "Saves";
    a.onHint = function(hint, show) { println("hint " + hint.text); hint.text = hint.text + " now"; };
    b.action = a;
    f.show();
  )");
  fw::TForm* form = FormNamed("HintForm");
  ASSERT_NE(form, nullptr);
  QWidget* button = WidgetOf(form->FindChildControl("B1"));
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(form), kWatchdogMs));
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(button, &help);
  EXPECT_EQ(out, "hint Saves\r\n");
  EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::text() == "Saves now"; }, kWatchdogMs)) << QToolTip::text().toStdString();
  QToolTip::hideText();
}

}  // namespace
