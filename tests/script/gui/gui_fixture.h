// Runs scripts with the GUI classes and no windows on screen: the framework's models only, a fake
// message pump and timers, dialogs answered by the test.
#pragma once

#include <string>

#include "platform/fw/application.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/form.h"
#include "platform/fw/services.h"
#include "script/core/component.h"
#include "script/core/engine.h"
#include "script/core/message_pump.h"
#include "script/core/value_list.h"
#include "script/gui/registration.h"
#include "script/host/host.h"
#include "script/stdlib/stdlib.h"

namespace guitest {

struct TScriptResult {
  std::string out;
  std::string err;
  int code = 0;
};

// A control by name anywhere inside `parent` (script-made controls have no owner to find them by).
inline fw::TControl* FindIn(fw::TWinControl* parent, const std::string& name) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    fw::TControl* c = parent->Controls(i);
    if (c->Name() == name) return c;
    if (auto* w = dynamic_cast<fw::TWinControl*>(c))
      if (fw::TControl* found = FindIn(w, name)) return found;
  }
  return nullptr;
}

inline fw::TCustomForm* FormNamed(const std::string& name) {
  for (int i = 0; i < fw::Screen()->FormCount(); ++i)
    if (fw::Screen()->Forms(i)->Name() == name) return fw::Screen()->Forms(i);
  return nullptr;
}

inline void InstallOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  stdlib::Install();
  host::Install();
  gui::Install();
}

// doEvents() as the windowed host runs it: the framework's pending messages, and no waiting.
class TGuiEnginePump : public engine::IMessagePump {
 public:
  bool IsTerminating() const override { return fw::Application()->Terminated(); }
  void ProcessPending() override { fw::Application()->ProcessMessages(); }
  void Sleep(uint32_t) override {}
};

// One script component per test; the engine stays for checks after the run.
class TGuiScript {
 public:
  TGuiScript() : services_(&pump_, &timers_), dialogs_(&scripted_) {
    InstallOnce();
    component_ = std::make_unique<engine::TBrindle>();
    component_->Engine().Pump = &enginePump_;
    component_->SetOnStdout([this](engine::TBrindle*, const std::string& s) { result_.out += s; });
    component_->SetOnStderr([this](engine::TBrindle*, const std::string& s) { result_.err += s; });
  }
  ~TGuiScript() {
    component_->Clear();
    fw::Application()->ProcessMessages();
  }

  TScriptResult Run(const std::string& source) {
    result_ = {};
    if (!component_->Compile(source)) {
      result_.code = -1;
      return result_;
    }
    result_.code = component_->RunNoArgs();
    fw::Application()->ProcessMessages();
    return result_;
  }

  engine::TBrindle& Component() { return *component_; }
  // Output written since the last Run began (handlers called after the run add to it).
  const std::string& Out() const { return result_.out; }
  const std::string& Err() const { return result_.err; }
  // Lets framework events reach script handlers after the run, as the event loop would.
  void AllowEvents(bool allow) { component_->Engine().EventLoopAllowed = allow; }
  fw::TScriptedDialogs& Dialogs() { return scripted_; }
  fw::TFakeMessagePump& Pump() { return pump_; }
  fw::TFakeTimers& Timers() { return timers_; }

 private:
  fw::TFakeMessagePump pump_;
  TGuiEnginePump enginePump_;
  fw::TFakeTimers timers_;
  fw::TServiceScope services_;
  fw::TScriptedDialogs scripted_;
  fw::TDialogServiceScope dialogs_;
  std::unique_ptr<engine::TBrindle> component_;
  TScriptResult result_;
};

}  // namespace guitest
