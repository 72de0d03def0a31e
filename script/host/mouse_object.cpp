#include "script/host/mouse_object.h"

#include "platform/fw/cursor.h"
#include "platform/fw/keys.h"
#include "platform/rt/persistent.h"
#include "script/host/keyboard_object.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJMouse::StaticClassInfo() {
  using T = TJMouse;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJMouse", &TJObject::StaticClassInfo())
                                         .property("lbutton", &T::LButton)
                                         .property("mbutton", &T::MButton)
                                         .property("rbutton", &T::RButton)
                                         .property("x", &T::X)
                                         .property("y", &T::Y)
                                         .build();
  return info;
}

TJMouse::TJMouse(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Mouse"); }

bool TJMouse::LButton() const { return IsKeyDown(fw::VK_LBUTTON); }
bool TJMouse::MButton() const { return IsKeyDown(fw::VK_MBUTTON); }
bool TJMouse::RButton() const { return IsKeyDown(fw::VK_RBUTTON); }
int32_t TJMouse::X() const { return fw::GetCursorPos().X; }
int32_t TJMouse::Y() const { return fw::GetCursorPos().Y; }

}  // namespace host
