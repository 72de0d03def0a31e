#include "platform/fw/check_box.h"

#include "platform/fw/actions.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TCheckBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCheckBox>("TCheckBox", &TButtonControl::StaticClassInfo())
          .property("Action", &TControl::Action, &TControl::SetAction)
          .property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).defaultValue(true)
          .property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).defaultValue(taRightJustify)
          .property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).defaultValue(false)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).defaultValue(false)
          .property("State", &TCheckBox::State, &TCheckBox::SetState).defaultValue(cbUnchecked)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TCheckBox(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  PeerChanged(TPeerChange::State);
  if (!HasState(csLoading)) Click();
}

void TCheckBox::SetAlignment(TAlignment a) {
  alignment_ = a;
  PeerChanged(TPeerChange::State);
}

void TCheckBox::ActionChange(TBasicAction* sender, bool checkDefaults) {
  TButtonControl::ActionChange(sender, checkDefaults);
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a || (checkDefaults && Checked())) return;
  ++clicksDisabled_;
  SetChecked(a->Checked());
  --clicksDisabled_;
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(allowGrayed_ ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

}  // namespace fw
