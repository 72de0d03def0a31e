// Keyboard and Mouse read what is held now on the X server, whichever window has the focus: keys
// and buttons are pressed through the XTEST extension on an Xvfb the test starts, while a window
// of the test (not of the script) has the keyboard. Every wait polls with a deadline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/keys.h"
#include "platform/qt/host.h"
#include "platform/qt/x11_key_state.h"
#include "tests/tools/brsw/xvfb.h"

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/keysymdef.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(5);

// Polls until `done` answers true or the deadline passes; whether it did.
bool Within(const std::function<bool()>& done) {
  const auto end = Clock::now() + kDeadline;
  while (!done())
    if (Clock::now() > end) return false;
  return true;
}

// The test's own client of the server: it finds key codes by their symbols, presses and releases
// keys and buttons through XTEST, moves the pointer, and holds the window that has the keyboard.
class TFakeUser {
 public:
  explicit TFakeUser(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(c_)) return;
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    std::unique_ptr<xcb_test_get_version_reply_t, decltype(&std::free)> version(
        xcb_test_get_version_reply(c_, xcb_test_get_version(c_, 2, 2), nullptr), &std::free);
    ok_ = version != nullptr;
  }
  ~TFakeUser() { xcb_disconnect(c_); }
  bool Ok() const { return ok_; }

  // The key code of the first key carrying the symbol on any level (0 for none).
  uint8_t KeyCodeOf(uint32_t keysym) {
    const Mapping m = ReadMapping();
    for (size_t i = 0; i < m.syms.size(); ++i)
      if (m.syms[i] == keysym) return uint8_t(m.first + i / m.perKey);
    return 0;
  }
  // A key code no symbol is bound to (0 for none).
  uint8_t UnusedKeyCode() {
    const Mapping m = ReadMapping();
    for (size_t k = m.perKey ? m.syms.size() / m.perKey : 0; k-- > 0;) {
      bool empty = true;
      for (size_t l = 0; l < m.perKey; ++l) empty = empty && m.syms[k * m.perKey + l] == 0;
      if (empty) return uint8_t(m.first + k);
    }
    return 0;
  }
  void Bind(uint8_t keyCode, uint32_t keysym) {
    xcb_keysym_t sym = keysym;
    xcb_change_keyboard_mapping(c_, 1, keyCode, 1, &sym);
    Sync();
  }
  void Key(uint8_t code, bool down) { Fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, 0, 0); }
  void Button(uint8_t button, bool down) { Fake(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button, 0, 0); }
  void MoveTo(int16_t x, int16_t y) { Fake(XCB_MOTION_NOTIFY, 0, x, y); }

  // A window over the whole screen that takes the keyboard.
  xcb_window_t TakeFocus() {
    if (!window_) {
      window_ = xcb_generate_id(c_);
      uint32_t values[] = {1};
      xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen_->root, 0, 0, screen_->width_in_pixels,
                        screen_->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                        XCB_CW_OVERRIDE_REDIRECT, values);
      xcb_map_window(c_, window_);
    }
    uint32_t top[] = {XCB_STACK_MODE_ABOVE};
    xcb_configure_window(c_, window_, XCB_CONFIG_WINDOW_STACK_MODE, top);
    xcb_set_input_focus(c_, XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
    Sync();
    return window_;
  }
  xcb_window_t Focus() {
    auto* reply = xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr);
    xcb_window_t focus = reply ? reply->focus : 0;
    std::free(reply);
    return focus;
  }

 private:
  struct Mapping {
    uint8_t first = 0;
    size_t perKey = 0;
    std::vector<xcb_keysym_t> syms;
  };
  Mapping ReadMapping() {
    const xcb_setup_t* setup = xcb_get_setup(c_);
    Mapping m;
    m.first = setup->min_keycode;
    auto* reply = xcb_get_keyboard_mapping_reply(
        c_, xcb_get_keyboard_mapping(c_, m.first, uint8_t(setup->max_keycode - m.first + 1)), nullptr);
    if (!reply) return m;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    m.syms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply));
    m.perKey = reply->keysyms_per_keycode;
    std::free(reply);
    return m;
  }
  void Fake(uint8_t type, uint8_t detail, int16_t x, int16_t y) {
    xcb_test_fake_input(c_, type, detail, XCB_CURRENT_TIME, screen_->root, x, y, 0);
    Sync();
  }
  void Sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

  xcb_connection_t* c_;
  const xcb_screen_t* screen_ = nullptr;
  xcb_window_t window_ = 0;
  bool ok_ = false;
};

class LiveKeys : public testing::Test {
 protected:
  static void SetUpTestSuite() { server = new brswtest::TXvfb; }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    if (server->Display().empty()) GTEST_SKIP() << "Xvfb cannot start here";
    user = std::make_unique<TFakeUser>(server->Display());
    ASSERT_TRUE(user->Ok()) << "the server has no XTEST";
    user->TakeFocus();
  }

  static inline brswtest::TXvfb* server = nullptr;
  std::unique_ptr<TFakeUser> user;
};

TEST(VirtualKeySymbols, LettersDigitsKeypadAndModifiers) {
  using qtfw::KeySymsOfVirtualKey;
  EXPECT_EQ(KeySymsOfVirtualKey('A'), (std::vector<uint32_t>{XK_a, XK_A}));
  EXPECT_EQ(KeySymsOfVirtualKey('7'), (std::vector<uint32_t>{XK_7}));
  // 'a' (97) is the keypad's 1, not the A key.
  EXPECT_EQ(KeySymsOfVirtualKey('a'), (std::vector<uint32_t>{XK_KP_1}));
  EXPECT_EQ(KeySymsOfVirtualKey(fw::VK_F1 + 23), (std::vector<uint32_t>{XK_F24}));
  EXPECT_EQ(KeySymsOfVirtualKey(fw::VK_SHIFT), (std::vector<uint32_t>{XK_Shift_L, XK_Shift_R}));
  EXPECT_EQ(KeySymsOfVirtualKey(fw::VK_RCONTROL), (std::vector<uint32_t>{XK_Control_R}));
  EXPECT_TRUE(KeySymsOfVirtualKey(fw::VK_LBUTTON).empty());
  EXPECT_TRUE(KeySymsOfVirtualKey(0).empty());
  EXPECT_TRUE(KeySymsOfVirtualKey(0xFF).empty());
}

TEST_F(LiveKeys, KeysHeldAnywhereAreDownUntilReleased) {
  auto state = qtfw::TX11KeyState::Open(server->Display().c_str());
  ASSERT_TRUE(state);
  struct Case {
    int vk;
    uint32_t pressed;
  } cases[] = {
      {'A', XK_a},
      {'Z', XK_z},
      {'5', XK_5},
      {'a', XK_KP_1},  // the keypad key, whatever NumLock says
      {fw::VK_F1 + 4, XK_F5},
      {fw::VK_SHIFT, XK_Shift_R},
      {fw::VK_RSHIFT, XK_Shift_R},
      {fw::VK_CONTROL, XK_Control_L},
      {fw::VK_MENU, XK_Alt_L},
      {fw::VK_RETURN, XK_KP_Enter},
      {fw::VK_SPACE, XK_space},
      {fw::VK_LEFT, XK_Left},
      {fw::VK_ESCAPE, XK_Escape},
      {0xBA, XK_semicolon},
  };
  for (const Case& c : cases) {
    const uint8_t code = user->KeyCodeOf(c.pressed);
    ASSERT_NE(code, 0) << c.vk;
    EXPECT_EQ(state->IsDown(c.vk), std::optional<bool>(false)) << c.vk;
    user->Key(code, true);
    EXPECT_TRUE(Within([&] { return state->IsDown(c.vk) == std::optional<bool>(true); })) << c.vk;
    EXPECT_EQ(state->IsDown('Q'), std::optional<bool>(false)) << c.vk;  // only what is held
    user->Key(code, false);
    EXPECT_TRUE(Within([&] { return state->IsDown(c.vk) == std::optional<bool>(false); })) << c.vk;
  }
  // The left and right keys of a pair are told apart.
  user->Key(user->KeyCodeOf(XK_Shift_L), true);
  EXPECT_TRUE(Within([&] { return state->IsDown(fw::VK_LSHIFT) == std::optional<bool>(true); }));
  EXPECT_EQ(state->IsDown(fw::VK_RSHIFT), std::optional<bool>(false));
  user->Key(user->KeyCodeOf(XK_Shift_L), false);
  EXPECT_NE(user->Focus(), 0u);
}

TEST_F(LiveKeys, MouseButtonsAreDownWhileHeld) {
  auto state = qtfw::TX11KeyState::Open(server->Display().c_str());
  ASSERT_TRUE(state);
  struct Case {
    int vk;
    uint8_t button;
  } cases[] = {{fw::VK_LBUTTON, 1}, {fw::VK_MBUTTON, 2}, {fw::VK_RBUTTON, 3}};
  for (const Case& c : cases) {
    EXPECT_EQ(state->IsDown(c.vk), std::optional<bool>(false)) << c.vk;
    user->Button(c.button, true);
    EXPECT_TRUE(Within([&] { return state->IsDown(c.vk) == std::optional<bool>(true); })) << c.vk;
    for (const Case& other : cases) {
      if (other.vk != c.vk) {
        EXPECT_EQ(state->IsDown(other.vk), std::optional<bool>(false)) << c.vk;
      }
    }
    user->Button(c.button, false);
    EXPECT_TRUE(Within([&] { return state->IsDown(c.vk) == std::optional<bool>(false); })) << c.vk;
  }
}

TEST_F(LiveKeys, ANewKeyboardMappingIsFollowed) {
  auto state = qtfw::TX11KeyState::Open(server->Display().c_str());
  ASSERT_TRUE(state);
  const int vkF20 = fw::VK_F1 + 19;
  ASSERT_EQ(user->KeyCodeOf(XK_F20), 0) << "the test wants a keyboard without F20";
  EXPECT_EQ(state->IsDown(vkF20), std::nullopt);  // no key for it: nothing to say
  const uint8_t code = user->UnusedKeyCode();
  ASSERT_NE(code, 0);
  user->Bind(code, XK_F20);
  user->Key(code, true);
  EXPECT_TRUE(Within([&] { return state->IsDown(vkF20) == std::optional<bool>(true); }));
  user->Key(code, false);
  user->Bind(code, 0);
  EXPECT_TRUE(Within([&] { return state->IsDown(vkF20) == std::nullopt; }));
}

TEST_F(LiveKeys, AGoneServerLeavesTheAnswerToTheTable) {
  auto own = std::make_unique<brswtest::TXvfb>();
  if (own->Display().empty()) GTEST_SKIP() << "Xvfb cannot start here";
  auto state = qtfw::TX11KeyState::Open(own->Display().c_str());
  ASSERT_TRUE(state);
  EXPECT_EQ(state->IsDown('A'), std::optional<bool>(false));
  own.reset();
  EXPECT_EQ(state->IsDown('A'), std::nullopt);
  EXPECT_EQ(state->IsDown(fw::VK_LBUTTON), std::nullopt);
  EXPECT_FALSE(qtfw::TX11KeyState::Open(":99999"));
}

// brsw as a user starts it, on the server, with a script that shows its main form and then answers
// what Keyboard and Mouse say each time it is asked (reading its standard input, so it runs no
// event loop in between).
class Brsw {
 public:
  Brsw(const std::string& display, const std::string& script) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string v = *e;
      if (v.rfind("DISPLAY=", 0) != 0 && v.rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(v);
    }
    env.push_back("DISPLAY=" + display);
    env.push_back("QT_QPA_PLATFORM=xcb");
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      const char* argv[] = {BRSW_PATH, "-e", script.c_str(), nullptr};
      ::execve(BRSW_PATH, const_cast<char**>(argv), envp.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    to_ = in[1];
    from_ = out[0];
  }
  ~Brsw() {
    if (to_ >= 0) ::close(to_);
    if (from_ >= 0) ::close(from_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int status;
      ::waitpid(pid_, &status, 0);
    }
  }
  // One line of its output, or "" when none comes in time.
  std::string Line() {
    const auto end = Clock::now() + kDeadline;
    while (buffer_.find('\n') == std::string::npos) {
      int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count());
      pollfd p{from_, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, left) <= 0) return "";
      char chunk[256];
      ssize_t n = ::read(from_, chunk, sizeof chunk);
      if (n <= 0) return "";
      buffer_.append(chunk, size_t(n));
    }
    std::string line = buffer_.substr(0, buffer_.find('\n'));
    buffer_.erase(0, line.size() + 1);
    return line;
  }
  std::string Ask(const std::string& question) {
    std::string q = question + "\n";
    if (::write(to_, q.data(), q.size()) != ssize_t(q.size())) return "";
    return Line();
  }
  // Its exit status once it ended by itself in time; -1 otherwise.
  int Ended() {
    ::close(to_);
    to_ = -1;
    while (!Line().empty()) {
    }
    int pidfd = int(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd < 0) return -1;
    pollfd p{pidfd, POLLIN, 0};
    const bool ended = ::poll(&p, 1, int(std::chrono::milliseconds(kDeadline).count())) == 1;
    ::close(pidfd);
    int status = 0;
    if (!ended || ::waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int to_ = -1, from_ = -1;
  std::string buffer_;
};

TEST_F(LiveKeys, BrswScriptsSeeKeysAndButtonsHeldInOtherWindows) {
  Brsw brsw(server->Display(),
            "var f = new VCLForm(true); f.Caption = 'keys'; f.show();\n"
            "println('ready');\n"
            "var line;\n"
            "while ((line = WScript.StdIn.ReadLine()) != 'quit')\n"
            "  println([Keyboard.isDown('A'), Keyboard.isDown('a'), Keyboard.shift, Keyboard.ctrl, Keyboard.alt,\n"
            "           Mouse.lbutton, Mouse.mbutton, Mouse.rbutton, Mouse.x, Mouse.y].join(' '));\n"
            "f.close();\n");
  ASSERT_EQ(brsw.Line(), "ready");
  const xcb_window_t mine = user->TakeFocus();
  user->MoveTo(600, 450);
  EXPECT_TRUE(Within([&] { return brsw.Ask("?") == "false false false false false false false false 600 450"; }));

  const uint8_t a = user->KeyCodeOf(XK_a), shift = user->KeyCodeOf(XK_Shift_L), ctrl = user->KeyCodeOf(XK_Control_R);
  user->Key(shift, true);
  user->Key(a, true);
  user->Key(ctrl, true);
  EXPECT_TRUE(Within([&] { return brsw.Ask("?") == "true false true true false false false false 600 450"; }));
  user->Key(a, false);
  user->Key(shift, false);
  user->Key(ctrl, false);
  user->Button(1, true);
  user->Button(3, true);
  user->MoveTo(17, 23);
  EXPECT_TRUE(Within([&] { return brsw.Ask("?") == "false false false false false true false true 17 23"; }));
  user->Button(1, false);
  user->Button(3, false);
  EXPECT_TRUE(Within([&] { return brsw.Ask("?") == "false false false false false false false false 17 23"; }));
  EXPECT_EQ(user->Focus(), mine);  // the keyboard stayed with the test's window all along
  brsw.Ask("quit");
  EXPECT_EQ(brsw.Ended(), 0);
}

}  // namespace
