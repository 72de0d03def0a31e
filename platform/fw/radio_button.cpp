#include "platform/fw/radio_button.h"

#include "platform/fw/actions.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TRadioButton::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TRadioButton>("TRadioButton", &TButtonControl::StaticClassInfo())
          .property("Action", &TControl::Action, &TControl::SetAction)
          .property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).defaultValue(true)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(false)
          .property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
          .defaultValue(taRightJustify)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).defaultValue(false)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TRadioButton(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetParentColor(true);
  tabStop_ = false;
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  // Only the checked button of a group is a tab stop.
  tabStop_ = checked;
  PeerChanged(TPeerChange::State);
  if (!checked) return;
  auto alive = LivenessToken();
  TurnSiblingsOff();
  if (!alive.expired() && !HasState(csLoading)) Click();
}

void TRadioButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TButtonControl::ActionChange(sender, checkDefaults);
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a || (checkDefaults && checked_)) return;
  ++clicksDisabled_;
  SetChecked(a->Checked());
  --clicksDisabled_;
}

void TRadioButton::TurnSiblingsOff() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
    if (sibling && sibling != this) sibling->SetChecked(false);
  }
}

void TRadioButton::SetAlignment(TAlignment a) {
  alignment_ = a;
  PeerChanged(TPeerChange::State);
}

void TRadioButton::Loaded() {
  TButtonControl::Loaded();
  // While loading, the parent may not have been set when Checked was read.
  if (checked_) TurnSiblingsOff();
}

}  // namespace fw
