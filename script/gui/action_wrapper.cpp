#include "script/gui/action_wrapper.h"

namespace gui {

using namespace engine;

const rt::ClassInfo& TJVCLBaseAction::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseAction>("TJVCLBaseAction", &TJVCLComponent::StaticClassInfo()).build();
  return info;
}

const rt::ClassInfo& TJVCLAction::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLAction>("TJVCLAction", &TJVCLBaseAction::StaticClassInfo()).build();
  return info;
}

TJVCLBaseAction::TJVCLBaseAction(TJBaseEngine* engine, TJValueList* param) : TJVCLComponent(engine, param) {
  RegistName("VCLAction");
}

const rt::ClassInfo& TJVCLBaseAction::VCLClass() const { return fw::TBasicAction::StaticClassInfo(); }

void TJVCLBaseAction::RegistMethods() {
  TJVCLComponent::RegistMethods();
  RegistMethod("execute", &TJVCLBaseAction::DoExecute);
  RegistMethod("update", &TJVCLBaseAction::DoUpdate);
}

void TJVCLBaseAction::HookEvents() {
  TJVCLComponent::HookEvents();
  Action()->SetOnExecute(fw::TNotifyEvent(&NotifyThunk<konExecute>, this));
  Action()->SetOnUpdate(fw::TNotifyEvent(&NotifyThunk<konUpdate>, this));
}

void TJVCLBaseAction::DoExecute(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(false);
  TJKeepAlive keep(this);
  bool handled = false;
  Guard([&] { handled = Action()->Execute(); });
  result.SetBool(handled);
}

void TJVCLBaseAction::DoUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(false);
  TJKeepAlive keep(this);
  bool handled = false;
  Guard([&] { handled = Action()->Update(); });
  result.SetBool(handled);
}

// ---- actions made by scripts ----

const rt::ClassInfo& TJVCLAction::VCLClass() const { return fw::TAction::StaticClassInfo(); }

void TJVCLAction::CreateVCL() { AttachVCL(new fw::TAction(nullptr), true); }

void TJVCLAction::HookEvents() {
  TJVCLBaseAction::HookEvents();
  static_cast<fw::TAction*>(Action())->OnHint = fw::THintEvent(&HandleHint, this);
}

void TJVCLAction::HandleHint(void* self, std::string& hint, bool& canShow) {
  auto* wrapper = static_cast<TJVCLAction*>(self);
  if (!wrapper->IsCallEvent(konHint)) return;
  fw::TDispatchScope scope;
  TJKeepAlive keep(wrapper);
  TJBaseEngine* engine = wrapper->Engine();
  TJValueList args;
  args.AddObject(NewStringBox(engine, hint));
  args.AddObject(NewBooleanBox(engine, canShow));
  auto copyBack = [&] {
    hint = StringBoxValue(args[0]);
    canShow = BooleanBoxValue(args[1], canShow);
  };
  TJValue result;
  try {
    wrapper->CallEvent("", konHint, &args, result);
  } catch (...) {
    copyBack();
    throw;
  }
  copyBack();
}

}  // namespace gui
