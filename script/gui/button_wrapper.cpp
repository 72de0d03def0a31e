#include "script/gui/button_wrapper.h"

namespace gui {

using namespace engine;

#define BR_GUI_BASE_CLASS_INFO(Class, Parent)                                                    \
  const rt::ClassInfo& Class::StaticClassInfo() {                                                \
    static const rt::ClassInfo& info = rt::ClassBuilder<Class>(#Class, &Parent::StaticClassInfo()).build(); \
    return info;                                                                                 \
  }

// Families whose component has an Action publish `action`.
#define BR_GUI_ACTION_CLASS_INFO(Class, Parent)                                                  \
  const rt::ClassInfo& Class::StaticClassInfo() {                                                \
    static const rt::ClassInfo& info = rt::ClassBuilder<Class>(#Class, &Parent::StaticClassInfo()) \
                                           .property("action", &TJVCLComponent::GetAction, &TJVCLComponent::SetAction) \
                                           .build();                                            \
    return info;                                                                                 \
  }

BR_GUI_BASE_CLASS_INFO(TJVCLBaseLabel, TJVCLControl)
BR_GUI_ACTION_CLASS_INFO(TJVCLBaseButton, TJVCLWinControl)
BR_GUI_ACTION_CLASS_INFO(TJVCLBaseCheckBox, TJVCLWinControl)
BR_GUI_ACTION_CLASS_INFO(TJVCLBaseRadioButton, TJVCLWinControl)
BR_GUI_CREATING_CLASS_INFO(TJVCLLabel, TJVCLBaseLabel)
BR_GUI_CREATING_CLASS_INFO(TJVCLButton, TJVCLBaseButton)
BR_GUI_CREATING_CLASS_INFO(TJVCLCheckBox, TJVCLBaseCheckBox)
BR_GUI_CREATING_CLASS_INFO(TJVCLRadioButton, TJVCLBaseRadioButton)

// ---- label ----

TJVCLBaseLabel::TJVCLBaseLabel(TJBaseEngine* engine, TJValueList* param) : TJVCLControl(engine, param) {
  RegistName("VCLLabel");
}

const rt::ClassInfo& TJVCLBaseLabel::VCLClass() const { return fw::TLabel::StaticClassInfo(); }

void TJVCLBaseLabel::HookEvents() { TJVCLControl::HookEvents(); }

// ---- button ----

TJVCLBaseButton::TJVCLBaseButton(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLButton");
}

const rt::ClassInfo& TJVCLBaseButton::VCLClass() const { return fw::TButton::StaticClassInfo(); }

void TJVCLBaseButton::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("click", &TJVCLBaseButton::DoClick);
}

void TJVCLBaseButton::HookEvents() {
  // A push button has no double click of its own; with an action, the action has its click.
  HookControlEvents(!Control()->Action(), false);
  HookWinControlEvents(true);
}

void TJVCLBaseButton::DoClick(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { Button()->Click(); });
}

// ---- check box and radio button ----

TJVCLBaseCheckBox::TJVCLBaseCheckBox(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLCheckBox");
}

const rt::ClassInfo& TJVCLBaseCheckBox::VCLClass() const { return fw::TCheckBox::StaticClassInfo(); }

void TJVCLBaseCheckBox::HookEvents() {
  HookControlEvents(!Control()->Action(), false);
  HookWinControlEvents(true);
}

TJVCLBaseRadioButton::TJVCLBaseRadioButton(TJBaseEngine* engine, TJValueList* param)
    : TJVCLWinControl(engine, param) {
  RegistName("VCLRadioButton");
}

const rt::ClassInfo& TJVCLBaseRadioButton::VCLClass() const { return fw::TRadioButton::StaticClassInfo(); }

void TJVCLBaseRadioButton::HookEvents() {
  HookControlEvents(!Control()->Action(), true);
  HookWinControlEvents(true);
}

}  // namespace gui
