#include "game/pixels.h"

#include <algorithm>

namespace game {

namespace {

uint8_t redOf(TColor c) { return c & 0xFF; }
uint8_t greenOf(TColor c) { return (c >> 8) & 0xFF; }
uint8_t blueOf(TColor c) { return (c >> 16) & 0xFF; }

// Clips a rectangle to the bitmap itself; false when nothing is left.
bool clipToView(const PixelView& v, int& x, int& y, int& w, int& h) {
  int sx = x, sy = y;
  return ClipBlitRect(x, y, w, h, sx, sy, v.width, v.height, v.width, v.height);
}

// Blends every colour byte of the rectangle: new = (old * keep + c * weight) >> 8 with keep + weight =
// 256, so each product fits in 16 bits and red and blue travel together in one 32-bit word.
[[gnu::target_clones("avx2", "default")]] void blendRect(PixelView v, int x, int y, int w, int h, uint32_t keep,
                                                          uint32_t weight, TColor color) {
  if (!v.drawable() || !clipToView(v, x, y, w, h)) return;
  const uint32_t addRB = (redOf(color) * weight) << 16 | blueOf(color) * weight;
  const uint32_t addG = (greenOf(color) * weight) << 8;
  for (int row = y; row < y + h; ++row) {
    auto* p = reinterpret_cast<uint32_t*>(v.pixel(x, row));
    for (int i = 0; i < w; ++i) {
      const uint32_t px = p[i];
      const uint32_t rb = (((px & 0x00FF00FFu) * keep + addRB) >> 8) & 0x00FF00FFu;
      const uint32_t g = (((px & 0x0000FF00u) * keep + addG) >> 8) & 0x0000FF00u;
      p[i] = (px & 0xFF000000u) | rb | g;
    }
  }
}

}  // namespace

void FillColor(PixelView v, uint8_t blue, uint8_t green, uint8_t red) {
  if (!v.drawable()) return;
  const uint32_t value = blue | green << 8 | red << 16 | 0xFFu << 24;
  for (int row = 0; row < v.height; ++row) {
    auto* p = reinterpret_cast<uint32_t*>(v.pixel(0, row));
    std::fill(p, p + v.width, value);
  }
}

void BlendRectColor(PixelView v, int x, int y, int width, int height, TColor color, int alpha) {
  const uint32_t l = static_cast<uint32_t>(std::clamp(alpha, 0, 255)) + 1;
  blendRect(v, x, y, width, height, 256 - l, l, color);
}

void BlendRectColorMMX(PixelView v, int x, int y, int width, int height, TColor color, int alpha) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  blendRect(v, x, y, width, height, 256 - a, a, color);
}

void BlendDrawKeyed(PixelView src, int destX, int destY, int width, int height, int srcX, int srcY, PixelView dest,
                    TColor keyColor, int alpha) {
  if (!src.drawable() || !dest.drawable()) return;
  if (!ClipBlitRect(destX, destY, width, height, srcX, srcY, dest.width, dest.height, src.width, src.height)) return;
  const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255)), keep = 256 - a;
  const uint32_t key = blueOf(keyColor) | greenOf(keyColor) << 8 | redOf(keyColor) << 16;
  for (int row = 0; row < height; ++row) {
    const uint8_t* s = src.pixel(srcX, srcY + row);
    uint8_t* d = dest.pixel(destX, destY + row);
    for (int i = 0; i < width; ++i, s += 4, d += 4) {
      if (static_cast<uint32_t>(s[0] | s[1] << 8 | s[2] << 16) == key) continue;
      d[0] = static_cast<uint8_t>((s[0] * a + d[0] * keep) >> 8);
      d[1] = static_cast<uint8_t>((s[1] * a + d[1] * keep) >> 8);
      d[2] = static_cast<uint8_t>((s[2] * a + d[2] * keep) >> 8);
    }
  }
}

void Grayscale(PixelView v) {
  if (!v.drawable()) return;
  for (int row = 0; row < v.height; ++row) {
    uint8_t* p = v.pixel(0, row);
    for (int i = 0; i < v.width; ++i, p += 4) {
      auto g = static_cast<uint8_t>((77 * p[2] + 150 * p[1] + 29 * p[0]) >> 8);
      p[0] = p[1] = p[2] = g;
    }
  }
}

bool ClipBlitRect(int& destX, int& destY, int& width, int& height, int& srcX, int& srcY, int destWidth,
                  int destHeight, int srcWidth, int srcHeight) {
  // Overhang on the left or top of either bitmap.
  int over = std::max(-destX, -srcX);
  if (over > 0) {
    width -= over;
    destX += over;
    srcX += over;
  }
  over = std::max(-destY, -srcY);
  if (over > 0) {
    height -= over;
    destY += over;
    srcY += over;
  }
  // Past the right or bottom edge of either.
  width = std::min({width, destWidth - destX, srcWidth - srcX});
  height = std::min({height, destHeight - destY, srcHeight - srcY});
  return width > 0 && height > 0;
}

void BlendTextInk(PixelView dest, int x, int y, int w, int h, PixelView ink, TColor color) {
  if (!dest.drawable() || !ink.drawable()) return;
  // The area is cut to the destination on all four sides, and to what the ink covers.
  int c0 = std::max(0, -x), r0 = std::max(0, -y);
  int c1 = std::min({w, dest.width - x, (ink.width - 1) / 2});
  int r1 = std::min({h, dest.height - y, (ink.height - 1) / 2});
  const uint32_t cb = blueOf(color), cg = greenOf(color), cr = redOf(color);
  for (int r = r0; r < r1; ++r) {
    const uint8_t* a = ink.pixel(0, 2 * r + 1);
    const uint8_t* b = ink.pixel(0, 2 * r + 2);
    uint8_t* d = dest.pixel(x + c0, y + r);
    for (int c = c0; c < c1; ++c, d += 4) {
      uint32_t sum = a[8 * c] + a[8 * c + 4] + b[8 * c] + b[8 * c + 4];
      uint32_t j = sum / 4 + 1, k = 256 - j;
      d[0] = static_cast<uint8_t>((j * d[0] + cb * k) >> 8);
      d[1] = static_cast<uint8_t>((j * d[1] + cg * k) >> 8);
      d[2] = static_cast<uint8_t>((j * d[2] + cr * k) >> 8);
    }
  }
}

bool HasMMX() {
#if defined(__i386__) || defined(__x86_64__)
  return __builtin_cpu_supports("mmx");
#else
  return false;
#endif
}

}  // namespace game
