// The script class "Mouse" (a global instance under its name): the buttons held down now (from the
// program's key state, shared with the game) and the cursor's screen position, read anew at every
// read of a property.
#pragma once

#include <cstdint>

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJMouse : public engine::TJObject {
  RT_CLASS(TJMouse)
 public:
  TJMouse(engine::TJBaseEngine* engine, engine::TJValueList* param);

  bool LButton() const;
  bool MButton() const;
  bool RButton() const;
  int32_t X() const;
  int32_t Y() const;
};

}  // namespace host
