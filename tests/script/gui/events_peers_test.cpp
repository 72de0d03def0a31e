// Size, wheel and paint events of script-built windows on Qt's offscreen platform: a window the
// user resizes asks the script first (and goes back when refused), wheel events over any control
// reach the form's handlers with their arguments and handled box, and a shown splitter paints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "platform/fw/control.h"
#include "platform/fw/form.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

class ScriptEventsPeersTest : public guitest::QtScriptTest {
 protected:
  // The wheel turned by `delta` with the mouse over `widget` at `at`: the event goes to the
  // innermost widget there (a memo's viewport), as the window system sends it.
  static bool Wheel(QWidget* widget, QPoint at, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = widget->childAt(at) ? widget->childAt(at) : widget;
    const QPoint local = target->mapFrom(widget, at);
    QWheelEvent event(QPointF(local), QPointF(target->mapToGlobal(local)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
    return event.isAccepted();
  }
};

TEST_F(ScriptEventsPeersTest, ResizingTheWindowAsksTheScriptAndARefusalPutsItBack) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Sized";
    f.ClientWidth = 300;
    f.ClientHeight = 200;
    f.onCanResize = function(sender, w, h, resize) {
      println("asks " + (f.ClientWidth + w.int - f.Width) + "x" + (f.ClientHeight + h.int - f.Height));
      resize.bool = f.ClientWidth + w.int - f.Width <= 400;
    };
    f.onConstrainedResize = function(sender, minWidth, minHeight, maxHeight, maxWidth) {
      minHeight.int = f.Height - f.ClientHeight + 150;
    };
    f.onResize = function() { println("now " + f.ClientWidth + "x" + f.ClientHeight); };
    f.show();
  )");
  fw::TForm* form = FormNamed("Sized");
  ASSERT_NE(form, nullptr);
  QWidget* window = WidgetOf(form);
  ASSERT_TRUE(window && Exposed(window));
  window->resize(350, 220);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->ClientWidth() == 350; }, kWatchdogMs));
  EXPECT_EQ(form->ClientHeight(), 220);
  // Refused: the form keeps its size and the window follows it back.
  window->resize(500, 260);
  settle();
  EXPECT_EQ(form->ClientWidth(), 350);
  EXPECT_EQ(form->ClientHeight(), 220);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(350, 220); }, kWatchdogMs));
  // Held to the script's limit: the window takes the height the form kept.
  window->resize(360, 100);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->ClientWidth() == 360; }, kWatchdogMs));
  EXPECT_EQ(form->ClientHeight(), 150);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(360, 150); }, kWatchdogMs));
  EXPECT_EQ(out, "asks 350x220\r\nnow 350x220\r\nasks 500x260\r\nasks 360x100\r\nnow 360x150\r\n");
  EXPECT_EQ(err, "");
}

TEST_F(ScriptEventsPeersTest, WheelEventsReachTheFormThroughTheControlUnderTheMouse) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Wheel";
    f.setBounds(40, 30, 320, 240);
    var b = new VCLButton(f); b.Name = "B"; b.setBounds(10, 10, 90, 28); b.Caption = "B";
    var m = new VCLMemo(f); m.Name = "M"; m.setBounds(10, 50, 200, 60); m.ScrollBars = "ssVertical";
    for (var i = 0; i < 40; i++) m.lines.add("line " + i);
    f.onMouseWheel = function(sender, shift, delta, pos, handled) {
      var local = f.screenToClient(pos);
      println("wheel " + (sender === f) + " " + shift + " " + delta + " " + local.x + "," + local.y + " " + handled.bool);
      handled.bool = delta > 0 || shift.indexOf("ssCtrl") >= 0;
    };
    f.onMouseWheelUp = function(sender, shift, pos, handled) { println("up " + shift); };
    f.onMouseWheelDown = function(sender, shift, pos, handled) { println("down " + shift); };
    f.show();
  )");
  QWidget* button = Child("Wheel", "B");
  QWidget* memo = Child("Wheel", "M");
  ASSERT_TRUE(button && memo);
  ASSERT_TRUE(Exposed(memo));
  settle();
  // Over the button: the form hears it in the form's client coordinates and takes it.
  EXPECT_TRUE(Wheel(button, QPoint(5, 6), 120, Qt::ShiftModifier));
  EXPECT_EQ(out, "wheel true ssShift 120 15,16 false\r\n");
  // Taken by the form: the memo under the mouse does not scroll.
  QScrollBar* bar = static_cast<QPlainTextEdit*>(memo)->verticalScrollBar();
  ASSERT_EQ(bar->value(), 0);
  out.clear();
  EXPECT_TRUE(Wheel(memo, QPoint(20, 20), -120, Qt::ControlModifier));
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(out, "wheel true ssCtrl -120 30,70 false\r\n");
  // Left to the controls: the notch event comes, then the memo scrolls as it would.
  out.clear();
  Wheel(memo, QPoint(20, 20), -120);
  EXPECT_EQ(out, "wheel true  -120 30,70 false\r\ndown \r\n");
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(err, "");
}

TEST_F(ScriptEventsPeersTest, AShownSplitterPaintsAndTellsTheScript) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Split";
    f.setBounds(10, 10, 300, 200);
    var left = new VCLPanel(f); left.Align = "alLeft"; left.Width = 100;
    var s = new VCLSplitter(f); s.Name = "S"; s.Left = 120;
    var painted = 0;
    s.onPaint = function(sender) { if (painted++ == 0) println("paint " + (sender === s) + " " + s.Left); };
    f.show();
  )");
  QWidget* splitter = Child("Split", "S");
  ASSERT_NE(splitter, nullptr);
  ASSERT_TRUE(Exposed(splitter));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !out.empty(); }, kWatchdogMs));
  EXPECT_EQ(out, "paint true 100\r\n");
  EXPECT_EQ(err, "");
}

}  // namespace
