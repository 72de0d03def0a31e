#include "platform/fw/cursor.h"

namespace fw {

namespace {

std::function<TCursorPos()>& source() {
  static std::function<TCursorPos()> s;
  return s;
}

}  // namespace

TCursorPos GetCursorPos() { return source() ? source()() : TCursorPos{}; }

void SetCursorSource(std::function<TCursorPos()> s) { source() = std::move(s); }

}  // namespace fw
