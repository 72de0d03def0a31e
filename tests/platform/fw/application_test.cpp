// The application, forms and services as models: the message loop with a fake pump, idle
// handling, exception routing, the close protocol, modal forms, timers, key state, handles and
// dialogs through a scripted responder.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/edit.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/fw/registration.h"
#include "platform/fw/timer.h"

namespace fw {
namespace {

class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override { RegisterFrameworkClasses(); }
  void TearDown() override {
    DestroyApplication();
    ReleaseAllKeys();
  }
  TFakeMessagePump pump;
  TFakeTimers timers;
  TServiceScope services{&pump, &timers};
  TScriptedDialogs dialogs;
  TDialogServiceScope dialogScope{&dialogs};
};

// A form whose handlers record what happened.
class TTestForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<std::string> own;
  std::vector<std::string>* events = &own;  // may outlive the form
  bool allowClose = true;
  TCloseAction closeAction = caHide;
  void Created(TObject*) { events->push_back("create"); }
  void Destroyed(TObject*) { events->push_back("destroy"); }
  void Shown(TObject*) { events->push_back("show"); }
  void Hidden(TObject*) { events->push_back("hide"); }
  void Query(TObject*, bool& canClose) {
    events->push_back("closequery");
    canClose = allowClose;
  }
  void Closing(TObject*, TCloseAction& action) {
    events->push_back("close");
    action = closeAction;
  }
  void Hook() {
    OnCreate = TNotifyEvent::bind<&TTestForm::Created>(this);
    OnDestroy = TNotifyEvent::bind<&TTestForm::Destroyed>(this);
    OnShow = TNotifyEvent::bind<&TTestForm::Shown>(this);
    OnHide = TNotifyEvent::bind<&TTestForm::Hidden>(this);
    OnCloseQuery = TCloseQueryEvent::bind<&TTestForm::Query>(this);
    OnClose = TCloseEvent::bind<&TTestForm::Closing>(this);
  }
};

struct Recorder {
  int idles = 0;
  int idleCallsWanted = 0;
  std::vector<std::string> errors;
  void Idle(TObject*, bool& done) {
    ++idles;
    done = idles >= idleCallsWanted;
  }
  void Error(TObject*, const rt::Exception& e) { errors.push_back(e.message()); }
  void Tick(TObject*) { ++idles; }
  void Fail(TObject*) { throw rt::Exception("tick failed"); }
};

TEST_F(ApplicationTest, RunShowsTheMainFormAndClosingItEndsTheLoop) {
  std::vector<std::string> log;
  TTestForm* form = new TTestForm(Application());
  form->events = &log;
  form->Hook();
  Application()->SetMainForm(form);
  form->AfterConstruction();
  pump.OnEmpty = [&] { form->Close(); };
  Application()->Run();
  EXPECT_TRUE(Application()->Terminated());
  EXPECT_EQ(log, (std::vector<std::string>{"create", "show", "closequery", "close"}));
  DestroyApplication();
  EXPECT_EQ(log.back(), "destroy");  // freed with the application
}

TEST_F(ApplicationTest, CloseQueryCanRefuseAndCloseActionsDecide) {
  TTestForm* main = new TTestForm(Application());
  Application()->SetMainForm(main);
  TTestForm* other = new TTestForm(Application());
  other->Hook();
  other->AfterConstruction();
  other->Show();
  other->allowClose = false;
  other->Close();
  EXPECT_TRUE(other->Visible());
  other->allowClose = true;
  other->closeAction = caNone;
  other->Close();
  EXPECT_TRUE(other->Visible());
  other->closeAction = caHide;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application()->Terminated());  // only the main form ends the program
  auto alive = other->LivenessToken();
  other->closeAction = caFree;
  other->Show();
  other->Close();
  EXPECT_FALSE(alive.expired());  // freed later, not under the caller
  Application()->ProcessMessages();
  EXPECT_TRUE(alive.expired());
}

TEST_F(ApplicationTest, IdleRunsUntilDoneThenWaits) {
  Recorder r;
  r.idleCallsWanted = 3;
  auto* events = new TApplicationEvents(Application());
  events->OnIdle = TIdleEvent::bind<&Recorder::Idle>(&r);
  Application()->Run();  // the fake pump ends the loop once it would wait
  EXPECT_EQ(r.idles, 3);
  EXPECT_EQ(pump.Waits, 1);
}

TEST_F(ApplicationTest, ExceptionsGoToTheHandlerOrAMessageBox) {
  Recorder r;
  TTimer* timer = new TTimer(Application());
  timer->SetInterval(10);
  timer->SetOnTimer(TNotifyEvent::bind<&Recorder::Fail>(&r));
  timers.Advance(10);  // no handler: an error box with the message
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].kind, "message");
  EXPECT_EQ(dialogs.Log[0].text, "tick failed.");
  auto* events = new TApplicationEvents(Application());
  events->OnException = TExceptionEvent::bind<&Recorder::Error>(&r);
  timers.Advance(10);
  EXPECT_EQ(r.errors, std::vector<std::string>{"tick failed"});
  EXPECT_EQ(dialogs.Log.size(), 1u);

  // A failure outside the framework's own exceptions is reported too.
  try {
    throw std::runtime_error("plain");
  } catch (...) {
    Application()->HandleException(Application());
  }
  EXPECT_EQ(r.errors.back(), "plain");
}

TEST_F(ApplicationTest, APostedCallThatFailsLosesNoCallPostedBehindIt) {
  TServiceScope none(nullptr, nullptr);  // the application's own queue, not a pump's
  std::vector<int> ran;
  Application()->Post([&] { ran.push_back(1); });
  Application()->Post([&] { throw EInvalidOperation("posted call failed"); });
  Application()->Post([&] { ran.push_back(3); });
  Application()->Post([&] { ran.push_back(4); });
  Application()->HandleMessage();  // the failure goes to the error box
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].text, "posted call failed.");
  Application()->ProcessMessages();
  EXPECT_EQ(ran, (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(dialogs.Log.size(), 1u);
}

TEST_F(ApplicationTest, TimersFollowEnabledIntervalAndHandler) {
  Recorder r;
  TTimer* timer = new TTimer(Application());
  timer->SetInterval(10);
  EXPECT_FALSE(timer->Running());  // no handler yet
  timer->SetOnTimer(TNotifyEvent::bind<&Recorder::Tick>(&r));
  timers.Advance(35);
  EXPECT_EQ(r.idles, 3);
  timer->SetEnabled(false);
  timers.Advance(50);
  EXPECT_EQ(r.idles, 3);
  timer->SetEnabled(true);
  timer->SetInterval(0);
  EXPECT_FALSE(timer->Running());
  timer->SetInterval(5);
  timers.Advance(10);
  EXPECT_EQ(r.idles, 5);
  timer->Free();
  EXPECT_EQ(timers.Running(), 0);
}

TEST_F(ApplicationTest, ModalLoopEndsWithTheButtonsModalResult) {
  // The responder runs the real loop; a posted click of the OK button ends it.
  TForm* form = new TForm(Application());
  form->AfterConstruction();
  TButton* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetModalResult(mrOk);
  dialogs.OnModal = [&](TCustomForm& f) {
    pump.Post([&] {
      EXPECT_TRUE(form->Visible());
      EXPECT_THROW(form->ShowModal(), EInvalidOperation);  // not while it is modal already
      ok->Click();
    });
    return f.RunModalLoop();
  };
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->Modal());
  ASSERT_EQ(dialogs.Log.size(), 1u);
  EXPECT_EQ(dialogs.Log[0].kind, "modal");

  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(ApplicationTest, ModalLoopRefusedCloseKeepsRunning) {
  TTestForm* form = new TTestForm(Application());
  form->Hook();
  form->AfterConstruction();
  int closes = 0;
  pump.OnEmpty = [&] {
    ++closes;
    form->allowClose = closes >= 2;
    form->Close();  // a modal form's Close asks for mrCancel
  };
  dialogs.OnModal = [](TCustomForm& f) { return f.RunModalLoop(); };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  EXPECT_EQ(closes, 2);
}

TEST_F(ApplicationTest, DialogsGoThroughTheService) {
  Application()->SetTitle("霧の灯台");
  dialogs.OnMessage = [](const TMessageRequest& r) { return r.Type == mtConfirmation ? mrYes : mrOk; };
  EXPECT_EQ(MessageDlg("ネットランキングに登録しますか？", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
  ShowMessage("スコアランキングは公式ページで見てね");
  ASSERT_EQ(dialogs.Log.size(), 2u);
  EXPECT_EQ(dialogs.Log[0].caption, "Confirm");
  EXPECT_EQ(dialogs.Log[1].caption, "霧の灯台");
  EXPECT_EQ(dialogs.Log[1].text, "スコアランキングは公式ページで見てね");

  bool cancelled = false;
  dialogs.OnInput = [](const std::string&, const std::string& prompt, const std::string&) -> std::optional<std::string> {
    if (prompt == "コメント") return std::nullopt;
    return std::string("ミルフェン");
  };
  EXPECT_EQ(InputBox("スコアランキングの登録", "お名前", "", &cancelled), "ミルフェン");
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(InputBox("スコアランキングの登録", "コメント", "dflt", &cancelled), "dflt");
  EXPECT_TRUE(cancelled);
  std::string value = "kept";
  EXPECT_FALSE(InputQuery("t", "コメント", value));
  EXPECT_EQ(value, "kept");
}

TEST_F(ApplicationTest, QuietDialogsWithoutAService) {
  SetDialogService(nullptr);
  EXPECT_EQ(MessageDlg("?", mtConfirmation, {mbYes, mbNo}, 0), mrCancel);  // closed, not "No"
  EXPECT_EQ(MessageDlg("?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0), mrCancel);
  EXPECT_EQ(MessageDlg("!", mtError, {mbOK}, 0), mrOk);
  bool cancelled = false;
  EXPECT_EQ(InputBox("c", "p", "d", &cancelled), "d");
  EXPECT_TRUE(cancelled);
  TForm* form = new TForm(Application());
  EXPECT_EQ(form->ShowModal(), mrCancel);
  SetDialogService(&dialogs);
}

TEST(KeyStateTest, DownUpToggleAndAsyncPress) {
  ReleaseAllKeys();
  EXPECT_GE(GetKeyState(VK_SPACE), 0);
  SetKeyDown(VK_SPACE, true);
  EXPECT_LT(GetKeyState(VK_SPACE), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SPACE), 0);
  SetKeyDown(VK_SPACE, true);  // auto-repeat changes nothing
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE) & 1, 0);
  SetKeyDown(VK_SPACE, false);
  EXPECT_GE(GetKeyState(VK_SPACE), 0);
  const int toggle = GetKeyState(VK_SPACE) & 1;
  SetKeyDown(VK_SPACE, true);
  SetKeyDown(VK_SPACE, false);
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 1);  // up now, but pressed since last asked
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 0);
  EXPECT_NE(GetKeyState(VK_SPACE) & 1, toggle);
  SetKeyDown('Z', true);
  ReleaseAllKeys();
  EXPECT_GE(GetKeyState('Z'), 0);
  EXPECT_EQ(GetKeyState(-1), 0);
  EXPECT_EQ(GetKeyState(300), 0);
  SetKeyDown(300, true);  // ignored, no crash
}

TEST(KeyStateTest, AsyncStateAsksTheLiveSourceFirst) {
  ReleaseAllKeys();
  // The window system knows F2 is held and A is up; it knows nothing of B.
  SetLiveKeySource([](int vk) -> std::optional<bool> {
    if (vk == VK_F1 + 1) return true;
    if (vk == 'A') return false;
    return std::nullopt;
  });
  SetKeyDown('A', true);
  SetKeyDown('B', true);
  EXPECT_LT(GetAsyncKeyState(VK_F1 + 1), 0);  // held elsewhere: no event of ours saw it
  EXPECT_EQ(GetAsyncKeyState('A') & 0x8000, 0);
  EXPECT_LT(GetAsyncKeyState('B'), 0);  // the table answers what the source cannot
  EXPECT_LT(GetKeyState('A'), 0);       // the message-time state stays the table's
  SetLiveKeySource(nullptr);
  EXPECT_LT(GetAsyncKeyState('A'), 0);
  EXPECT_GE(GetAsyncKeyState(VK_F1 + 1), 0);
  ReleaseAllKeys();
}

TEST(HandleTest, NeverZeroNeverSharedWhileAlive) {
  int a = 0, b = 0;
  HWND h1 = AllocateHandle(&a);
  HWND h2 = AllocateHandle(&b);
  EXPECT_NE(h1, 0u);
  EXPECT_NE(h1, h2);
  EXPECT_EQ(FindHandleObject(h1), &a);
  ReleaseHandle(h1);
  EXPECT_EQ(FindHandleObject(h1), nullptr);
  EXPECT_EQ(FindHandleObject(0), nullptr);
  EXPECT_EQ(FindHandleObject(h2), &b);
  ReleaseHandle(h2);
}

}  // namespace
}  // namespace fw
