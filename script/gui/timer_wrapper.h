// Timers seen from scripts: "onTimer" every Interval milliseconds while Enabled.
#pragma once

#include "platform/fw/timer.h"
#include "script/gui/component_wrapper.h"

namespace gui {

class TJVCLBaseTimer : public TJVCLComponent {
  RT_CLASS(TJVCLBaseTimer)
 public:
  TJVCLBaseTimer(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TTimer* Timer() const { return static_cast<fw::TTimer*>(VCL()); }
  // Installed through the timer's own setter, so that the timer starts or stops counting as it
  // does for any handler.
  void HookEvents() override;
};

BR_GUI_CREATING_CLASS(TJVCLTimer, TJVCLBaseTimer, fw::TTimer)

}  // namespace gui
