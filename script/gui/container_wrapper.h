// Group boxes, panels, splitters, images and progress bars: families that add few natives of
// their own; what they add is mostly the events they tell their scripts about.
#pragma once

#include "platform/fw/group_box.h"
#include "platform/fw/image.h"
#include "platform/fw/panel.h"
#include "platform/fw/splitter.h"
#include "script/gui/control_wrapper.h"

namespace gui {

inline constexpr char konMoved[] = "onMoved";

class TJVCLBaseGroupBox : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseGroupBox)
 public:
  TJVCLBaseGroupBox(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBasePanel : public TJVCLWinControl {
  RT_CLASS(TJVCLBasePanel)
 public:
  TJVCLBasePanel(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBaseSplitter : public TJVCLControl {
  RT_CLASS(TJVCLBaseSplitter)
 public:
  TJVCLBaseSplitter(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TSplitter* Splitter() const { return static_cast<fw::TSplitter*>(VCL()); }
  void HookEvents() override;
  // "onCanResize"(sender, newSize box, accept box); both copied back.
  static void HandleCanResize(void* self, fw::TObject* sender, int32_t& newSize, bool& accept);
};

class TJVCLBaseImage : public TJVCLControl {
  RT_CLASS(TJVCLBaseImage)
 public:
  TJVCLBaseImage(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TImage* Image() const { return static_cast<fw::TImage*>(VCL()); }
  void HookEvents() override;
  // "onProgress"(sender, stage name, percent, redrawNow, rect, message).
  static void HandleProgress(void* self, fw::TObject* sender, fw::TProgressStage stage, uint8_t percent,
                             bool redrawNow, const fw::TRect& rect, const std::string& message);
};

class TJVCLBaseProgressBar : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseProgressBar)
 public:
  TJVCLBaseProgressBar(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TProgressBar* Bar() const { return static_cast<fw::TProgressBar*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;

  void DoStepIt(engine::TJValueList* args, engine::TJValue& result);
  void DoStepBy(engine::TJValueList* args, engine::TJValue& result);
};

BR_GUI_CREATING_CLASS(TJVCLGroupBox, TJVCLBaseGroupBox, fw::TGroupBox)
BR_GUI_CREATING_CLASS(TJVCLPanel, TJVCLBasePanel, fw::TPanel)
BR_GUI_CREATING_CLASS(TJVCLSplitter, TJVCLBaseSplitter, fw::TSplitter)
BR_GUI_CREATING_CLASS(TJVCLImage, TJVCLBaseImage, fw::TImage)
BR_GUI_CREATING_CLASS(TJVCLProgressBar, TJVCLBaseProgressBar, fw::TProgressBar)

}  // namespace gui
