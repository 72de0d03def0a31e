#include "script/gui/timer_wrapper.h"

namespace gui {

using namespace engine;

const rt::ClassInfo& TJVCLBaseTimer::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseTimer>("TJVCLBaseTimer", &TJVCLComponent::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLTimer, TJVCLBaseTimer)

TJVCLBaseTimer::TJVCLBaseTimer(TJBaseEngine* engine, TJValueList* param) : TJVCLComponent(engine, param) {
  RegistName("VCLTimer");
}

const rt::ClassInfo& TJVCLBaseTimer::VCLClass() const { return fw::TTimer::StaticClassInfo(); }

void TJVCLBaseTimer::HookEvents() {
  TJVCLComponent::HookEvents();
  CheckVCL(nullptr, 0);
  Timer()->SetOnTimer(fw::TNotifyEvent(&NotifyThunk<konTimer>, this));
}

}  // namespace gui
