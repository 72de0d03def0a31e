// Virtual-key codes and the keyboard state table. The window system's event filter feeds the
// table (SetKeyDown); programs read it with GetKeyState and GetAsyncKeyState, whose high bit
// (a negative result) means "down". GetAsyncKeyState reads the state held now where the window
// system can say it (a live source), so keys pressed in other programs' windows count too.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace fw {

inline constexpr uint16_t VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
                          VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
                          VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
                          VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
                          VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
                          VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C,
                          VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C,
                          VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
                          VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
                          VK_F1 = 0x70, VK_F24 = 0x87, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0,
                          VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4,
                          VK_RMENU = 0xA5;
// Letters and digits are their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).

// Bit 15 set while the key is down; bit 0 flips at every press (the toggle of Caps Lock and the
// like). Codes outside 0..255 read 0.
int16_t GetKeyState(int virtualKey);
// Bit 15 set while the key is down; bit 0 set when it was pressed since the previous call for
// that key.
int16_t GetAsyncKeyState(int virtualKey);

// A window system that can tell which keys and mouse buttons are held now, whichever window has
// the keyboard: GetAsyncKeyState asks it first, and the table answers what it cannot (nothing).
using TLiveKeySource = std::function<std::optional<bool>(int virtualKey)>;
// Installs the source (null: the table alone).
void SetLiveKeySource(TLiveKeySource source);

// Feeds the table: a press (a repeated press of a held key changes nothing) or a release.
void SetKeyDown(int virtualKey, bool down);
// Every key up (the application lost the keyboard); toggles stay.
void ReleaseAllKeys();

}  // namespace fw
