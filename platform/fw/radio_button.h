// Radio buttons: of the radio buttons that share a parent, at most one is checked. Checking one,
// from code as from the user, unchecks its siblings and fires its OnClick; unchecking fires
// nothing. A click on a button that is checked already changes nothing.
#pragma once

#include "platform/fw/button.h"

namespace fw {

class TRadioButton : public TButtonControl {
  RT_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

  // The user's click (from the peer): checks the button.
  void UserClick() { SetChecked(true); }

 protected:
  // Once a form description is read, the last button it checked wins among its siblings.
  void Loaded() override;
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;

 private:
  void TurnSiblingsOff();

  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace fw
