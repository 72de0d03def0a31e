// The keys and mouse buttons held down now on an X server, whichever window has the keyboard:
// what GetAsyncKeyState answers on X11. It asks the server over a connection of its own, so the
// answer is current while no window of this program has the focus and while the program runs no
// event loop (a script polling in a loop).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace qtfw {

// The X key symbols a virtual-key code stands for (several for Shift, Ctrl, Alt, Enter ...);
// empty for a code with none (mouse buttons are no keys).
std::vector<uint32_t> KeySymsOfVirtualKey(int virtualKey);

class TX11KeyState {
 public:
  // Connects to the display (null: $DISPLAY); null when it cannot be reached.
  static std::unique_ptr<TX11KeyState> Open(const char* displayName = nullptr);
  ~TX11KeyState();
  TX11KeyState(const TX11KeyState&) = delete;
  TX11KeyState& operator=(const TX11KeyState&) = delete;

  // Whether the key or mouse button is held down now; nothing for a code the keyboard has no key
  // for, or once the server is gone.
  std::optional<bool> IsDown(int virtualKey);

 private:
  explicit TX11KeyState(xcb_connection_t* connection);
  void takeEvents();
  void loadMapping();
  std::vector<uint8_t> keyCodesOf(int virtualKey);

  xcb_connection_t* connection_;
  bool mappingStale_ = true;
  uint8_t minKeyCode_ = 0;
  uint8_t symsPerCode_ = 0;
  std::vector<uint32_t> syms_;  // symsPerCode_ entries for each key code from minKeyCode_ on
};

}  // namespace qtfw
