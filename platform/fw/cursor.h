// Where the mouse cursor is on the screen, read anew at every call from a source the host installs
// (the Qt host asks the window system); without a window system it is at (0, 0).
#pragma once

#include <cstdint>
#include <functional>

namespace fw {

struct TCursorPos {
  int32_t X = 0;
  int32_t Y = 0;
};

TCursorPos GetCursorPos();
// Installs the source (null: no window system).
void SetCursorSource(std::function<TCursorPos()> source);

}  // namespace fw
