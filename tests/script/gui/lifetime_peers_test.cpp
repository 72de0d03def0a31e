// Handlers that pull the ground from under Qt's own code on the offscreen platform: a clicked
// button's, an opening submenu's and a paint's handlers clear what they belong to, let go of
// their form and pump messages. The widgets whose signal or paint is running stay until it is
// over; the form goes once the loop is back at the top.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "tests/script/gui/qt_script_fixture.h"

// In the sanitizer run: fontconfig, which Qt loads for text, keeps caches it never frees.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

class LifetimePeersTest : public guitest::QtScriptTest {
 protected:
  bool EventsDuringBody() const override { return true; }
  bool SettlesMessages() const override { return true; }
  // The form is gone once the loop has turned at the top.
  bool FormGone(const char* name) {
    return QTest::qWaitFor(
        [&] {
          fw::Application()->ProcessMessages();
          return FormNamed(name) == nullptr;
        },
        kWatchdogMs);
  }
};

TEST_F(LifetimePeersTest, ClickedButtonReleasesItsFormAndPumps) {
  Run(R"(
    var f = new VCLForm(); f.Name = "GoneClick"; f.show();
    var b = new VCLButton(f); b.Name = "B"; b.Caption = "go";
    b.onClick = function(s) { f.release(); f = null; b = null; doEvents(); doEvents(); println("clicked " + s.Caption); };
  )");
  QWidget* button = Child("GoneClick", "B");
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(Exposed(button));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(out, "clicked go\r\n");
  EXPECT_TRUE(FormGone("GoneClick"));
}

TEST_F(LifetimePeersTest, OpeningSubmenuClearsTheMenuReleasesTheFormAndPumps) {
  Run(R"(
    var f = new VCLForm(); f.Name = "GoneMenu"; f.ClientWidth = 200; f.ClientHeight = 80; f.show();
    var mm = new VCLMainMenu(); f.Menu = mm;
    var top = new VCLMenuItem(); top.Caption = "&Top"; mm.items.add(top);
    var it = new VCLMenuItem(); it.Caption = "&Item"; top.add(it);
    top.onClick = function(s) {
      mm.items.clear(); mm = null; top = null; it = null;
      f.release(); f = null;
      doEvents(); doEvents();
      println("opened");
    };
  )");
  fw::TForm* form = FormNamed("GoneMenu");
  ASSERT_NE(form, nullptr);
  auto* bar = WidgetOf(form)->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(Exposed(bar));
  QAction* top = nullptr;
  for (QAction* a : bar->actions())
    if (a->text() == "&Top") top = a;
  ASSERT_NE(top, nullptr);
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
  EXPECT_TRUE(QTest::qWaitFor([&] { return out == "opened\r\n"; }, kWatchdogMs)) << out;
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  EXPECT_TRUE(FormGone("GoneMenu"));
}

TEST_F(LifetimePeersTest, PaintHandlersClearReleaseAndPump) {
  Run(R"(
    var f = new VCLForm(); f.Name = "GonePaint"; f.setBounds(10, 10, 400, 250);
    var lv = new VCLListView(f); lv.Name = "LV"; lv.setBounds(0, 0, 140, 150); lv.ViewStyle = "vsList";
    for (var i = 0; i < 5; i++) lv.items.add().Caption = "item" + i;
    var tv = new VCLTreeView(f); tv.Name = "TV"; tv.setBounds(150, 0, 140, 150);
    for (var i = 0; i < 5; i++) tv.Items.add(null, "node" + i);
    var sb = new VCLStatusBar(f); sb.Name = "SB";
    var p = sb.panels.add(); p.Style = "psOwnerDraw"; p.Width = 100;
    var said = {list: 0, tree: 0, bar: 0};
    // The last of the three paint handlers to run lets go of the form.
    function done() {
      if (f && said.list && said.tree && said.bar) { f.release(); f = null; lv = null; tv = null; sb = null; doEvents(); }
    }
    lv.onCustomDrawItem = function(s, item, state, draw) {
      // A cleared list empties once the paint is over.
      if (!said.list) { said.list = 1; s.items.clear(); doEvents(); println("list " + item.Caption); done(); }
    };
    tv.onCustomDrawItem = function(s, node, state, draw) {
      // A deleted node reads as gone at once (its memory waits for the paint).
      if (!said.tree) { said.tree = 1; var t = node.Text; s.Items.clear(); doEvents(); println("tree " + t + " " + s.Items.Count); done(); }
    };
    sb.onDrawPanel = function(s, panel, rect) {
      if (!said.bar) { said.bar = 1; doEvents(); println("bar " + panel.Width); done(); }
    };
    f.show();
  )");
  // Whatever the first paints left out is painted now.
  for (const char* name : {"LV", "TV", "SB"})
    if (QWidget* w = FormNamed("GonePaint") ? Child("GonePaint", name) : nullptr) w->grab();
  EXPECT_TRUE(FormGone("GonePaint"));
  EXPECT_EQ(err, "");
  // Every handler ran to its end with what it was handed.
  EXPECT_NE(out.find("list item0\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("tree node0 0\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("bar 100\r\n"), std::string::npos) << out;
}

// A modal dialog waits in a loop of its own: what a timer's handler lets go of meanwhile (here the
// form the dialog belongs to) stays until the dialog and the call that opened it are over.
TEST_F(LifetimePeersTest, FormReleasedWhileAFileDialogIsOpenOutlivesTheDialog) {
  bool formAtClose = false, closed = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QDialog*>(w);
      if (!dialog || !dialog->isVisible() || out.find("released") == std::string::npos) continue;
      formAtClose = FormNamed("GoneDialog") != nullptr;
      closed = true;
      dialog->reject();
    }
  });
  closer.start(20);
  Run(R"(
    var f = new VCLForm(); f.Name = "GoneDialog"; f.show();
    var d = new VCLOpenDialog();
    var t = new VCLTimer(); t.Interval = 20;
    t.onTimer = function() { t.Enabled = false; f.release(); f = null; println("released"); };
    t.Enabled = true;
    println("chosen " + d.execute());
  )");
  closer.stop();
  EXPECT_TRUE(closed);
  EXPECT_TRUE(formAtClose);
  EXPECT_EQ(out, "released\r\nchosen false\r\n");
  EXPECT_TRUE(FormGone("GoneDialog"));
}

}  // namespace
