// The shapes a game frame draws by the thousand (discs, rings, lines, sprites), rasterised straight
// into the back buffer's rows the way the window system's canvas draws them: aliased, a filled
// ellipse covering the pixels whose centres lie inside its box [left, right) x [top, bottom), a
// ring of pen width w covering the pixels within w / 2 of the circle, and lines stepped pixel by
// pixel with the end point left out.
//
// A "keyed" shape stands for the game's scratch-bitmap idiom: draw the shape in a colour on a black
// scratch, then blend the scratch onto the back buffer with black as the key colour. Only the shape's
// own pixels are blended, so it is drawn that way directly.
//
// Whitening batch: while a shield discharge lasts, every live enemy whitens the whole buffer a
// little and then draws over it. Instead of one pass over the buffer per enemy, a batch counts the
// whitenings and stamps every pixel drawn with the count reached; closing the batch applies, per
// pixel, the whitenings that came after its last drawing. The picture is the same, in one pass.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "game/pixels.h"

namespace game {

class Raster {
 public:
  explicit Raster(PixelView target = {}) : target_(target) {}
  void setTarget(PixelView target) { target_ = target; }
  PixelView target() const { return target_; }

  void fillEllipse(int left, int top, int right, int bottom, TColor color);
  void blendEllipseKeyed(int left, int top, int right, int bottom, TColor color, int alpha);
  // A circle outline of radius `radius` round (cx, cy), pen width `penWidth` (0 draws as 1).
  void ring(double cx, double cy, double radius, int penWidth, TColor color);
  // The same blended (keyed idiom), only where it falls inside `clip` (the scratch's area, in
  // target coordinates: x, y, width, height).
  void blendRingKeyed(double cx, double cy, double radius, int penWidth, TColor color, int alpha,
                      const std::array<int, 4>& clip);
  // From (x0, y0) toward (x1, y1), the end pixel left out; a width of 2 or more thickens the line.
  void line(int x0, int y0, int x1, int y1, TColor color, int penWidth);
  // A sprite with black as the transparent colour: its other pixels are copied.
  void drawSprite(int x, int y, PixelView sprite);

  // Whitening batch (see above). Only plain drawing (fills, rings, lines, sprites) is cheap inside
  // one; a blend first applies the whitenings counted so far.
  void beginWhitenBatch(int alpha);
  // Blends the whole buffer toward white by `alpha`; in a batch (of the same alpha) only counted.
  void whiten(int alpha);
  void endWhitenBatch();
  bool inWhitenBatch() const { return batch_; }

 private:
  struct Span {
    int from, to;  // [from, to)
  };
  void put(int x, int y, uint32_t bgr) {
    if (x < 0 || y < 0 || x >= target_.width || y >= target_.height) return;
    auto* p = reinterpret_cast<uint32_t*>(target_.pixel(x, y));
    *p = (*p & 0xFF000000u) | bgr;
    if (batch_) stamps_[static_cast<size_t>(y) * target_.width + x] = whitenings_;
  }
  void fillSpan(int y, int from, int to, uint32_t bgr);
  void blendSpan(int y, int from, int to, uint32_t bgr, uint32_t alpha);
  // Before a blend in a batch: the pixels must show the whitenings so far.
  void settleForBlend();
  const std::vector<Span>& ellipseRows(int width, int height);
  void flushWhitenings(int alpha);

  PixelView target_;
  std::map<std::pair<int, int>, std::vector<Span>> ellipses_;
  bool batch_ = false;
  int batchAlpha_ = 0;
  uint16_t whitenings_ = 0;
  std::vector<uint16_t> stamps_;
};

}  // namespace game
