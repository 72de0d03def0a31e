#include "platform/fw/application.h"

#include <algorithm>
#include <iterator>

#include "platform/fw/dialogs.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/menus.h"
#include "platform/rt/paths.h"
#include "platform/rt/persistent.h"

namespace fw {

namespace {

TApplication* gApplication = nullptr;
TScreen* gScreen = nullptr;

// A form that drops OnIdle on itself is called at idle from then on.
template <class F>
void forEachEvents(std::vector<TApplicationEvents*>& list, F f) {
  for (TApplicationEvents* e : std::vector<TApplicationEvents*>(list))
    if (std::find(list.begin(), list.end(), e) != list.end()) f(e);
}

}  // namespace

TApplication* Application() {
  if (!gApplication) gApplication = new TApplication(nullptr);
  return gApplication;
}

TScreen* Screen() {
  if (!gScreen) gScreen = new TScreen(nullptr);
  return gScreen;
}

void DestroyApplication() {
  RunReleases();
  if (gApplication) {
    gApplication->Free();
    gApplication = nullptr;
  }
  if (gScreen) {
    gScreen->Free();
    gScreen = nullptr;
  }
  // What the forms' OnDestroy handlers let go of.
  RunReleases();
}

// ---- TApplication ----

const rt::ClassInfo& TApplication::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TApplication>("TApplication", &TComponent::StaticClassInfo())
                                         .property("Title", &TApplication::Title, &TApplication::SetTitle)
                                         .build();
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  exeName_ = rt::exePath();
  std::string name = exeName_.substr(exeName_.find_last_of('/') + 1);
  title_ = name;
}

TApplication::~TApplication() {
  // Forms are freed (their OnDestroy runs) while the application is still whole.
  DestroyComponents();
  if (handle_) ReleaseHandle(handle_);
}

HWND TApplication::Handle() {
  if (!handle_) handle_ = AllocateHandle(this);
  return handle_;
}

void TApplication::SetMainForm(TCustomForm* form) {
  if (mainForm_ == form) return;
  if (mainForm_) mainForm_->RemoveFreeNotification(this);
  mainForm_ = form;
  if (form) form->FreeNotification(this);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
  running_ = true;
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
  running_ = false;
}

void TApplication::HandleMessage() {
  try {
    bool handled = runPosted();
    IMessagePump* pump = MessagePump();
    if (pump && pump->ProcessMessages()) handled = true;
    if (RunReleases()) handled = true;
    if (handled || terminated_) return;
    if (Idle() && pump && !terminated_) pump->WaitMessage();
    if (!pump && posted_.empty()) Terminate();  // nothing could ever arrive
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::ProcessMessages() {
  for (int rounds = 0; rounds < 64; ++rounds) {
    bool handled = runPosted();
    if (IMessagePump* pump = MessagePump(); pump && pump->ProcessMessages()) handled = true;
    if (RunReleases()) handled = true;
    if (!handled) break;
  }
}

bool TApplication::runPosted() {
  if (posted_.empty()) return false;
  auto calls = std::move(posted_);
  posted_.clear();
  for (size_t i = 0; i < calls.size(); ++i) {
    try {
      calls[i]();
    } catch (...) {
      // The calls behind the one that failed are not lost: they run on the next round.
      posted_.insert(posted_.begin(), std::make_move_iterator(calls.begin() + std::ptrdiff_t(i) + 1),
                     std::make_move_iterator(calls.end()));
      throw;
    }
  }
  return true;
}

void TApplication::Terminate() {
  terminated_ = true;
  // A popup menu's own loop would otherwise go on waiting for the user.
  if (IPopupMenuService* popups = PopupMenuService()) popups->CancelPopups();
  if (IMessagePump* pump = MessagePump()) pump->Wake();
}

void TApplication::Post(std::function<void()> call) {
  if (IMessagePump* pump = MessagePump()) {
    pump->Post([call = std::move(call)] {
      try {
        call();
      } catch (...) {
        Application()->HandleException(Application());
      }
    });
  } else {
    posted_.push_back(std::move(call));
  }
}

bool TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  forEachEvents(events_, [&](TApplicationEvents* e) {
    if (e->OnIdle) {
      bool d = true;
      e->OnIdle(e, d);
      done = done && d;
    }
  });
  if (done) UpdateActions();
  return done;
}

void TApplication::UpdateActions() {
  // A handler may free forms: each is checked before its turn.
  std::vector<std::pair<TCustomForm*, std::weak_ptr<const void>>> forms;
  for (int i = 0; i < Screen()->FormCount(); ++i) forms.emplace_back(Screen()->Forms(i), Screen()->Forms(i)->LivenessToken());
  for (auto& [form, alive] : forms)
    if (!alive.expired() && form->Visible()) form->UpdateActions();
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  rt::Exception converted;
  const rt::Exception* e = &converted;
  try {
    std::rethrow_exception(current);
  } catch (const rt::Exception& ex) {
    e = &ex;
  } catch (const std::exception& ex) {
    converted.setMessage(ex.what());
  } catch (...) {
    converted.setMessage("Unknown exception");
  }
  try {
    bool handled = false;
    forEachEvents(events_, [&](TApplicationEvents* ae) {
      if (!handled && ae->OnException) {
        ae->OnException(sender, *e);
        handled = true;
      }
    });
    if (handled) return;
    if (OnException) {
      OnException(sender, *e);
      return;
    }
    ShowException(*e);
  } catch (...) {
    // A failing exception handler has nobody left to report to; its message at least is kept.
    lastExceptionMessage_ = e->message();
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  lastExceptionMessage_ = text;
  // A message that ends in a letter or digit (or any character after '.') gets a full stop.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  TMessageRequest r;
  r.Caption = title_;
  r.Text = text;
  r.Type = mtError;
  r.Buttons = TMsgDlgButtons{mbOK};
  DialogService().MessageBox(r);
}

// ---- TApplicationEvents ----

const rt::ClassInfo& TApplicationEvents::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TApplicationEvents>("TApplicationEvents", &TComponent::StaticClassInfo())
          .event("OnActivate", NotifyEventType(), &TApplicationEvents::OnActivate)
          .event("OnDeactivate", NotifyEventType(), &TApplicationEvents::OnDeactivate)
          .event("OnException", ExceptionEventType(), &TApplicationEvents::OnException)
          .event("OnHint", NotifyEventType(), &TApplicationEvents::OnHint)
          .event("OnIdle", IdleEventType(), &TApplicationEvents::OnIdle)
          .event("OnMinimize", NotifyEventType(), &TApplicationEvents::OnMinimize)
          .event("OnRestore", NotifyEventType(), &TApplicationEvents::OnRestore)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TApplicationEvents(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
  Application()->events_.push_back(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (gApplication) {
    auto& list = gApplication->events_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

// ---- TScreen ----

const rt::ClassInfo& TScreen::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TScreen>("TScreen", &TComponent::StaticClassInfo()).build();
  return info;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return forms_[index];
}

TCustomForm* TScreen::ActiveForm() const {
  for (TCustomForm* f : forms_)
    if (f->Active()) return f;
  return nullptr;
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }

}  // namespace fw
