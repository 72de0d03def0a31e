// Check boxes: checked, unchecked or (with AllowGrayed) grayed. Changing the state, from code as
// from the user, fires OnClick.
#pragma once

#include "platform/fw/button.h"

namespace fw {

FW_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

class TCheckBox : public TButtonControl {
  RT_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

  // The user's click: unchecked, checked, grayed (when allowed), and round again.
  void Toggle();

 protected:
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace fw
