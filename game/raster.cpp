#include "game/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace game {

namespace {

uint32_t bgrOf(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

}  // namespace

void Raster::blendPut(int x, int y, uint32_t bgr, uint32_t alpha) {
  if (x < 0 || y < 0 || x >= target_.width || y >= target_.height) return;
  if (batch_ && whitenings_ > 0) flushWhitenings(batchAlpha_);  // a blend must see the whitenings so far
  uint8_t* d = target_.pixel(x, y);
  const uint32_t keep = 256 - alpha;
  d[0] = static_cast<uint8_t>(((bgr & 0xFF) * alpha + d[0] * keep) >> 8);
  d[1] = static_cast<uint8_t>(((bgr >> 8 & 0xFF) * alpha + d[1] * keep) >> 8);
  d[2] = static_cast<uint8_t>(((bgr >> 16) * alpha + d[2] * keep) >> 8);
}

const std::vector<uint8_t>& Raster::ellipseMask(int width, int height) {
  auto& mask = masks_[{width, height}];
  if (mask.empty() && width > 0 && height > 0) {
    mask.resize(static_cast<size_t>(width) * height);
    const double rx = width / 2.0, ry = height / 2.0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        double dx = (x + 0.5 - rx) / rx, dy = (y + 0.5 - ry) / ry;
        mask[static_cast<size_t>(y) * width + x] = dx * dx + dy * dy <= 1.0;
      }
  }
  return mask;
}

void Raster::fillEllipse(int left, int top, int right, int bottom, TColor color) {
  if (!target_.drawable()) return;
  const int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  const auto& mask = ellipseMask(w, h);
  const uint32_t bgr = bgrOf(color);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y) * w + x]) put(left + x, top + y, bgr);
}

void Raster::blendEllipseKeyed(int left, int top, int right, int bottom, TColor color, int alpha) {
  if (!target_.drawable() || (color & 0xFFFFFF) == 0) return;  // black is the key: nothing shows
  const int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  const auto& mask = ellipseMask(w, h);
  const uint32_t bgr = bgrOf(color), a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y) * w + x]) blendPut(left + x, top + y, bgr, a);
}

namespace {

// Calls f(x, y) for each pixel of a ring round (cx, cy) inside the box (x0, y0)-(x1, y1): the pixels
// whose centres lie at a distance d with inner <= d < outer. Each row is searched only over the two
// spans where the ring can be.
template <typename F>
void forRing(double cx, double cy, double radius, int penWidth, int x0, int y0, int x1, int y1, F f) {
  const double half = std::max(penWidth, 1) / 2.0;
  const double inner = std::max(0.0, radius - half), outer = radius + half;
  const double in2 = inner * inner, out2 = outer * outer;
  const int top = std::max(y0, static_cast<int>(std::floor(cy - outer))),
            bottom = std::min(y1, static_cast<int>(std::ceil(cy + outer)));
  for (int y = top; y < bottom; ++y) {
    const double dy = y + 0.5 - cy, rest = out2 - dy * dy;
    if (rest <= 0) continue;
    const double xo = std::sqrt(rest), xi = in2 > dy * dy ? std::sqrt(in2 - dy * dy) : 0.0;
    auto span = [&](double from, double to) {
      const int a = std::max(x0, static_cast<int>(std::floor(from - 0.5)));
      const int b = std::min(x1, static_cast<int>(std::ceil(to - 0.5)) + 1);
      for (int x = a; x < b; ++x) {
        const double dx = x + 0.5 - cx, d2 = dx * dx + dy * dy;
        if (d2 >= in2 && d2 < out2) f(x, y);
      }
    };
    if (xi > 0) {
      span(cx - xo, cx - xi);
      span(cx + xi, cx + xo);
    } else {
      span(cx - xo, cx + xo);
    }
  }
}

}  // namespace

void Raster::ring(double cx, double cy, double radius, int penWidth, TColor color) {
  if (!target_.drawable() || radius <= 0) return;
  const uint32_t bgr = bgrOf(color);
  forRing(cx, cy, radius, penWidth, 0, 0, target_.width, target_.height, [&](int x, int y) { put(x, y, bgr); });
}

void Raster::blendRingKeyed(double cx, double cy, double radius, int penWidth, TColor color, int alpha,
                            const std::array<int, 4>& clip) {
  if (!target_.drawable() || radius <= 0 || (color & 0xFFFFFF) == 0) return;
  const uint32_t bgr = bgrOf(color), a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  forRing(cx, cy, radius, penWidth, std::max(clip[0], 0), std::max(clip[1], 0),
          std::min(clip[0] + clip[2], target_.width), std::min(clip[1] + clip[3], target_.height),
          [&](int x, int y) { blendPut(x, y, bgr, a); });
}

void Raster::line(int x0, int y0, int x1, int y1, TColor color, int penWidth) {
  if (!target_.drawable()) return;
  const uint32_t bgr = bgrOf(color);
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const bool steep = dy > dx;
  int err = dx - dy, x = x0, y = y0;
  while (x != x1 || y != y1) {
    put(x, y, bgr);
    // A wider pen adds the neighbours across the line's direction.
    for (int k = 1; k < penWidth; ++k) steep ? put(x + k, y, bgr) : put(x, y + k, bgr);
    int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
}

void Raster::drawSprite(int x, int y, PixelView sprite) {
  if (!target_.drawable() || !sprite.drawable()) return;
  for (int row = 0; row < sprite.height; ++row) {
    if (y + row < 0 || y + row >= target_.height) continue;
    const auto* s = reinterpret_cast<const uint32_t*>(sprite.pixel(0, row));
    for (int col = 0; col < sprite.width; ++col)
      if (s[col] & 0xFFFFFF) put(x + col, y + row, s[col] & 0xFFFFFF);
  }
}

void Raster::beginWhitenBatch(int alpha) {
  batch_ = true;
  batchAlpha_ = std::clamp(alpha, 0, 255);
  whitenings_ = 0;
  stamps_.assign(static_cast<size_t>(std::max(target_.width, 0)) * std::max(target_.height, 0), 0);
}

void Raster::whiten(int alpha) {
  alpha = std::clamp(alpha, 0, 255);
  if (!batch_) {
    BlendRectColorMMX(target_, 0, 0, target_.width, target_.height, RGB(255, 255, 255), alpha);
    return;
  }
  if (alpha != batchAlpha_ || whitenings_ == UINT16_MAX) flushWhitenings(alpha);
  ++whitenings_;
}

void Raster::flushWhitenings(int alpha) {
  endWhitenBatch();
  beginWhitenBatch(alpha);
}

void Raster::endWhitenBatch() {
  if (!batch_) return;
  batch_ = false;
  if (whitenings_ == 0 || !target_.drawable()) return;
  // table[k][v]: byte v after k whitenings.
  const uint32_t a = static_cast<uint32_t>(batchAlpha_);
  std::vector<uint8_t> table(static_cast<size_t>(whitenings_ + 1) * 256);
  for (int v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>(v);
  for (int k = 1; k <= whitenings_; ++k)
    for (int v = 0; v < 256; ++v)
      table[k * 256 + v] = static_cast<uint8_t>((table[(k - 1) * 256 + v] * (256 - a) + 255 * a) >> 8);
  for (int y = 0; y < target_.height; ++y) {
    uint8_t* p = target_.pixel(0, y);
    const uint16_t* stamp = &stamps_[static_cast<size_t>(y) * target_.width];
    for (int x = 0; x < target_.width; ++x, p += 4) {
      const uint8_t* t = &table[static_cast<size_t>(whitenings_ - stamp[x]) * 256];
      p[0] = t[p[0]];
      p[1] = t[p[1]];
      p[2] = t[p[2]];
    }
  }
}

}  // namespace game
