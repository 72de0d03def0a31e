// One form built by a script with every list, container, menu, tool, page and status family of
// the bridge, drawn on the offscreen platform and saved as a PNG. The pixels show each control drew
// itself where the script put it, and that a change the script makes (a progress position, a
// page, a panel text, a list selection) shows in the next picture and nowhere else.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <functional>

#include "platform/fw/application.h"
#include "platform/fw/bitmap.h"
#include "platform/fw/canvas.h"
#include "platform/fw/form.h"
#include "platform/fw/image.h"
#include "platform/fw/menus.h"
#include "platform/fw/picture.h"
#include "platform/qt/peer.h"
#include "script/core/component.h"
#include "tests/script/gui/qt_script_fixture.h"

namespace {

const char kForm[] = R"(
  var f = new VCLForm(true);
  f.Name = "Everything";
  f.Caption = "Every family";
  f.BorderStyle = "bsDialog";
  f.Color = 0x00FFFF;               // yellow: whatever is not yellow, a control drew
  f.ClientWidth = 520;
  f.ClientHeight = 380;

  var mm = new VCLMainMenu();
  var fileItem = new VCLMenuItem(); fileItem.Caption = "&File";
  var openItem = new VCLMenuItem(); openItem.Caption = "&Open...";
  fileItem.add(openItem);
  var helpItem = new VCLMenuItem(); helpItem.Caption = "&Help";
  mm.items.add(fileItem, helpItem);
  f.Menu = mm;

  var bar = new VCLToolBar(f); bar.Name = "Bar"; bar.ShowCaptions = true; bar.ButtonWidth = 60;
  var open = new VCLToolButton(bar); open.Name = "OpenBtn"; open.Caption = "Open";
  var bold = new VCLToolButton(bar); bold.Name = "BoldBtn"; bold.Caption = "Bold"; bold.Style = "tbsCheck";

  var sb = new VCLStatusBar(f); sb.Name = "Status";
  var p0 = sb.panels.add(); p0.Text = "Ready"; p0.Width = 160;
  var p1 = sb.panels.add(); p1.Text = "3 items";

  var left = new VCLPanel(f); left.Name = "Left"; left.Align = "alLeft"; left.Width = 140;
  left.Color = 0x800000;            // navy
  left.BevelOuter = "bvNone";
  var lb = new VCLListBox(left); lb.Name = "List"; lb.setBounds(6, 6, 128, 110);
  lb.Items.add("apples"); lb.Items.add("pears"); lb.Items.add("plums");
  var cl = new VCLCheckListBox(left); cl.Name = "Checks"; cl.setBounds(6, 124, 128, 80);
  cl.Items.add("washed"); cl.Items.add("sliced"); cl.checked(0, true);
  var split = new VCLSplitter(f); split.Name = "Split"; split.Align = "alLeft"; split.Width = 6; split.Left = 150;

  var pc = new VCLPageControl(f); pc.Name = "Pages"; pc.Align = "alClient";
  var ts1 = new VCLTabSheet(pc); ts1.Name = "Fruit"; ts1.Caption = "Fruit";
  var ts2 = new VCLTabSheet(pc); ts2.Name = "Notes"; ts2.Caption = "Notes";
  var cb = new VCLComboBox(ts1); cb.Name = "Combo"; cb.setBounds(8, 8, 150, 24);
  cb.Items.add("small"); cb.Items.add("large"); cb.ItemIndex = 1;
  var rg = new VCLRadioGroup(ts1); rg.Name = "Size"; rg.setBounds(8, 40, 150, 90); rg.Caption = "Size";
  rg.Items.add("one"); rg.Items.add("two"); rg.ItemIndex = 0;
  var gb = new VCLGroupBox(ts1); gb.Name = "Box"; gb.setBounds(170, 8, 170, 122); gb.Caption = "Amount";
  var spin = new VCLSpinEdit(gb); spin.Name = "Spin"; spin.setBounds(10, 24, 90, 24);
  spin.MaxValue = 99; spin.Value = 42;
  var img = new VCLImage(ts1); img.Name = "Picture"; img.setBounds(8, 140, 64, 64);
  var pb = new VCLProgressBar(ts1); pb.Name = "Progress"; pb.setBounds(90, 150, 250, 20); pb.Position = 60;
  open.onClick = function(sender) {
    pb.Position = 10;
    p0.Text = "Opened";
    lb.ItemIndex = 1;
  };
  bold.onClick = function(sender) { pc.ActivePageIndex = 1; };
  f.show();
)";

using Pixel = std::function<bool(QRgb)>;
bool Near(QRgb p, int r, int g, int b, int tolerance = 24) {
  return std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
         std::abs(qBlue(p) - b) <= tolerance;
}
bool Dark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }
bool Yellow(QRgb p) { return Near(p, 255, 255, 0); }
bool White(QRgb p) { return Near(p, 255, 255, 255, 8); }
bool Navy(QRgb p) { return Near(p, 0, 0, 128); }

int Count(const QImage& img, const QRect& r, const Pixel& pred) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += pred(img.pixel(x, y));
  return n;
}
int Changed(const QImage& a, const QImage& b, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}
int Area(const QRect& r) { return r.width() * r.height(); }

class EveryFamilyScreenshot : public guitest::QtScriptTest {
 protected:
  QImage Shot() {
    settle();
    return WidgetOf(form)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // Where a control shows inside the form's picture.
  QRect RectOf(const std::string& name) {
    fw::TControl* c = Find(form, name);
    QWidget* w = WidgetOf(c);
    if (!w) {
      ADD_FAILURE() << name << " has no window";
      return {};
    }
    return QRect(w->mapTo(WidgetOf(form), QPoint(0, 0)), w->size());
  }
  static void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    settle();
  }

  fw::TForm* form = nullptr;
};

TEST_F(EveryFamilyScreenshot, EveryControlDrawsWhereTheScriptPutIt) {
  Run(kForm);
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == "Everything") form = dynamic_cast<fw::TForm*>(fw::Screen()->Forms(i));
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return WidgetOf(form) && WidgetOf(form)->isVisible(); }, kWatchdogMs));
  // A picture for the image: a red square with a white cross.
  auto* image = dynamic_cast<fw::TImage*>(Find(form, "Picture"));
  ASSERT_NE(image, nullptr);
  {
    fw::TBitmap bitmap;
    bitmap.SetSize(64, 64);
    fw::TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(fw::clRed);
    canvas->FillRect({0, 0, 64, 64});
    canvas->Brush()->SetColor(fw::clWhite);
    canvas->FillRect({28, 0, 36, 64});
    canvas->FillRect({0, 28, 64, 36});
    image->Picture()->Assign(&bitmap);
  }
  QImage img = Shot();
  const int menu = form->MenuBarHeight();
  EXPECT_GT(menu, 10);
  ASSERT_EQ(img.size(), QSize(520, 380 + menu));
  const std::string file = testing::TempDir() + "gui_every_family.png";
  ASSERT_TRUE(img.save(QString::fromStdString(file), "PNG"));
  ASSERT_EQ(QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32), img);

  // Tool bar across the top with its two captions.
  const QRect bar = RectOf("Bar"), openBtn = RectOf("OpenBtn"), boldBtn = RectOf("BoldBtn");
  // The menu bar above everything with its two captions.
  EXPECT_GT(Count(img, QRect(0, 0, 120, menu), Dark), 20);
  EXPECT_EQ(bar.top(), menu);
  EXPECT_EQ(bar.width(), 520);
  EXPECT_TRUE(bar.contains(openBtn) && bar.contains(boldBtn));
  EXPECT_LT(openBtn.right(), boldBtn.left());
  EXPECT_GT(Count(img, openBtn, Dark), 15);
  EXPECT_GT(Count(img, boldBtn, Dark), 15);
  // Status bar along the bottom with the text of its panels.
  const QRect status = RectOf("Status");
  EXPECT_EQ(status.bottom(), 379 + menu);
  EXPECT_GT(Count(img, QRect(status.left(), status.top(), 160, status.height()), Dark), 15);
  EXPECT_GT(Count(img, QRect(status.left() + 165, status.top(), 150, status.height()), Dark), 15);
  // The navy panel on the left, between bar and status bar, holding the two lists.
  const QRect left = RectOf("Left"), list = RectOf("List"), checks = RectOf("Checks");
  EXPECT_EQ(left.top(), bar.bottom() + 1);
  EXPECT_EQ(left.bottom(), status.top() - 1);
  EXPECT_GT(Count(img, QRect(left.left(), checks.bottom() + 4, left.width(), left.bottom() - checks.bottom() - 4), Navy),
            Area(left) / 4);
  EXPECT_TRUE(left.contains(list) && left.contains(checks));
  EXPECT_GT(Count(img, list, White), Area(list) / 2);
  EXPECT_GT(Count(img, list, Dark), 40);
  EXPECT_GT(Count(img, checks, White), Area(checks) / 3);
  EXPECT_GT(Count(img, checks, Dark), 40);
  // The splitter right of the panel, the pages filling the rest.
  const QRect split = RectOf("Split"), pages = RectOf("Pages");
  EXPECT_EQ(split.left(), left.right() + 1);
  EXPECT_EQ(split.width(), 6);
  EXPECT_EQ(Count(img, split, Navy), 0);
  EXPECT_EQ(pages.left(), split.right() + 1);
  EXPECT_EQ(pages.right(), 519);
  // Tabs with their captions above the first sheet's controls.
  const QRect combo = RectOf("Combo"), size = RectOf("Size"), box = RectOf("Box"), spin = RectOf("Spin"),
              picture = RectOf("Picture"), progress = RectOf("Progress");
  const QRect tabs(pages.left(), pages.top(), pages.width(), combo.top() - pages.top() - 8);
  EXPECT_GT(Count(img, tabs, Dark), 30);
  for (const QRect& r : {combo, size, box, picture, progress}) EXPECT_TRUE(pages.contains(r));
  EXPECT_TRUE(box.contains(spin));
  EXPECT_GT(Count(img, combo, Dark), 20);
  EXPECT_GT(Count(img, size, Dark), 40);   // its caption, two buttons and their texts
  EXPECT_GT(Count(img, QRect(box.left(), box.top(), box.width(), spin.top() - box.top()), Dark), 10);
  EXPECT_GT(Count(img, spin, Dark), 15);
  EXPECT_EQ(Count(img, picture.adjusted(2, 2, -38, -38), [](QRgb p) { return Near(p, 255, 0, 0, 8); }),
            Area(picture.adjusted(2, 2, -38, -38)));
  EXPECT_TRUE(Near(img.pixel(picture.left() + 32, picture.top() + 5), 255, 255, 255, 8));
  EXPECT_EQ(Count(img, progress, Yellow), 0);

  // A click on "Open" runs the script, whose changes show where they belong and nowhere else.
  Click(WidgetOf(Find(form, "OpenBtn")));
  EXPECT_EQ(err, "");
  QImage after = Shot();
  EXPECT_GT(Changed(img, after, progress), Area(progress) / 4);
  EXPECT_GT(Changed(img, after, QRect(status.left(), status.top(), 160, status.height())), 20);
  EXPECT_EQ(Changed(img, after, QRect(status.left() + 165, status.top(), 150, status.height())), 0);
  EXPECT_GT(Changed(img, after, list), 100);
  for (const QRect& r : {checks, combo, size, box, picture}) EXPECT_EQ(Changed(img, after, r), 0);
  EXPECT_EQ(Changed(img, after, QRect(0, bar.bottom() + 1, left.width(), 5)), 0);
  EXPECT_EQ(Changed(img, after, QRect(0, 0, 520, menu)), 0);
  // "Bold" turns to the second page: the first page's controls are gone from the picture.
  Click(WidgetOf(Find(form, "BoldBtn")));
  QImage second = Shot();
  EXPECT_GT(Changed(after, second, tabs), 20);
  EXPECT_GT(Changed(after, second, size), Area(size) / 20);
  EXPECT_EQ(Count(second, picture.adjusted(2, 2, -38, -38), [](QRgb p) { return Near(p, 255, 0, 0, 8); }), 0);
  EXPECT_EQ(Changed(after, second, list), 0);
  EXPECT_EQ(err, "");
}

}  // namespace
