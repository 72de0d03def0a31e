// The title screen's menu: "Start" and "Setting", chosen with Up and Down and activated with Enter,
// run by a 10 ms timer. Each entry has a glow (lit fully by the mouse, fading over about two seconds)
// and a highlight bar that grows on the selected entry and fades on the other.
#pragma once

#include <cstdint>
#include <functional>

#include "game/abitmap.h"

namespace game {

class TitleMenu {
 public:
  static constexpr int kStart = 0, kSetting = 1;
  static constexpr int kImageWidth = 110, kImageHeight = 100;

  // 0: Start selected, 1: Setting selected, 2: the settings dialog was opened.
  int MenuState = 0;
  int Glow[2] = {0, 0};       // 0..205
  int Highlight[2] = {0, 0};  // 0..70

  // What a tick reads and does outside the menu.
  std::function<bool(int virtualKey)> KeyDown;
  std::function<void()> ClickStart, ClickSetting;
  std::function<void(bool)> ShowMusicBox;

  // One tick: Enter (edge-detected through the latch the game shares) clicks the selected entry, the
  // arrows move the selection, glows fade, and the menu picture is drawn into `image`.
  void Tick(uint8_t& enterLatch, TABitmap& image);
  // The mouse over an entry lights it fully.
  void Light(int entry) { Glow[entry] = 205; }

  // Colours the tick leaves for the title's controls: an entry's panel, and the credit line.
  fw::TColor PanelColor(int entry) const { return fw::RGB(0, 50, static_cast<uint8_t>(Glow[entry] + 50)); }
  fw::TColor CreditColor() const {
    return fw::RGB(static_cast<uint8_t>(Glow[kSetting] + 50), static_cast<uint8_t>(Glow[kStart] + 50), 255);
  }

  void Draw(TABitmap& image);
};

}  // namespace game
