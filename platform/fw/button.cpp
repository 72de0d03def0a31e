#include "platform/fw/button.h"

#include "platform/fw/actions.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TButtonControl::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClassInfo())
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .property("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap).defaultValue(false)
          .build();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  clickOnMouseUp_ = false;  // the peer reports clicks itself
  SetColor(clBtnFace);
}

void TButtonControl::SetWordWrap(bool v) {
  wordWrap_ = v;
  PeerChanged(TPeerChange::Text);
}

const rt::ClassInfo& TButton::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TButton>("TButton", &TButtonControl::StaticClassInfo())
          .property("Action", &TControl::Action, &TControl::SetAction)
          .property("Cancel", &TButton::Cancel, &TButton::SetCancel).defaultValue(false)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Default", &TButton::Default, &TButton::SetDefault).defaultValue(false)
          .property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).defaultValue(0)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TButton(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool v) {
  default_ = v;
  PeerChanged(TPeerChange::State);
}

void TButton::Click() {
  auto alive = LivenessToken();
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  if (!alive.expired()) TControl::Click();
}

}  // namespace fw
