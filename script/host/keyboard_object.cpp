#include "script/host/keyboard_object.h"

#include "platform/fw/keys.h"
#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

bool IsKeyDown(int virtualKey) { return fw::GetAsyncKeyState(virtualKey) < 0; }

const rt::ClassInfo& TJKeyboard::StaticClassInfo() {
  using T = TJKeyboard;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJKeyboard", &TJObject::StaticClassInfo())
                                         .property("alt", &T::Alt)
                                         .property("ctrl", &T::Ctrl)
                                         .property("shift", &T::Shift)
                                         .build();
  return info;
}

TJKeyboard::TJKeyboard(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Keyboard"); }

void TJKeyboard::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("isDown", &TJKeyboard::DoIsDown);
}

bool TJKeyboard::Alt() const { return IsKeyDown(fw::VK_MENU); }
bool TJKeyboard::Ctrl() const { return IsKeyDown(fw::VK_CONTROL); }
bool TJKeyboard::Shift() const { return IsKeyDown(fw::VK_SHIFT); }

void TJKeyboard::DoIsDown(TJValueList* args, TJValue& result) {
  int32_t code = IsParam1(args) ? AsChar(&(*args)[0]) : 0;
  if (code == 0) {
    result.Clear();
    return;
  }
  result.SetBool(IsKeyDown(code));
}

}  // namespace host
