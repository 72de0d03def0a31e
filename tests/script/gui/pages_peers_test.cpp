// Page controls and status bars on Qt's offscreen platform: clicks on a tab reach the script's
// handlers before the page changes (a refused change keeps the page), controls on the new page
// take clicks, owner-drawn panels are drawn by the script's handler, and hints reach the bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/form.h"
#include "platform/fw/page_control.h"
#include "platform/fw/status_bar.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

using PagesPeersTest = guitest::QtScriptTest;

TEST_F(PagesPeersTest, ClickingATabAsksTheScriptAndShowsTheNewPage) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Pages";
    f.setBounds(10, 10, 320, 240);
    var pc = new VCLPageControl(f);
    pc.Name = "PC"; pc.setBounds(0, 0, 300, 200); pc.TabWidth = 60; pc.TabHeight = 20;
    for (var i = 0; i < 3; i++) {
      var t = new VCLTabSheet(pc); t.Name = "TS" + i; t.Caption = "Page " + i;
      var b = new VCLButton(t); b.Name = "B" + i; b.setBounds(10, 10, 80, 25); b.Caption = "Go " + i;
      b.onClick = function(sender) { println("click " + sender.Caption + " on " + pc.ActivePageIndex); };
    }
    var calls = 0;
    pc.onChanging = function(sender, allow) { calls++; println("changing " + pc.ActivePageIndex); allow.bool = calls > 1; };
    pc.onChange = function(sender) { println("change " + pc.ActivePageIndex); };
    pc[1].onShow = function(sender) { println("show " + sender.Caption); };
    f.show();
  )");
  fw::TForm* form = FormNamed("Pages");
  ASSERT_NE(form, nullptr);
  auto* pc = dynamic_cast<fw::TPageControl*>(form->FindChildControl("PC"));
  ASSERT_NE(pc, nullptr);
  QWidget* tabs = WidgetOf(pc);
  ASSERT_TRUE(tabs && Exposed(tabs));
  QWidget* page0 = WidgetOf(pc->Pages(0));
  QWidget* page1 = WidgetOf(pc->Pages(1));
  ASSERT_TRUE(page0 && page1);
  EXPECT_TRUE(page0->isVisible());
  EXPECT_FALSE(page1->isVisible());
  // The page lies inside the tabs' frame, below the tab row.
  EXPECT_GE(page0->geometry().top(), 20);

  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
  settle();
  EXPECT_EQ(out, "changing 0\r\n");
  EXPECT_EQ(pc->ActivePageIndex(), 0);
  EXPECT_TRUE(page0->isVisible());

  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, QPoint(90, 10));
  settle();
  EXPECT_EQ(out, "changing 0\r\nchanging 0\r\nshow Page 1\r\nchange 1\r\n");
  EXPECT_EQ(pc->ActivePageIndex(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return page1->isVisible() && !page0->isVisible(); }, kWatchdogMs));

  // The button on the page now shown takes the click.
  out.clear();
  QWidget* button = WidgetOf(pc->Pages(1)->FindChildControl("B1"));
  ASSERT_TRUE(button && Exposed(button));
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  settle();
  EXPECT_EQ(out, "click Go 1 on 1\r\n");
  // The active tab is drawn apart from the others.
  QImage shot = tabs->grab().toImage();
  EXPECT_NE(shot.pixelColor(80, 4), shot.pixelColor(20, 4));
  EXPECT_EQ(err, "");
}

TEST_F(PagesPeersTest, StatusBarsDrawTheirPanelsAndOwnerDrawnOnesThroughTheScript) {
  Run(R"(
    var f = new VCLForm(true);
    f.Name = "Status";
    f.Color = 0xFFFFFF;
    f.setBounds(10, 10, 320, 240);
    var sb = new VCLStatusBar(f);
    sb.Name = "SB";
    sb.Color = 0xFFFFFF;
    var a = sb.panels.add(); a.Text = "MMMMMM"; a.Width = 100; a.Bevel = "pbNone";
    var b = sb.panels.add(); b.Style = "psOwnerDraw"; b.Text = "owner"; b.Width = 80;
    var c = sb.panels.add(); c.Text = ""; c.Bevel = "pbNone";
    var button = new VCLButton(f); button.Name = "Btn"; button.setBounds(10, 10, 80, 25); button.Hint = "Press me";
    sb.onDrawPanel = function(sender, panel, rect) {
      println("draw " + panel.Text + " " + rect.left + "-" + rect.right + " " + (sender === sb));
    };
    f.show();
  )");
  fw::TForm* form = FormNamed("Status");
  ASSERT_NE(form, nullptr);
  auto* bar = dynamic_cast<fw::TStatusBar*>(form->FindChildControl("SB"));
  ASSERT_NE(bar, nullptr);
  QWidget* w = WidgetOf(bar);
  ASSERT_TRUE(w && Exposed(w));
  // Aligned to the bottom of the form, the whole width.
  EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
  EXPECT_EQ(bar->Width(), form->ClientWidth());
  out.clear();
  QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(out, "draw owner 101-179 true\r\n");
  auto inked = [&](int left, int right) {
    int n = 0;
    for (int y = 2; y < img.height() - 2; ++y)
      for (int x = left; x < right; ++x) n += img.pixel(x, y) != qRgb(255, 255, 255);
    return n;
  };
  EXPECT_GT(inked(2, 98), 20);                  // the text of the first panel
  EXPECT_EQ(inked(190, img.width() - 20), 0);  // the empty last panel

  // Simple text instead of the panels.
  component->Engine().EventLoopAllowed = false;
  bar->SetSimplePanel(true);
  bar->SetSimpleText("MMMMMMMMMM");
  settle();
  img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_GT(inked(2, 98), 20);

  // The hint of the control under the mouse reaches the bar.
  bar->SetAutoHint(true);
  QWidget* button = WidgetOf(form->FindChildControl("Btn"));
  ASSERT_NE(button, nullptr);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(button, &enter);
  EXPECT_EQ(bar->ShownHint(), "Press me");
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(button, &leave);
  EXPECT_EQ(bar->ShownHint(), "");
  EXPECT_EQ(err, "");
}

}  // namespace
