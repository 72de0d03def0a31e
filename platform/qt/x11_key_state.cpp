#include "platform/qt/x11_key_state.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "platform/fw/keys.h"

#define XK_MISCELLANY
#define XK_LATIN1
#define XK_XKB_KEYS
#include <X11/keysymdef.h>

namespace qtfw {

namespace {

// Codes beyond the ones keys.h names: the punctuation keys of a US keyboard and the Japanese
// conversion keys.
constexpr int VK_KANA = 0x15, VK_KANJI = 0x19, VK_CONVERT = 0x1C, VK_NONCONVERT = 0x1D, VK_OEM_1 = 0xBA,
              VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF,
              VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// Only the first group's two levels are searched: a symbol further up (the "less" on the comma key
// of some layouts) would tie a code to a key that is not its own.
constexpr uint8_t kLevelsSearched = 2;

struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, Free>;

}  // namespace

std::vector<uint32_t> KeySymsOfVirtualKey(int vk) {
  using namespace fw;
  if (vk >= 'A' && vk <= 'Z') return {uint32_t(XK_a + (vk - 'A')), uint32_t(XK_A + (vk - 'A'))};
  if (vk >= '0' && vk <= '9') return {uint32_t(XK_0 + (vk - '0'))};
  if (vk >= VK_NUMPAD0 && vk < VK_NUMPAD0 + 10) return {uint32_t(XK_KP_0 + (vk - VK_NUMPAD0))};
  if (vk >= VK_F1 && vk <= VK_F24) return {uint32_t(XK_F1 + (vk - VK_F1))};
  switch (vk) {
    case VK_BACK: return {XK_BackSpace};
    case VK_TAB: return {XK_Tab, XK_ISO_Left_Tab};
    case VK_CLEAR: return {XK_Clear, XK_KP_Begin};
    case VK_RETURN: return {XK_Return, XK_KP_Enter};
    case VK_SHIFT: return {XK_Shift_L, XK_Shift_R};
    case VK_CONTROL: return {XK_Control_L, XK_Control_R};
    // AltGr counts as the right Alt key, as it does on the keyboards scripts were written for.
    case VK_MENU: return {XK_Alt_L, XK_Alt_R, XK_ISO_Level3_Shift};
    case VK_PAUSE: return {XK_Pause};
    case VK_CAPITAL: return {XK_Caps_Lock};
    case VK_KANA: return {XK_Hiragana_Katakana};
    case VK_KANJI: return {XK_Kanji, XK_Zenkaku_Hankaku};
    case VK_ESCAPE: return {XK_Escape};
    case VK_CONVERT: return {XK_Henkan_Mode};
    case VK_NONCONVERT: return {XK_Muhenkan};
    case VK_SPACE: return {XK_space};
    case VK_PRIOR: return {XK_Prior};
    case VK_NEXT: return {XK_Next};
    case VK_END: return {XK_End};
    case VK_HOME: return {XK_Home};
    case VK_LEFT: return {XK_Left};
    case VK_UP: return {XK_Up};
    case VK_RIGHT: return {XK_Right};
    case VK_DOWN: return {XK_Down};
    case VK_SELECT: return {XK_Select};
    case VK_EXECUTE: return {XK_Execute};
    case VK_SNAPSHOT: return {XK_Print};
    case VK_INSERT: return {XK_Insert};
    case VK_DELETE: return {XK_Delete};
    case VK_HELP: return {XK_Help};
    case VK_LWIN: return {XK_Super_L};
    case VK_RWIN: return {XK_Super_R};
    case VK_APPS: return {XK_Menu};
    case VK_MULTIPLY: return {XK_KP_Multiply};
    case VK_ADD: return {XK_KP_Add};
    case VK_SEPARATOR: return {XK_KP_Separator};
    case VK_SUBTRACT: return {XK_KP_Subtract};
    case VK_DECIMAL: return {XK_KP_Decimal};
    case VK_DIVIDE: return {XK_KP_Divide};
    case VK_NUMLOCK: return {XK_Num_Lock};
    case VK_SCROLL: return {XK_Scroll_Lock};
    case VK_LSHIFT: return {XK_Shift_L};
    case VK_RSHIFT: return {XK_Shift_R};
    case VK_LCONTROL: return {XK_Control_L};
    case VK_RCONTROL: return {XK_Control_R};
    case VK_LMENU: return {XK_Alt_L};
    case VK_RMENU: return {XK_Alt_R, XK_ISO_Level3_Shift};
    case VK_OEM_1: return {XK_semicolon};
    case VK_OEM_PLUS: return {XK_equal};
    case VK_OEM_COMMA: return {XK_comma};
    case VK_OEM_MINUS: return {XK_minus};
    case VK_OEM_PERIOD: return {XK_period};
    case VK_OEM_2: return {XK_slash};
    case VK_OEM_3: return {XK_grave};
    case VK_OEM_4: return {XK_bracketleft};
    case VK_OEM_5: return {XK_backslash};
    case VK_OEM_6: return {XK_bracketright};
    case VK_OEM_7: return {XK_apostrophe};
    default: return {};
  }
}

std::unique_ptr<TX11KeyState> TX11KeyState::Open(const char* displayName) {
  xcb_connection_t* c = xcb_connect(displayName, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return nullptr;
  }
  return std::unique_ptr<TX11KeyState>(new TX11KeyState(c));
}

TX11KeyState::TX11KeyState(xcb_connection_t* connection) : connection_(connection) {}

TX11KeyState::~TX11KeyState() { xcb_disconnect(connection_); }

// The server tells every client when the keyboard mapping changes; nothing else comes to this
// connection, which selects no events.
void TX11KeyState::takeEvents() {
  while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
    if ((e->response_type & 0x7F) == XCB_MAPPING_NOTIFY) mappingStale_ = true;
    std::free(e);
  }
}

void TX11KeyState::loadMapping() {
  const xcb_setup_t* setup = xcb_get_setup(connection_);
  const uint8_t first = setup->min_keycode, last = setup->max_keycode;
  Reply<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
      connection_, xcb_get_keyboard_mapping(connection_, first, uint8_t(last - first + 1)), nullptr));
  if (!reply) return;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
  syms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply.get()));
  minKeyCode_ = first;
  symsPerCode_ = reply->keysyms_per_keycode;
  mappingStale_ = false;
}

std::vector<uint8_t> TX11KeyState::keyCodesOf(int virtualKey) {
  std::vector<uint8_t> codes;
  const std::vector<uint32_t> wanted = KeySymsOfVirtualKey(virtualKey);
  if (wanted.empty()) return codes;
  takeEvents();
  if (mappingStale_) loadMapping();
  if (symsPerCode_ == 0) return codes;
  const size_t keys = syms_.size() / symsPerCode_;
  const uint8_t levels = std::min(symsPerCode_, kLevelsSearched);
  for (size_t k = 0; k < keys; ++k) {
    for (uint8_t level = 0; level < levels; ++level) {
      if (std::find(wanted.begin(), wanted.end(), syms_[k * symsPerCode_ + level]) != wanted.end()) {
        codes.push_back(uint8_t(minKeyCode_ + k));
        break;
      }
    }
  }
  return codes;
}

std::optional<bool> TX11KeyState::IsDown(int virtualKey) {
  if (xcb_connection_has_error(connection_)) return std::nullopt;
  uint16_t button = virtualKey == fw::VK_LBUTTON   ? XCB_KEY_BUT_MASK_BUTTON_1
                    : virtualKey == fw::VK_MBUTTON ? XCB_KEY_BUT_MASK_BUTTON_2
                    : virtualKey == fw::VK_RBUTTON ? XCB_KEY_BUT_MASK_BUTTON_3
                                                   : 0;
  if (button) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    if (!screen) return std::nullopt;
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, screen->root), nullptr));
    if (!pointer) return std::nullopt;
    return (pointer->mask & button) != 0;
  }
  const std::vector<uint8_t> codes = keyCodesOf(virtualKey);
  if (codes.empty()) return std::nullopt;
  Reply<xcb_query_keymap_reply_t> keymap(
      xcb_query_keymap_reply(connection_, xcb_query_keymap(connection_), nullptr));
  if (!keymap) return std::nullopt;
  for (uint8_t code : codes)
    if (keymap->keys[code / 8] & (1u << (code % 8))) return true;
  return false;
}

}  // namespace qtfw
