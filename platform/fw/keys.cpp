#include "platform/fw/keys.h"

#include <array>

namespace fw {

namespace {

struct KeyTable {
  std::array<bool, 256> down{};
  std::array<bool, 256> toggled{};
  std::array<bool, 256> pressedSinceAsked{};
};

KeyTable& table() {
  static KeyTable t;
  return t;
}

bool inRange(int vk) { return vk >= 0 && vk < 256; }

TLiveKeySource& liveSource() {
  static TLiveKeySource source;
  return source;
}

}  // namespace

int16_t GetKeyState(int virtualKey) {
  if (!inRange(virtualKey)) return 0;
  KeyTable& t = table();
  return int16_t((t.down[virtualKey] ? 0x8000 : 0) | (t.toggled[virtualKey] ? 1 : 0));
}

int16_t GetAsyncKeyState(int virtualKey) {
  if (!inRange(virtualKey)) return 0;
  KeyTable& t = table();
  bool down = t.down[virtualKey];
  if (liveSource())
    if (std::optional<bool> live = liveSource()(virtualKey)) down = *live;
  int16_t state = int16_t((down ? 0x8000 : 0) | (t.pressedSinceAsked[virtualKey] ? 1 : 0));
  t.pressedSinceAsked[virtualKey] = false;
  return state;
}

void SetKeyDown(int virtualKey, bool down) {
  if (!inRange(virtualKey)) return;
  KeyTable& t = table();
  if (down && !t.down[virtualKey]) {
    t.toggled[virtualKey] = !t.toggled[virtualKey];
    t.pressedSinceAsked[virtualKey] = true;
  }
  t.down[virtualKey] = down;
}

void ReleaseAllKeys() { table().down.fill(false); }

void SetLiveKeySource(TLiveKeySource source) { liveSource() = std::move(source); }

}  // namespace fw
