// The game's sprites: 20 x 20 pixel pictures on a black (transparent) background, drawn from a few
// shapes and written as 24-bit Windows bitmaps.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "tools/make-assets/riff_writer.h"

namespace assets {

struct Point {
  double x, y;
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

class Sprite {
 public:
  static constexpr int kSize = 20;

  Rgb at(int x, int y) const { return pixels_[y * kSize + x]; }
  void set(int x, int y, Rgb c);

  // Shapes; a pixel belongs to a shape when its centre lies inside.
  void rect(int x, int y, int w, int h, Rgb c);
  void polygon(std::initializer_list<Point> points, Rgb c);
  // A disc lit from the upper left: `light` at the highlight, `dark` at the rim.
  void shadedDisc(double cx, double cy, double r, Rgb light, Rgb dark);
  void ring(double cx, double cy, double inner, double outer, Rgb c);
  void line(double x0, double y0, double x1, double y1, Rgb c);

  // Makes the picture safe to draw with black as the transparent colour: a pixel too dark to tell
  // from the background becomes background, and the bottom-left pixel is always background.
  void finish();

  // A bottom-up 24-bit BMP with a 40-byte info header.
  Bytes toBmp() const;

 private:
  std::array<Rgb, kSize * kSize> pixels_{};
};

// The seven sprites by file name ("my.bmp", "e0.bmp".."e5.bmp").
Sprite makeSprite(const std::string& fileName);

}  // namespace assets
