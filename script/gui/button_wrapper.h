// Labels, push buttons, check boxes and radio buttons.
#pragma once

#include "platform/fw/button.h"
#include "platform/fw/check_box.h"
#include "platform/fw/label.h"
#include "platform/fw/radio_button.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseLabel : public TJVCLControl {
  RT_CLASS(TJVCLBaseLabel)
 public:
  TJVCLBaseLabel(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBaseButton : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseButton)
 public:
  TJVCLBaseButton(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TButton* Button() const { return static_cast<fw::TButton*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;
  // "click": the button's click (its modal result, then its OnClick), as a press would.
  virtual void DoClick(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBaseCheckBox : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseCheckBox)
 public:
  TJVCLBaseCheckBox(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBaseRadioButton : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseRadioButton)
 public:
  TJVCLBaseRadioButton(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

BR_GUI_CREATING_CLASS(TJVCLLabel, TJVCLBaseLabel, fw::TLabel)
BR_GUI_CREATING_CLASS(TJVCLButton, TJVCLBaseButton, fw::TButton)
BR_GUI_CREATING_CLASS(TJVCLCheckBox, TJVCLBaseCheckBox, fw::TCheckBox)
BR_GUI_CREATING_CLASS(TJVCLRadioButton, TJVCLBaseRadioButton, fw::TRadioButton)

}  // namespace gui
