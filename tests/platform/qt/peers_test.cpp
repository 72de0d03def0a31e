// The Qt peers on the offscreen platform: forms become windows of the client size, the user's
// clicks and typing reach the models, the models' changes reach the widgets, failures in handlers
// go to the application's handler, and the Qt services (pump, timers, modal loop, key state) work.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"
#include "platform/fw/panel.h"
#include "platform/fw/timer.h"
#include "platform/qt/host.h"
#include "platform/qt/peer.h"

namespace {

using namespace fw;

class PeersTest : public testing::Test {
 public:
  void Failed(TObject*, const rt::Exception& e) { errors.push_back(e.message()); }
  void Count(TObject*) { ++clicks; }
  void Throw(TObject*) { throw rt::Exception("handler failed"); }

 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "qtfw_tests";
    static char* argv[] = {name, nullptr};
    if (!host) host = new qtfw::TQtHost(argc, argv);
  }
  void SetUp() override {
    form = new TForm(Application());
    form->SetCaption("窓");
    form->SetBorderStyle(bsDialog);
    form->SetClientSize(240, 160);
    form->SetColor(clBlack);
    form->AfterConstruction();
    events = new TApplicationEvents(form);
    events->OnException = TExceptionEvent::bind<&PeersTest::Failed>(this);
  }
  void TearDown() override {
    DestroyApplication();
    ReleaseAllKeys();
    settle();
  }
  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  static QWidget* widgetOf(TControl* c) {
    auto* peer = dynamic_cast<qtfw::TQtPeer*>(c->Peer());
    return peer ? peer->Widget() : nullptr;
  }
  static qtfw::TQtHost* host;
  TForm* form = nullptr;
  TApplicationEvents* events = nullptr;
  std::vector<std::string> errors;
  int clicks = 0;
};
qtfw::TQtHost* PeersTest::host = nullptr;

TEST_F(PeersTest, AFormIsAWindowOfItsClientSizeWithItsCaption) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 50);
  EXPECT_EQ(widgetOf(form), nullptr);  // no window before it shows
  form->Show();
  settle();
  QWidget* w = widgetOf(form);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isWindow());
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->size(), QSize(240, 160));
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("窓"));
  QWidget* p = widgetOf(panel);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->parentWidget(), w);
  EXPECT_EQ(p->geometry(), QRect(10, 10, 100, 50));
  panel->SetVisible(false);
  EXPECT_FALSE(p->isVisible());
  form->SetCaption("new");
  EXPECT_EQ(w->windowTitle(), "new");
  // A control made after the window was shown gets its widget at once.
  auto* label = new TLabel(form);
  label->SetParent(form);
  EXPECT_NE(widgetOf(label), nullptr);
  form->Hide();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(PeersTest, TheFormCanvasIsWhatTheWindowShows) {
  form->Show();
  settle();
  form->Canvas()->Brush()->SetColor(clRed);
  form->Canvas()->FillRect(Rect(20, 20, 60, 60));
  QImage shot = widgetOf(form)->grab().toImage();
  EXPECT_EQ(shot.pixelColor(30, 30), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(100, 100), QColor(0, 0, 0));
}

TEST_F(PeersTest, ClicksAndTypingReachTheModels) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(10, 100, 80, 25);
  button->SetCaption("Go");
  button->OnClick = TNotifyEvent::bind<&PeersTest::Count>(this);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 22);
  auto* check = new TCheckBox(form);
  check->SetParent(form);
  check->SetBounds(10, 40, 120, 20);
  form->Show();
  settle();

  auto* qbutton = dynamic_cast<QPushButton*>(widgetOf(button));
  ASSERT_NE(qbutton, nullptr);
  EXPECT_EQ(qbutton->text(), "Go");
  QTest::mouseClick(qbutton, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);

  auto* qedit = dynamic_cast<QLineEdit*>(widgetOf(edit));
  ASSERT_NE(qedit, nullptr);
  qedit->setFocus();
  QTest::keyClicks(qedit, "abc");
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_TRUE(edit->Modified());
  EXPECT_EQ(edit->SelStart(), 3);
  edit->SetText("日本");
  EXPECT_EQ(qedit->text(), QString::fromUtf8("日本"));
  edit->SetSelStart(3);
  edit->SetSelLength(3);
  EXPECT_EQ(qedit->selectedText(), QString::fromUtf8("本"));

  auto* qcheck = dynamic_cast<QCheckBox*>(widgetOf(check));
  ASSERT_NE(qcheck, nullptr);
  check->OnClick = TNotifyEvent::bind<&PeersTest::Count>(this);
  QTest::mouseClick(qcheck, Qt::LeftButton, {}, QPoint(8, qcheck->height() / 2));
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(clicks, 2);
  check->SetChecked(false);
  EXPECT_EQ(qcheck->checkState(), Qt::Unchecked);
  EXPECT_EQ(clicks, 3);
}

TEST_F(PeersTest, MemoTextTravelsWithCrLfBothWays) {
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->SetBounds(0, 0, 200, 100);
  memo->Lines()->Add("one");
  memo->Lines()->Add("two");
  form->Show();
  settle();
  auto* qmemo = dynamic_cast<QPlainTextEdit*>(widgetOf(memo));
  ASSERT_NE(qmemo, nullptr);
  EXPECT_EQ(qmemo->toPlainText(), "one\ntwo");
  qmemo->setFocus();
  qmemo->moveCursor(QTextCursor::End);
  QTest::keyClick(qmemo, Qt::Key_Return);
  QTest::keyClicks(qmemo, "3");
  EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n3");
  EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(PeersTest, FailuresInHandlersGoToTheApplication) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = TNotifyEvent::bind<&PeersTest::Throw>(this);
  form->Show();
  settle();
  QTest::mouseClick(widgetOf(button), Qt::LeftButton);
  EXPECT_EQ(errors, std::vector<std::string>{"handler failed"});
}

TEST_F(PeersTest, KeysFeedTheKeyStateAndTheForm) {
  struct Keys {
    std::string typed;
    void Press(TObject*, char& key) { typed += key; }
  } keys;
  form->OnKeyPress = TKeyPressEvent::bind<&Keys::Press>(&keys);
  form->Show();
  settle();
  QWidget* w = widgetOf(form);
  w->setFocus();
  QTest::keyPress(w, Qt::Key_Z);
  EXPECT_LT(GetKeyState('Z'), 0);
  QTest::keyRelease(w, Qt::Key_Z);
  EXPECT_GE(GetKeyState('Z'), 0);
  QTest::keyClick(w, Qt::Key_Return);
  QTest::keyClick(w, Qt::Key_A);
  EXPECT_EQ(keys.typed, "z\ra");  // the press of Z typed a "z" too
}

TEST_F(PeersTest, TimersTickThroughTheLoopAndModalFormsEndByTheirButtons) {
  struct Ticks {
    int n = 0;
    void Tick(TObject*) { ++n; }
  } ticks;
  auto* timer = new TTimer(form);
  timer->SetInterval(1);
  timer->SetOnTimer(TNotifyEvent::bind<&Ticks::Tick>(&ticks));
  while (ticks.n < 3) Application()->HandleMessage();
  timer->SetEnabled(false);
  const int seen = ticks.n;
  Application()->ProcessMessages();
  EXPECT_EQ(ticks.n, seen);

  auto* dialog = new TForm(Application());
  dialog->SetPosition(poMainFormCenter);
  dialog->AfterConstruction();
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  Application()->Post([&] {
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(widgetOf(dialog)->windowModality(), Qt::ApplicationModal);
    QTest::mouseClick(widgetOf(ok), Qt::LeftButton);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());
}

}  // namespace

namespace {

using namespace fw;

class PlacementTest : public PeersTest {};

TEST_F(PlacementTest, AHandlerMayFreeItsOwnFormAndCentredFormsSitMidScreen) {
  struct Closer {
    TForm* form;
    void Click(TObject*) { form->Free(); }
  } closer{nullptr};
  auto* victim = new TForm(Application());
  victim->AfterConstruction();
  closer.form = victim;
  auto* button = new TButton(victim);
  button->SetParent(victim);
  button->OnClick = TNotifyEvent::bind<&Closer::Click>(&closer);
  victim->Show();
  settle();
  auto alive = victim->LivenessToken();
  QPointer<QWidget> window(widgetOf(victim));
  QTest::mouseClick(widgetOf(button), Qt::LeftButton);  // the form goes under its own click
  EXPECT_TRUE(alive.expired());
  settle();
  Application()->ProcessMessages();
  EXPECT_TRUE(!window || !window->isVisible());
  EXPECT_TRUE(errors.empty());

  form->SetPosition(poScreenCenter);
  form->Show();
  EXPECT_EQ(form->Left(), (Screen()->Width() - form->Width()) / 2);
  EXPECT_EQ(form->Top(), (Screen()->Height() - form->Height()) / 2);
}

}  // namespace

namespace {

using namespace fw;

TEST_F(PeersTest, LongTextsAndTheLengthLimitLoseNothing) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  form->Show();
  settle();
  auto* qedit = dynamic_cast<QLineEdit*>(widgetOf(edit));
  ASSERT_NE(qedit, nullptr);
  const std::string longText(40000, 'x');
  edit->SetText(longText);
  EXPECT_EQ(qedit->text().size(), 40000);
  edit->SetText("abcdef");
  edit->SetMaxLength(3);  // set by the program: kept whole
  EXPECT_EQ(qedit->text(), "abcdef");
  edit->SetText("");
  qedit->setFocus();
  QTest::keyClicks(qedit, "123456");
  EXPECT_EQ(edit->Text(), "123");  // typing stops at the limit
}

}  // namespace

namespace {

using namespace fw;

TEST_F(PeersTest, ATimerMayStopAndRestartItselfInItsTick) {
  struct Restarter {
    TTimer* timer = nullptr;
    int n = 0;
    void Tick(TObject*) {
      ++n;
      timer->SetEnabled(false);  // the service stops the running timer...
      timer->SetEnabled(n < 3);  // ...and starts a new one, from inside the tick
    }
  } r;
  r.timer = new TTimer(form);
  r.timer->SetInterval(1);
  r.timer->SetOnTimer(TNotifyEvent::bind<&Restarter::Tick>(&r));
  while (r.n < 3) Application()->HandleMessage();
  Application()->ProcessMessages();
  EXPECT_EQ(r.n, 3);
  EXPECT_FALSE(r.timer->Running());
}

}  // namespace
