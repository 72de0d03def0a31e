// Small 32-bit pictures in memory for the pixel tests.
#pragma once

#include <cstdint>
#include <vector>

#include "game/pixels.h"

namespace game_test {

struct Image {
  int width, height;
  std::vector<uint32_t> px;  // 0xXXRRGGBB, as the bytes blue, green, red, X lie in memory
  Image(int w, int h, uint32_t fill = 0xFF000000u) : width(w), height(h), px(static_cast<size_t>(w) * h, fill) {}
  game::PixelView view() {
    return {reinterpret_cast<uint8_t*>(px.data()), 4 * width, width, height};
  }
  uint32_t& at(int x, int y) { return px[static_cast<size_t>(y) * width + x]; }
  uint32_t rgb(int x, int y) { return at(x, y) & 0xFFFFFF; }
  int count(uint32_t rgbValue) {
    int n = 0;
    for (uint32_t p : px) n += (p & 0xFFFFFF) == rgbValue;
    return n;
  }
};

}  // namespace game_test
