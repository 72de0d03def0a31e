// The application: its title, its forms (it owns them), the main form whose closing ends the
// program, the message loop with idle handling, and the routing of exceptions that escape event
// handlers (to OnException, else a message box). TApplicationEvents lets a form hook the
// application's events; TScreen lists the forms and knows the screen's size.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/fw/component.h"
#include "platform/fw/control.h"
#include "platform/fw/events.h"

namespace fw {

class TCustomForm;
class TApplicationEvents;

class TApplication : public TComponent {
  RT_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize() {}
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& ExeName() const { return exeName_; }
  HWND Handle();

  // Makes a form owned by the application (the first one becomes the main form) and fires its
  // OnCreate. The reference is set as soon as the form exists, so it stays valid when OnCreate
  // fails.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);
    if (!mainForm_) SetMainForm(reference);
    reference->AfterConstruction();
  }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form);
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // One round of the loop: handles what is pending; when nothing was, runs the idle handlers and
  // waits for the next event unless they asked to be called again. Exceptions go to
  // HandleException.
  void HandleMessage();
  // Handles every pending event and posted call.
  void ProcessMessages();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Runs `call` from the loop after the current events (without a message pump: at the next
  // ProcessMessages).
  void Post(std::function<void()> call);

  // The idle handlers (OnIdle of the application and of every TApplicationEvents); false when one
  // of them wants to be called again at once. When none does, the showing forms update their
  // actions.
  bool Idle();
  void UpdateActions();

  // To be called from a catch block: hands the exception being handled to OnException (of the
  // application events, else the application's), or shows its message.
  void HandleException(TObject* sender);
  void ShowException(const std::exception& e);
  // The last message ShowException showed (kept for hosts and tests without dialogs).
  const std::string& LastExceptionMessage() const { return lastExceptionMessage_; }

  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TApplicationEvents;
  std::string title_;
  std::string exeName_;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool running_ = false;
  HWND handle_ = 0;
  std::vector<TApplicationEvents*> events_;
  bool runPosted();  // runs the calls posted so far; false when there were none
  std::vector<std::function<void()>> posted_;
  std::string lastExceptionMessage_;
};

// The application's events for a form that drops it on itself.
class TApplicationEvents : public TComponent {
  RT_CLASS(TApplicationEvents)
 public:
  explicit TApplicationEvents(TComponent* owner);
  ~TApplicationEvents() override;

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
};

class TScreen : public TComponent {
  RT_CLASS(TScreen)
 public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}

  int32_t Width() const { return ScreenMetrics().Width; }
  int32_t Height() const { return ScreenMetrics().Height; }
  int32_t PixelsPerInch() const { return 96; }
  int FormCount() const { return int(forms_.size()); }
  TCustomForm* Forms(int index) const;
  // The form that has the keyboard; null when none.
  TCustomForm* ActiveForm() const;
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c) { cursor_ = c; }

  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 private:
  std::vector<TCustomForm*> forms_;
  TCursor cursor_ = crDefault;
};

// The one application and screen (made on first use).
TApplication* Application();
TScreen* Screen();
// Frees the application, its forms with it (their OnDestroy runs), and the screen.
void DestroyApplication();

}  // namespace fw
