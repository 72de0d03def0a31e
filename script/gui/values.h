// Script values the bridge hands to handlers and natives: points, rectangles and copies of string
// lists, and reading a point back from any object with members "x" and "y".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/types.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace gui {

engine::TJObject* NewPoint(engine::TJBaseEngine* engine, fw::TPoint p);
engine::TJObject* NewRect(engine::TJBaseEngine* engine, const fw::TRect& r);
// Sets the members of a point made by NewPoint.
void SetPoint(engine::TJObject* point, fw::TPoint p);
// The rectangle a handler left in an object made by NewRect.
fw::TRect RectOf(engine::TJObject* rect, const fw::TRect& fallback);
// A new string list object holding a copy of the texts.
engine::TJObject* NewStringsCopy(engine::TJBaseEngine* engine, const std::vector<std::string>& texts);
// Members "x" and "y" of the object (a missing one raises "EKeyError"); false when the value is
// no object.
bool ReadPoint(const engine::TJValue& value, fw::TPoint& p);

}  // namespace gui
