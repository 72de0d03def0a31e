// A small form drawn on the offscreen platform and saved as a PNG: the pixels show that every
// control drew itself where the form description put it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/group_box.h"
#include "platform/fw/label.h"
#include "platform/fw/list_box.h"
#include "platform/fw/list_view.h"
#include "platform/fw/memo.h"
#include "platform/fw/page_control.h"
#include "platform/fw/panel.h"
#include "platform/fw/radio_button.h"
#include "platform/fw/registration.h"
#include "platform/fw/spin.h"
#include "platform/fw/status_bar.h"
#include "platform/fw/tab_control.h"
#include "platform/fw/tool_bar.h"
#include "platform/fw/tree_view.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"
#include "platform/rt/typeinfo.h"

namespace {

using namespace fw;

const char* const kSample = R"(object Sample: TForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Sample'
  ClientHeight = 240
  ClientWidth = 320
  Color = clYellow
  Font.Height = -12
  Font.Name = 'IPAPGothic'
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 304
    Height = 40
    BevelOuter = bvNone
    Color = clNavy
    TabOrder = 0
  end
  object Label1: TLabel
    Left = 8
    Top = 56
    Width = 120
    Height = 16
    AutoSize = False
    Caption = 'ラベル Label'
    Font.Color = clRed
    Font.Height = -14
    Font.Name = 'IPAPGothic'
    ParentFont = False
  end
  object Edit1: TEdit
    Left = 8
    Top = 80
    Width = 140
    Height = 24
    TabOrder = 1
    Text = 'edit text'
  end
  object Button1: TButton
    Left = 8
    Top = 112
    Width = 100
    Height = 28
    Caption = 'Button'
    TabOrder = 2
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 150
    Width = 120
    Height = 20
    Caption = 'Check'
    Checked = True
    TabOrder = 3
  end
  object RadioButton1: TRadioButton
    Left = 8
    Top = 180
    Width = 140
    Height = 20
    Caption = 'Radio'
    Checked = True
    TabOrder = 5
  end
  object ListBox1: TListBox
    Left = 168
    Top = 80
    Width = 144
    Height = 96
    ItemHeight = 16
    Items.Strings = (
      'first'
      'second'
      'third')
    TabOrder = 4
  end
end
)";

using Pixel = std::function<bool(QRgb)>;

bool Near(QRgb p, int r, int g, int b, int tolerance = 24) {
  return std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
         std::abs(qBlue(p) - b) <= tolerance;
}
bool Dark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }
bool Yellow(QRgb p) { return Near(p, 255, 255, 0); }

int Count(const QImage& img, const TRect& r, const Pixel& pred) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += pred(img.pixel(x, y));
  return n;
}
int Area(const TRect& r) { return r.Width() * r.Height(); }
TRect Inset(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d}; }

class ScreenshotTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qtfw_screenshot_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
  }
  void TearDown() override {
    DestroyApplication();
    settle();
  }
  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  static QImage shot(TControl* form) {
    settle();
    auto* peer = dynamic_cast<qtfw::TQtPeer*>(form->Peer());
    if (!peer || !peer->Widget()) return {};
    return peer->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  template <class T>
  static T* part(TComponent* form, const char* name) {
    return dynamic_cast<T*>(form->FindComponent(name));
  }
  static qtfw::TQtHost* host;
};
qtfw::TQtHost* ScreenshotTest::host = nullptr;

TEST_F(ScreenshotTest, EveryControlOfASmallFormDraws) {
  RegisterFrameworkClasses();
  auto* form = new TForm(Application());
  ReadComponentText(form, kSample);
  form->AfterConstruction();
  auto* list = part<TListBox>(form, "ListBox1");
  auto* check = part<TCheckBox>(form, "CheckBox1");
  ASSERT_TRUE(list && check);
  list->SetItemIndex(1);
  form->Show();
  QImage img = shot(form);
  ASSERT_EQ(img.size(), QSize(320, 240));
  const std::string file = testing::TempDir() + "fw_controls_sample.png";
  ASSERT_TRUE(img.save(QString::fromStdString(file), "PNG"));
  QImage saved(QString::fromStdString(file));
  ASSERT_EQ(saved.convertToFormat(QImage::Format_RGB32), img);

  auto rect = [&](const char* name) { return part<TControl>(form, name)->BoundsRect(); };
  // The form's own colour around the controls.
  EXPECT_GT(Count(img, {130, 56, 160, 72}, Yellow), 400);
  // The panel: its colour, edge to edge.
  const TRect panel = rect("Panel1");
  EXPECT_GT(Count(img, Inset(panel, 2), [](QRgb p) { return Near(p, 0, 0, 128); }), Area(Inset(panel, 2)) * 9 / 10);
  // The label: red letters on the form's colour.
  const TRect label = rect("Label1");
  EXPECT_GT(Count(img, label, [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; }), 30);
  EXPECT_GT(Count(img, label, Yellow), Area(label) / 3);
  // The edit: a white field with its dark text.
  const TRect edit = rect("Edit1");
  EXPECT_GT(Count(img, Inset(edit, 3), [](QRgb p) { return Near(p, 255, 255, 255, 8); }), Area(edit) / 2);
  EXPECT_GT(Count(img, Inset(edit, 3), Dark), 20);
  // The button: a face that is not the form's colour, with its caption.
  const TRect button = rect("Button1");
  EXPECT_LT(Count(img, Inset(button, 3), Yellow), Area(button) / 10);
  EXPECT_GT(Count(img, Inset(button, 3), Dark), 20);
  // The list box: white rows, the selected one in the highlight colour, text in the others.
  const TRect lb = rect("ListBox1");
  const TRect row0 = list->ItemRect(0), row1 = list->ItemRect(1);
  auto onForm = [&](TRect r) { return TRect{lb.Left + r.Left, lb.Top + r.Top, lb.Left + r.Right, lb.Top + r.Bottom}; };
  EXPECT_GT(Count(img, Inset(onForm(row1), 2), [](QRgb p) { return Near(p, 10, 36, 106, 12); }),
            Area(Inset(onForm(row1), 2)) / 2);
  EXPECT_GT(Count(img, onForm(row0), Dark), 15);
  EXPECT_GT(Count(img, Inset(lb, 3), [](QRgb p) { return Near(p, 255, 255, 255, 8); }), Area(lb) / 2);
  // The check box: its box and caption drew, and the check mark is what changes when it clears.
  const TRect cb = rect("CheckBox1");
  EXPECT_GT(Count(img, cb, Dark), 20);
  check->SetChecked(false);
  QImage cleared = shot(form);
  int changed = 0;
  for (int y = cb.Top; y < cb.Bottom; ++y)
    for (int x = cb.Left; x < cb.Left + 20; ++x) changed += img.pixel(x, y) != cleared.pixel(x, y);
  EXPECT_GT(changed, 4);
  // The radio button: its caption and checked circle on the form's colour, which it takes over.
  const TRect radio = rect("RadioButton1");
  EXPECT_GT(Count(img, radio, Dark), 20);
  EXPECT_GT(Count(img, {radio.Left + 80, radio.Top, radio.Right, radio.Bottom}, Yellow), 55 * 20 * 9 / 10);
  // Elsewhere nothing moved.
  EXPECT_EQ(img.copy(0, 0, 320, 76), cleared.copy(0, 0, 320, 76));
  EXPECT_EQ(img.copy(lb.Left, lb.Top, lb.Width(), lb.Height()), cleared.copy(lb.Left, lb.Top, lb.Width(), lb.Height()));
}

// Each control twice, the second disabled: the disabled one writes its caption in grey where the
// enabled one writes it dark.
TEST_F(ScreenshotTest, DisabledControlsGreyTheirText) {
  RegisterFrameworkClasses();
  auto* form = new TForm(Application());
  form->SetBorderStyle(bsDialog);
  form->SetClientSize(320, 240);
  form->SetColor(clWhite);
  form->AfterConstruction();
  struct Pair {
    TControl* on;
    TControl* off;
    int textLeft;  // where the caption starts (after a check box's box)
  };
  std::vector<Pair> pairs;
  auto place = [&](auto* control, int row, int textLeft) {
    using C = std::remove_pointer_t<decltype(control)>;
    auto* twin = new C(form);
    int x = 8;
    for (TControl* c : {static_cast<TControl*>(control), static_cast<TControl*>(twin)}) {
      c->SetParent(form);
      c->SetBounds(x, 8 + row * 36, 140, 28);
      c->SetText("MMMM Text");
      x += 160;
    }
    twin->SetEnabled(false);
    pairs.push_back({control, twin, textLeft});
  };
  place(new TButton(form), 0, 6);
  place(new TCheckBox(form), 1, 22);
  place(new TRadioButton(form), 2, 22);
  place(new TLabel(form), 3, 0);
  place(new TEdit(form), 4, 6);
  auto* list = new TListBox(form);
  list->Items()->Add("MMMM Text");
  place(list, 5, 6);
  static_cast<TListBox*>(pairs.back().off)->Items()->Add("MMMM Text");
  form->Show();
  QImage img = shot(form);
  ASSERT_FALSE(img.isNull());
  img.save(QString::fromStdString(testing::TempDir() + "fw_disabled_controls.png"), "PNG");
  auto grey = [](QRgb p) { return Near(p, 128, 128, 128, 40); };
  for (const Pair& pair : pairs) {
    const std::string name = pair.on->ClassName();
    auto text = [&](TControl* c) {
      const TRect r = Inset(c->BoundsRect(), 4);
      return TRect{r.Left + pair.textLeft, r.Top, r.Right, r.Bottom};
    };
    EXPECT_GT(Count(img, text(pair.on), Dark), 15) << name;
    EXPECT_LE(Count(img, text(pair.off), Dark), 2) << name;
    EXPECT_GT(Count(img, text(pair.off), grey), 15) << name;
  }
}


// Every control that shows a text, in the font's colour (blue here) twice: the first enabled, the
// second disabled. `left` places the copy; `suffix` names it.
std::string EveryTextControl(const std::string& suffix, int left) {
  std::string t;
  auto add = [&](const std::string& cls, const std::string& name, int top, int width, int height,
                 const std::string& extra) {
    t += "  object " + name + suffix + ": " + cls + "\n    Left = " + std::to_string(left) +
         "\n    Top = " + std::to_string(top) + "\n    Width = " + std::to_string(width) +
         "\n    Height = " + std::to_string(height) + "\n" + extra + "  end\n";
  };
  add("TPanel", "Panel", 4, 140, 24, "    Caption = 'MMMM Panel'\n");
  add("TStatusBar", "Status", 32, 140, 22,
      "    Align = alNone\n    Panels = <\n      item\n        Text = 'MMMM'\n        Width = 70\n      end\n"
      "      item\n        Text = 'Bar'\n        Width = 60\n      end>\n");
  add("TStatusBar", "Simple", 58, 140, 22, "    Align = alNone\n    SimplePanel = True\n    SimpleText = 'MMMM Simple'\n");
  add("TCoolBar", "Cool", 84, 140, 30,
      "    Align = alNone\n    Bands = <\n      item\n        Text = 'MMMM Band'\n        Width = 130\n      end>\n");
  add("TTabControl", "Tabs", 118, 140, 50, "    Tabs.Strings = (\n      'MMMM'\n      'Tab')\n");
  add("TPageControl", "Pages", 172, 140, 50,
      "    object SheetA" + suffix + ": TTabSheet\n      Caption = 'MMMM'\n    end\n"
      "    object SheetB" + suffix + ": TTabSheet\n      Caption = 'Page'\n    end\n");
  add("TGroupBox", "Group", 226, 140, 36, "    Caption = 'MMMM Group'\n");
  add("TRadioGroup", "Radios", 266, 140, 60, "    Caption = 'MMMM'\n    Items.Strings = (\n      'MMMM Item')\n");
  add("TComboBox", "Combo", 330, 140, 24, "    Text = 'MMMM Combo'\n");
  add("TMemo", "Memo", 358, 140, 40, "    Lines.Strings = (\n      'MMMM Memo')\n");
  add("TSpinEdit", "Spin", 402, 140, 24, "    Value = 8888888\n");
  add("TToolBar", "Tools", 430, 140, 26,
      "    Align = alNone\n    ShowCaptions = True\n    object Tool" + suffix +
          ": TToolButton\n      Caption = 'MMMM'\n    end\n");
  add("TListView", "List", 460, 140, 60,
      "    ViewStyle = vsReport\n    Columns = <\n      item\n        Caption = 'MMMM'\n        Width = 70\n      end\n"
      "      item\n        Caption = 'Col'\n        Width = 60\n      end>\n");
  add("TTreeView", "Tree", 524, 140, 40, "");
  add("TCheckListBox", "Checks", 568, 140, 24, "    Items.Strings = (\n      'MMMM Check')\n");
  return t;
}

// The framework registers the first-tier classes for descriptions; the bars, views and their
// parts are registered by the script bridge, which these tests do without.
void RegisterEveryTextClass() {
  RegisterFrameworkClasses();
  for (const rt::ClassInfo* cls :
       {&TStatusBar::StaticClassInfo(), &TCoolBar::StaticClassInfo(), &TTabControl::StaticClassInfo(),
        &TPageControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(), &TSpinEdit::StaticClassInfo(),
        &TToolBar::StaticClassInfo(), &TToolButton::StaticClassInfo(), &TTreeView::StaticClassInfo()})
    rt::RegisterClass(*cls);
}

// Where a control lies on its form's client area.
TRect OnForm(TControl* c) {
  TRect r = c->BoundsRect();
  for (TControl* p = c->Parent(); p && p->Parent(); p = p->Parent()) {
    r.Left += p->Left(), r.Right += p->Left();
    r.Top += p->Top(), r.Bottom += p->Top();
  }
  return r;
}

bool FontBlue(QRgb p) { return qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100; }
// Grey ink, on any light background it was smoothed into.
bool GreyInk(QRgb p) {
  const int hi = std::max({qRed(p), qGreen(p), qBlue(p)}), lo = std::min({qRed(p), qGreen(p), qBlue(p)});
  return hi - lo < 30 && hi < 200 && lo > 60;
}

// A pair of the same control, the second disabled (itself or through a parent): where the first
// writes its text in the font's colour, the second writes the same text in grey.
void ExpectGreyedText(const QImage& img, TControl* on, TControl* off) {
  ASSERT_TRUE(on && off);
  const std::string name = on->Name();
  const TRect a = OnForm(on), b = OnForm(off);
  int ink = 0, grey = 0;
  for (int y = a.Top; y < a.Bottom; ++y)
    for (int x = a.Left; x < a.Right; ++x)
      if (FontBlue(img.pixel(x, y))) {
        ++ink;
        grey += GreyInk(img.pixel(x - a.Left + b.Left, y - a.Top + b.Top));
      }
  EXPECT_GT(ink, 15) << name;
  EXPECT_LE(Count(img, b, FontBlue), 2) << name;
  EXPECT_GE(grey, ink * 8 / 10) << name;
}

TEST_F(ScreenshotTest, EveryControlWithTextGreysItWhenDisabled) {
  RegisterEveryTextClass();
  auto* form = new TForm(Application());
  ReadComponentText(form, "object Every: TForm\n  BorderStyle = bsDialog\n  ClientHeight = 600\n  ClientWidth = 320\n"
                          "  Color = clWhite\n  Font.Color = clBlue\n  Font.Height = -12\n" +
                              EveryTextControl("On", 8) + EveryTextControl("Off", 168) + "end\n");
  form->AfterConstruction();
  for (const char* suffix : {"On", "Off"}) {
    auto* list = part<TListView>(form, (std::string("List") + suffix).c_str());
    auto* tree = part<TTreeView>(form, (std::string("Tree") + suffix).c_str());
    ASSERT_TRUE(list && tree);
    TListItem* item = list->Items()->Add();
    item->SetCaption("MMMM");
    item->SubItems()->Add("Sub");
    tree->Items()->AddChild(tree->Items()->Add(nullptr, "MMMM Node"), "Child")->MakeVisible();
  }
  std::vector<std::string> names;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    const std::string name = form->Components(i)->Name();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "Off") == 0) {
      names.push_back(name.substr(0, name.size() - 3));
      if (auto* c = dynamic_cast<TControl*>(form->Components(i)); c && c->Parent() == form) c->SetEnabled(false);
    }
  }
  form->Show();
  QImage img = shot(form);
  ASSERT_FALSE(img.isNull());
  img.save(QString::fromStdString(testing::TempDir() + "fw_disabled_every_control.png"), "PNG");
  for (const std::string& name : names) {
    // The sheets and the tool button sit inside their pair; their parent is what was disabled.
    if (name == "SheetA" || name == "SheetB" || name == "Tool") continue;
    ExpectGreyedText(img, part<TControl>(form, (name + "On").c_str()), part<TControl>(form, (name + "Off").c_str()));
  }
}

// Controls enabled themselves inside a disabled panel look disabled too: a user cannot reach them.
TEST_F(ScreenshotTest, ControlsOfADisabledParentGreyTheirText) {
  RegisterEveryTextClass();
  auto* form = new TForm(Application());
  auto holder = [](const std::string& suffix, int left) {
    std::string inner;
    auto add = [&](const std::string& cls, const std::string& name, int top, int height, const std::string& extra) {
      inner += "    object " + name + suffix + ": " + cls + "\n      Left = 4\n      Top = " + std::to_string(top) +
               "\n      Width = 130\n      Height = " + std::to_string(height) + "\n" + extra + "    end\n";
    };
    add("TLabel", "Label", 4, 16, "      Caption = 'MMMM Label'\n");
    add("TButton", "Button", 24, 26, "      Caption = 'MMMM'\n");
    add("TEdit", "Edit", 54, 24, "      Text = 'MMMM Edit'\n");
    add("TCheckBox", "Check", 82, 20, "      Caption = 'MMMM Check'\n");
    add("TListBox", "Box", 106, 24, "      Items.Strings = (\n        'MMMM Row')\n");
    add("TPanel", "Inner", 134, 24, "      Caption = 'MMMM Inner'\n");
    add("TTabControl", "Tabs", 162, 44, "      Tabs.Strings = (\n        'MMMM')\n");
    add("TTreeView", "Tree", 210, 40, "");
    return "  object Holder" + suffix + ": TPanel\n    Left = " + std::to_string(left) +
           "\n    Top = 4\n    Width = 140\n    Height = 256\n    BevelOuter = bvNone\n" + inner + "  end\n";
  };
  ReadComponentText(form, "object Held: TForm\n  BorderStyle = bsDialog\n  ClientHeight = 264\n  ClientWidth = 300\n"
                          "  Color = clWhite\n  Font.Color = clBlue\n  Font.Height = -12\n" +
                              holder("On", 4) + holder("Off", 154) + "end\n");
  form->AfterConstruction();
  for (const char* suffix : {"On", "Off"})
    part<TTreeView>(form, (std::string("Tree") + suffix).c_str())->Items()->Add(nullptr, "MMMM Node");
  part<TControl>(form, "HolderOff")->SetEnabled(false);
  form->Show();
  QImage img = shot(form);
  ASSERT_FALSE(img.isNull());
  img.save(QString::fromStdString(testing::TempDir() + "fw_disabled_parent.png"), "PNG");
  for (const char* name : {"Label", "Button", "Edit", "Check", "Box", "Inner", "Tabs", "Tree"}) {
    auto* off = part<TControl>(form, (std::string(name) + "Off").c_str());
    ASSERT_TRUE(off && off->Enabled()) << name;
    ExpectGreyedText(img, part<TControl>(form, (std::string(name) + "On").c_str()), off);
  }
}

}  // namespace
