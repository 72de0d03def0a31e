// The 32-bit pixel routines of the game's bitmaps, working on rows of pixels directly. A pixel is
// four bytes: blue, green, red and a fourth byte that no routine here gives a meaning (our bitmaps
// keep it at 0xFF, as the window system's 32-bit images expect). Colours passed in are framework
// colour values: red in the low byte, then green, then blue.
#pragma once

#include <cstddef>
#include <cstdint>

namespace game {

using TColor = uint32_t;

constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}

// A window on the rows of a 32-bit bitmap.
struct PixelView {
  uint8_t* bits = nullptr;  // row 0
  int stride = 0;           // bytes from one row to the next
  int width = 0, height = 0;

  bool drawable() const { return width > 0 && height > 0 && bits; }
  uint8_t* pixel(int x, int y) const { return bits + static_cast<std::ptrdiff_t>(y) * stride + 4 * x; }
};

// Every pixel := blue, green, red (fourth byte 0xFF).
void FillColor(PixelView v, uint8_t blue, uint8_t green, uint8_t red);

// Blends a rectangle toward `color`: with l = alpha + 1 and m = 256 - l, each colour byte becomes
// (old * m + l * c) >> 8. Alpha 0 still moves a pixel by 1/256.
void BlendRectColor(PixelView v, int x, int y, int width, int height, TColor color, int alpha);
// The same with the weights alpha and 256 - alpha: (old * (256 - alpha) + c * alpha) >> 8; alpha 0
// leaves the pixel alone.
void BlendRectColorMMX(PixelView v, int x, int y, int width, int height, TColor color, int alpha);

// Blends a rectangle of `src` onto `dest` at (destX, destY): (src * alpha + dest * (256 - alpha)) >> 8
// per byte, skipping source pixels whose colour equals `keyColor`.
void BlendDrawKeyed(PixelView src, int destX, int destY, int width, int height, int srcX, int srcY, PixelView dest,
                    TColor keyColor, int alpha);

// Grey: g = (77 red + 150 green + 29 blue) >> 8 into all three colour bytes.
void Grayscale(PixelView v);

// Clips a copy of a width x height rectangle from (srcX, srcY) in a srcWidth x srcHeight bitmap to
// (destX, destY) in a destWidth x destHeight one: an overhang on the left or top shortens the
// rectangle and moves both starts; one past the right or bottom edge is cut. False when nothing is left.
bool ClipBlitRect(int& destX, int& destY, int& width, int& height, int& srcX, int& srcY, int destWidth,
                  int destHeight, int srcWidth, int srcHeight);

// The second half of the smooth-text routine: `ink` holds text drawn black on white at twice the
// size (2 w + 1 by 2 h + 1 pixels); output pixel (c, r) at (x + c, y + r), for the w x h area cut to
// the destination, takes j = (sum of the blue bytes at columns 2c, 2c + 1 and rows 2r + 1, 2r + 2) / 4 + 1
// and each colour byte becomes (j * old + colour * (256 - j)) >> 8.
void BlendTextInk(PixelView dest, int x, int y, int w, int h, PixelView ink, TColor color);

// True when the processor reports MMX (x86); the blends above are plain C++ either way.
bool HasMMX();

}  // namespace game
