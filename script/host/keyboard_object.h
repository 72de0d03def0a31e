// The script class "Keyboard" (a global instance under its name): whether a key is held down now,
// read from the key state the window system keeps for the whole program (the game reads the same).
// A key is named by its virtual-key code or by a text whose first character's code is taken as one,
// so "A" is the A key while "a" (97) is the numeric keypad's 1.
#pragma once

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJKeyboard : public engine::TJObject {
  RT_CLASS(TJKeyboard)
 public:
  TJKeyboard(engine::TJBaseEngine* engine, engine::TJValueList* param);

  bool Alt() const;
  bool Ctrl() const;
  bool Shift() const;

  void RegistMethods() override;

  // isDown(key): true while the key is held; undefined without a key or for code 0.
  void DoIsDown(engine::TJValueList* args, engine::TJValue& result);
};

// Whether the virtual key is held down now.
bool IsKeyDown(int virtualKey);

}  // namespace host
