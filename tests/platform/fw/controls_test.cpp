// Controls as models: parents and owners, font and colour inheritance, form descriptions read and
// written back, memo lines over the memo's text, edits, check boxes, keyboard routing to the
// form's default and cancel buttons and along the tab order.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/fw/application.h"
#include "platform/fw/bitmap.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/image.h"
#include "platform/fw/keys.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/fw/method_table.h"
#include "platform/fw/panel.h"
#include "platform/fw/registration.h"
#include "platform/fw/timer.h"
#include "tests/platform/fw/gui_environment.h"

namespace fw {
namespace {

class TSampleForm : public TForm {
  RT_CLASS(TSampleForm)
 public:
  using TForm::TForm;
  int clicks = 0;
  std::vector<std::string> keys;
  void OkClick(TObject*) { ++clicks; }
  void FormKeyPress(TObject*, char& key) { keys.push_back(std::string(1, key)); }
};

const rt::ClassInfo& TSampleForm::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& cls =
        rt::ClassBuilder<TSampleForm>("TSampleForm", &TForm::StaticClassInfo())
            .create([](rt::TPersistent* o) -> rt::TPersistent* { return new TSampleForm(static_cast<TComponent*>(o)); })
            .build();
    RegisterMethod(cls, "OkClick", MethodCode<&TSampleForm::OkClick>());
    RegisterMethod(cls, "FormKeyPress", MethodCode<&TSampleForm::FormKeyPress>());
    return cls;
  }();
  return info;
}

const char* const kSample = R"(object Sample: TSampleForm
  Left = 10
  Top = 20
  BorderStyle = bsDialog
  Caption = 'サンプル'
  ClientHeight = 120
  ClientWidth = 300
  Font.Color = clNavy
  Font.Height = -13
  KeyPreview = True
  OnKeyPress = FormKeyPress
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 60
    BevelOuter = bvNone
    Caption = 'Panel & co'
    Color = clBlack
    TabOrder = 1
    object Label1: TLabel
      Left = 4
      Top = 4
      Width = 50
      Height = 16
      AutoSize = False
      Caption = '&Name'
      FocusControl = Edit1
    end
    object Edit1: TEdit
      Left = 60
      Top = 4
      Width = 100
      Height = 21
      TabOrder = 0
      Text = 'abc'
    end
  end
  object Memo1: TMemo
    Left = 0
    Top = 64
    Width = 100
    Height = 40
    Lines.Strings = (
      'one'
      'two')
    TabOrder = 0
  end
  object OkButton: TButton
    Left = 200
    Top = 80
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
    OnClick = OkClick
  end
  object Check: TCheckBox
    Left = 110
    Top = 70
    Width = 80
    Height = 17
    Caption = 'Check'
    Checked = True
    State = cbChecked
    TabOrder = 3
  end
  object Timer1: TTimer
    Interval = 50
    Left = 250
    Top = 8
  end
end
)";

class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    fwtest::EnsureGuiApplication();
    RegisterFrameworkClasses();
    rt::RegisterClass(TSampleForm::StaticClassInfo());
    form = new TSampleForm(Application());
    ReadComponentText(form, kSample);
    form->AfterConstruction();
  }
  void TearDown() override { DestroyApplication(); }
  template <class T>
  T* find(const char* name) {
    return dynamic_cast<T*>(form->FindComponent(name));
  }
  TSampleForm* form = nullptr;
};

TEST_F(ControlsTest, TheDescriptionBuildsTheTree) {
  EXPECT_EQ(form->Name(), "Sample");
  EXPECT_EQ(form->Caption(), "サンプル");
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 120);
  EXPECT_GT(form->Width(), 300);  // the frame is outside the client area
  auto* panel = find<TPanel>("Panel1");
  auto* edit = find<TEdit>("Edit1");
  auto* label = find<TLabel>("Label1");
  ASSERT_TRUE(panel && edit && label);
  EXPECT_EQ(edit->Parent(), panel);
  EXPECT_EQ(panel->Parent(), form);
  EXPECT_EQ(edit->Owner(), form);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(label->DisplayText(), "Name");
  EXPECT_EQ(form->ControlCount(), 4);  // panel, memo, button, check box; the timer is no control
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_TRUE(find<TCheckBox>("Check")->Checked());
  EXPECT_EQ(find<TTimer>("Timer1")->Interval(), 50u);
  // Tab order: the memo (0) before the panel (1) before the button (2).
  std::vector<TWinControl*> tabs = form->TabList();
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_EQ(tabs[0]->Name(), "Memo1");
  EXPECT_EQ(tabs[1]->Name(), "Panel1");
  EXPECT_EQ(tabs[2]->Name(), "OkButton");
}

TEST_F(ControlsTest, FontAndColourComeFromTheParentUntilSetOwn) {
  auto* panel = find<TPanel>("Panel1");
  auto* label = find<TLabel>("Label1");
  auto* edit = find<TEdit>("Edit1");
  EXPECT_EQ(panel->Font()->Color(), clNavy);
  EXPECT_EQ(label->Font()->Height(), -13);
  EXPECT_EQ(label->Color(), clBlack);  // labels take the parent's colour
  EXPECT_EQ(edit->Color(), clWindow);  // edits keep their own
  form->Font()->SetColor(clRed);
  EXPECT_EQ(label->Font()->Color(), clRed);
  label->Font()->SetColor(clWhite);
  EXPECT_FALSE(label->ParentFont());
  form->Font()->SetColor(clGreen);
  EXPECT_EQ(label->Font()->Color(), clWhite);
  EXPECT_EQ(edit->Font()->Color(), clGreen);
  panel->SetColor(clTeal);
  EXPECT_EQ(label->Color(), clTeal);
}

TEST_F(ControlsTest, WrittenTextReadsBackToTheSameTree) {
  find<TEdit>("Edit1")->SetText("changed 'quote'");
  find<TMemo>("Memo1")->Lines()->Add("日本語");
  const std::string text = WriteComponentText(form);
  EXPECT_NE(text.find("OnClick = OkClick"), std::string::npos);
  EXPECT_NE(text.find("FocusControl = Edit1"), std::string::npos);
  EXPECT_EQ(text.find("ParentColor"), std::string::npos);  // defaults are not written

  auto* copy = new TSampleForm(Application());
  ReadComponentText(copy, text);
  EXPECT_EQ(copy->Name(), "Sample_1");  // a second window of the class gets a name of its own
  std::string expected = text;
  expected.replace(expected.find("Sample:"), 7, "Sample_1:");
  EXPECT_EQ(WriteComponentText(copy), expected);
  EXPECT_EQ(dynamic_cast<TEdit*>(copy->FindComponent("Edit1"))->Text(), "changed 'quote'");
  EXPECT_EQ(dynamic_cast<TMemo*>(copy->FindComponent("Memo1"))->Lines()->Get(2), "日本語");
  auto* button = dynamic_cast<TButton*>(copy->FindComponent("OkButton"));
  button->Click();
  EXPECT_EQ(copy->clicks, 1);  // the handler is bound to the copy
  EXPECT_EQ(form->clicks, 0);
}

TEST_F(ControlsTest, MalformedDescriptionsFailWithTheLine) {
  auto* f = new TSampleForm(Application());
  try {
    ReadComponentText(f, "object X: TSampleForm\n  Caption = 'open\nend\n");
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_NE(e.message().find("line 2"), std::string::npos) << e.message();
  }
  auto* g = new TSampleForm(Application());
  EXPECT_THROW(ReadComponentText(g, "object X: TSampleForm\n  object B: TNoSuchClass\n  end\nend\n"), EClassNotFound);
  auto* h = new TSampleForm(Application());
  EXPECT_ANY_THROW(ReadComponentText(h, "object X: TSampleForm\n  OnClick = NoSuchHandler\nend\n"));
}

TEST_F(ControlsTest, MemoLinesAreAViewOfTheText) {
  auto* memo = find<TMemo>("Memo1");
  EXPECT_EQ(memo->Text(), "one\r\ntwo");
  memo->SetText("120\r\n7\r\n0\r\n");
  EXPECT_EQ(memo->Lines()->Count(), 3);  // the empty line after the last break is none
  memo->Lines()->Put(2, "1");
  EXPECT_EQ(memo->Lines()->Text(), "120\r\n7\r\n1\r\n");
  memo->SetText("a\nb\rc");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  memo->Lines()->Insert(0, "z");
  EXPECT_EQ(memo->Text(), "z\r\na\r\nb\r\nc");
  memo->Lines()->Delete(3);
  EXPECT_EQ(memo->Lines()->Get(2), "b");
  EXPECT_THROW(memo->Lines()->Get(3), EStringListError);
  memo->Lines()->Clear();
  EXPECT_EQ(memo->Lines()->Count(), 0);
  EXPECT_EQ(memo->Text(), "");
}

TEST_F(ControlsTest, EditSelectionCountsBytesAndUndoRestores) {
  auto* edit = find<TEdit>("Edit1");
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  edit->OnChange = TNotifyEvent::bind<&Counter::Changed>(&counter);
  edit->SetText("日本abc");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(edit->Modified());
  edit->SetSelStart(1);  // inside the first character: moved to its start
  EXPECT_EQ(edit->SelStart(), 0);
  edit->SetSelStart(3);
  edit->SetSelLength(4);  // ends inside a character: takes all of it
  EXPECT_EQ(edit->SelText(), "本a");
  edit->SetSelText("X");
  EXPECT_EQ(edit->Text(), "日Xbc");
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(changes, 2);
  ASSERT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), "日本abc");
  edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(edit->Text(), "日本ABC");
  edit->UserEdited("日本ABCd", 10, 0);
  EXPECT_EQ(edit->Text(), "日本ABCD");
  EXPECT_EQ(edit->SelStart(), 10);
  edit->SetSelStart(99);
  EXPECT_EQ(edit->SelStart(), 10);  // held to the text
}

TEST_F(ControlsTest, CheckBoxStateChangesClickOnce) {
  auto* check = find<TCheckBox>("Check");
  int clicks = 0;
  struct Counter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicks};
  check->OnClick = TNotifyEvent::bind<&Counter::Click>(&counter);
  check->SetChecked(true);  // no change, no click
  EXPECT_EQ(clicks, 0);
  check->Toggle();
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(clicks, 1);
  check->SetAllowGrayed(true);
  check->Toggle();
  check->Toggle();
  EXPECT_EQ(check->State(), cbGrayed);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsTest, EnterAndEscapeReachTheDialogButtonsTabMovesOn) {
  auto* edit = find<TEdit>("Edit1");
  auto* memo = find<TMemo>("Memo1");
  auto* button = find<TButton>("OkButton");
  form->Show();
  char a = 'a';
  edit->KeyPress(a);
  EXPECT_EQ(form->keys, std::vector<std::string>{"a"});  // the form previews keys
  uint16_t enter = VK_RETURN;
  EXPECT_FALSE(memo->KeyDown(enter, {}));  // a memo keeps its Enter
  EXPECT_EQ(form->clicks, 0);
  EXPECT_TRUE(edit->KeyDown(enter, {}));
  EXPECT_EQ(form->clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  button->SetCancel(true);
  uint16_t escape = VK_ESCAPE;
  EXPECT_TRUE(edit->KeyDown(escape, {}));
  EXPECT_EQ(form->clicks, 2);

  form->SetActiveControl(memo);
  uint16_t tab = VK_TAB;
  EXPECT_TRUE(memo->KeyDown(tab, {}));
  EXPECT_EQ(form->ActiveControl(), edit);  // the panel's edit comes next
  tab = VK_TAB;
  EXPECT_TRUE(edit->KeyDown(tab, TShiftState{ssShift}));
  EXPECT_EQ(form->ActiveControl(), memo);
  edit->SetVisible(false);
  EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
}

TEST_F(ControlsTest, ClicksNeedPressAndReleaseInside) {
  auto* panel = find<TPanel>("Panel1");
  int clicks = 0;
  struct Counter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicks};
  panel->OnClick = TNotifyEvent::bind<&Counter::Click>(&counter);
  panel->MouseDown(mbLeft, {}, 5, 5);
  panel->MouseUp(mbLeft, {}, 6, 6);
  EXPECT_EQ(clicks, 1);
  panel->MouseDown(mbLeft, {}, 5, 5);
  panel->MouseUp(mbLeft, {}, 500, 5);  // released outside
  panel->MouseUp(mbLeft, {}, 6, 6);    // released without a press
  EXPECT_EQ(clicks, 1);

  // A double click: press, release (a click), second press (the double click), release (nothing).
  struct Doubles {
    int n = 0;
    TShiftState lastDown;
    void Dbl(TObject*) { ++n; }
    void Down(TObject*, TMouseButton, TShiftState s, int32_t, int32_t) { lastDown = s; }
  } doubles;
  panel->OnDblClick = TNotifyEvent::bind<&Doubles::Dbl>(&doubles);
  panel->OnMouseDown = TMouseEvent::bind<&Doubles::Down>(&doubles);
  panel->MouseDown(mbLeft, {}, 5, 5);
  panel->MouseUp(mbLeft, {}, 5, 5);
  panel->MouseDoubleClick(mbLeft, {}, 5, 5);
  panel->MouseUp(mbLeft, {}, 5, 5);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(doubles.n, 1);
  EXPECT_TRUE(doubles.lastDown.has(ssDouble));
}

TEST_F(ControlsTest, FreeingAControlTakesItOutOfParentOwnerAndFocus) {
  auto* panel = find<TPanel>("Panel1");
  auto* edit = find<TEdit>("Edit1");
  form->Show();
  form->SetActiveControl(edit);
  panel->Free();  // with its children
  EXPECT_EQ(form->FindComponent("Edit1"), nullptr);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(form->ControlCount(), 3);
  auto* other = new TPanel(form);
  EXPECT_THROW(other->SetParent(other), EInvalidOperation);
  auto* inner = new TPanel(form);
  inner->SetParent(other);
  EXPECT_THROW(other->SetParent(inner), EInvalidOperation);
}

TEST_F(ControlsTest, FormCanvasKeepsDrawingUntilARepaintClearsIt) {
  form->SetColor(clBlack);
  TCanvas* canvas = form->Canvas();
  EXPECT_EQ(form->Surface().width(), 300);
  int paints = 0;
  struct Painter {
    int* n;
    TSampleForm* f;
    void Paint(TObject*) {
      ++*n;
      f->Canvas()->SetPixel(1, 1, clRed);
    }
  } painter{&paints, form};
  form->OnPaint = TNotifyEvent::bind<&Painter::Paint>(&painter);
  form->PaintWindow();
  EXPECT_EQ(paints, 1);
  canvas->SetPixel(5, 5, clWhite);
  form->PaintWindow();  // nothing asked for a repaint: the drawing stays
  EXPECT_EQ(canvas->Pixel(5, 5), clWhite);
  form->Invalidate();
  form->PaintWindow();
  EXPECT_EQ(paints, 2);
  EXPECT_EQ(canvas->Pixel(5, 5), clBlack);
  EXPECT_EQ(canvas->Pixel(1, 1), clRed);
}

TEST_F(ControlsTest, LabelAutoSizeFitsTheText) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption("&Wide caption");
  const int32_t w = label->Width();
  EXPECT_GT(w, 20);
  EXPECT_GT(label->Height(), 5);
  label->SetCaption("&Wide caption, wider still");
  EXPECT_GT(label->Width(), w);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Width(), w);
  EXPECT_EQ(StripAccelChars("a&&b&c&"), "a&bc");
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

class LayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application());
    form->SetBorderStyle(bsNone);
    form->SetClientSize(200, 100);
  }
  void TearDown() override { DestroyApplication(); }
  TPanel* panel(TAlign align, int32_t size) {
    auto* p = new TPanel(form);
    p->SetBounds(0, 0, size, size);
    p->SetParent(form);
    p->SetAlign(align);
    return p;
  }
  TForm* form = nullptr;
};

TEST_F(LayoutTest, AlignedChildrenFillTheEdgesThenTheRest) {
  TPanel* top = panel(alTop, 20);
  TPanel* bottom = panel(alBottom, 10);
  TPanel* left = panel(alLeft, 30);
  TPanel* client = panel(alClient, 5);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 90, 200, 100));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 90));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 200, 90));
  form->SetClientSize(300, 150);  // they follow the new size
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 140, 300, 150));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 300, 140));
  top->SetVisible(false);  // a hidden one leaves its room to the others
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 30, 140));
  left->Free();
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 300, 140));
  // Inside a panel, the bevel is kept clear.
  auto* inner = new TPanel(form);
  inner->SetParent(client);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), Rect(1, 1, 299, 139));
}

TEST_F(LayoutTest, AnchoredChildrenFollowTheirEdges) {
  auto* fixed = new TPanel(form);
  fixed->SetParent(form);
  fixed->SetBounds(10, 10, 50, 20);
  auto* right = new TPanel(form);
  right->SetParent(form);
  right->SetBounds(150, 10, 40, 20);
  right->SetAnchors(TAnchors{akTop, akRight});
  auto* stretch = new TPanel(form);
  stretch->SetParent(form);
  stretch->SetBounds(10, 40, 180, 50);
  stretch->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  form->SetClientSize(260, 130);
  EXPECT_EQ(fixed->BoundsRect(), Rect(10, 10, 60, 30));
  EXPECT_EQ(right->BoundsRect(), Rect(210, 10, 250, 30));
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 40, 250, 120));
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST_F(LayoutTest, ImagesPlaceTheirPictureAsAsked) {
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(0, 0, 100, 50);
  TBitmap bitmap;
  bitmap.SetSize(40, 20);
  image->Picture()->Assign(&bitmap);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 40, 20));
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Rect(30, 15, 70, 35));
  image->SetCenter(false);
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
  image->SetProportional(true);  // as large as fits, keeping 2:1
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
  image->SetBounds(0, 0, 100, 100);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 100, 50));
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 20);
  // Drawing on its canvas repaints it; a picture of another kind cannot be drawn on.
  image->Canvas()->SetPixel(1, 1, clRed);
  EXPECT_EQ(image->Picture()->Bitmap()->Canvas()->Pixel(1, 1), clRed);
}

TEST_F(LayoutTest, BorderStylesKeepTheClientSize) {
  form->SetBorderStyle(bsSizeable);
  EXPECT_EQ(form->ClientWidth(), 200);
  EXPECT_EQ(form->ClientHeight(), 100);
  EXPECT_EQ(form->Width(), 200 + 2 * form->FrameWidth());
  EXPECT_EQ(form->Height(), 100 + form->CaptionHeight() + 2 * form->FrameWidth());
  form->SetBorderStyle(bsNone);
  EXPECT_EQ(form->Width(), 200);
  EXPECT_EQ(form->ClientOrigin(), Point(form->Left(), form->Top()));
  form->ClientResizedByUser(50, 50);  // a fixed border: the size stays the form's
  EXPECT_EQ(form->ClientWidth(), 200);
}

TEST_F(LayoutTest, MemoCaretPosCountsLinesAndBytes) {
  auto* memo = new TMemo(form);
  memo->SetText("ab\r\n日本\r\nc");
  memo->SetSelStart(10);  // "ab\r\n" is 4 bytes, "日本" 6: the end of the second line
  EXPECT_EQ(memo->CaretPos(), Point(6, 1));
  memo->SetSelStart(12);
  EXPECT_EQ(memo->CaretPos(), Point(0, 2));
}

TEST(PostTest, CallsWaitForTheLoopWithoutAPump) {
  TServiceScope none(nullptr, nullptr);
  int calls = 0;
  Application()->Post([&] { ++calls; });
  EXPECT_EQ(calls, 0);
  Application()->ProcessMessages();
  EXPECT_EQ(calls, 1);
  auto* form = new TForm(Application());
  auto alive = form->LivenessToken();
  form->Release();
  EXPECT_FALSE(alive.expired());
  Application()->ProcessMessages();
  EXPECT_TRUE(alive.expired());
  DestroyApplication();
}

}  // namespace
}  // namespace fw
