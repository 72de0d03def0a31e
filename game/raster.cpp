#include "game/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace game {

namespace {

uint32_t bgrOf(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// The pixels x of a row whose centres lie closer than sqrt(r2) to cx, the row's centre being dy2
// (squared) away: [from, to), empty when none.
void rowWithin(double cx, double dy2, double r2, int& from, int& to) {
  if (r2 <= dy2) {
    from = to = 0;
    return;
  }
  auto inside = [&](int x) {
    const double dx = x + 0.5 - cx;
    return dx * dx + dy2 < r2;
  };
  const double half = std::sqrt(r2 - dy2);
  from = static_cast<int>(std::ceil(cx - 0.5 - half));
  to = static_cast<int>(std::floor(cx - 0.5 + half)) + 1;
  // Settle the ends on the exact test (the square root may be off in the last bit).
  while (inside(from - 1)) --from;
  while (from < to && !inside(from)) ++from;
  while (inside(to)) ++to;
  while (to > from && !inside(to - 1)) --to;
}

struct LineWalk {
  int steps, dx, dy, sx, sy, rowStep, stampRowStep;
};

// The pixels of a line from p on, each step moving along x, y or both as the error term says.
template <bool Stamped>
void walkLine(const LineWalk& w, uint32_t* p, uint16_t* stamp, uint32_t bgr, uint16_t now) {
  int err = w.dx - w.dy;
  const int pyStep = w.sy * w.rowStep, syStep = w.sy * w.stampRowStep;
  for (int n = w.steps; n > 0; --n) {
    *p = (*p & 0xFF000000u) | bgr;
    if constexpr (Stamped) *stamp = now;
    const int e2 = 2 * err;
    if (e2 > -w.dy) {
      err -= w.dy;
      p += w.sx;
      if constexpr (Stamped) stamp += w.sx;
    }
    if (e2 < w.dx) {
      err += w.dx;
      p += pyStep;
      if constexpr (Stamped) stamp += syStep;
    }
  }
}

}  // namespace

void Raster::fillSpan(int y, int from, int to, uint32_t bgr) {
  if (y < 0 || y >= target_.height) return;
  from = std::max(from, 0);
  to = std::min(to, target_.width);
  if (from >= to) return;
  auto* p = reinterpret_cast<uint32_t*>(target_.pixel(0, y));
  for (int x = from; x < to; ++x) p[x] = (p[x] & 0xFF000000u) | bgr;
  if (batch_) std::fill(&stamps_[static_cast<size_t>(y) * target_.width + from],
                        &stamps_[static_cast<size_t>(y) * target_.width + to], whitenings_);
}

// (source * alpha + dest * (256 - alpha)) >> 8 per colour byte; red and blue share one word.
void Raster::blendSpan(int y, int from, int to, uint32_t bgr, uint32_t alpha) {
  if (y < 0 || y >= target_.height) return;
  from = std::max(from, 0);
  to = std::min(to, target_.width);
  const uint32_t keep = 256 - alpha;
  const uint32_t addRB = (bgr & 0x00FF00FFu) * alpha, addG = (bgr & 0x0000FF00u) * alpha;
  auto* p = reinterpret_cast<uint32_t*>(target_.pixel(0, y));
  for (int x = from; x < to; ++x) {
    const uint32_t px = p[x];
    const uint32_t rb = (((px & 0x00FF00FFu) * keep + addRB) >> 8) & 0x00FF00FFu;
    const uint32_t g = (((px & 0x0000FF00u) * keep + addG) >> 8) & 0x0000FF00u;
    p[x] = (px & 0xFF000000u) | rb | g;
  }
}

void Raster::settleForBlend() {
  if (batch_ && whitenings_ > 0) flushWhitenings(batchAlpha_);
}

const std::vector<Raster::Span>& Raster::ellipseRows(int width, int height) {
  auto& rows = ellipses_[{width, height}];
  if (rows.empty()) {
    const double rx = width / 2.0, ry = height / 2.0;
    for (int y = 0; y < height; ++y) {
      const double dy = (y + 0.5 - ry) / ry;
      Span span{0, 0};
      for (int x = 0; x < width; ++x) {
        const double dx = (x + 0.5 - rx) / rx;
        if (dx * dx + dy * dy <= 1.0) {
          if (span.to == 0) span.from = x;
          span.to = x + 1;
        }
      }
      rows.push_back(span);
    }
  }
  return rows;
}

void Raster::fillEllipse(int left, int top, int right, int bottom, TColor color) {
  if (!target_.drawable() || right <= left || bottom <= top) return;
  const uint32_t bgr = bgrOf(color);
  const auto& rows = ellipseRows(right - left, bottom - top);
  for (int y = 0; y < bottom - top; ++y) fillSpan(top + y, left + rows[y].from, left + rows[y].to, bgr);
}

void Raster::blendEllipseKeyed(int left, int top, int right, int bottom, TColor color, int alpha) {
  if (!target_.drawable() || right <= left || bottom <= top) return;
  if ((color & 0xFFFFFF) == 0) return;  // black is the key: nothing shows
  settleForBlend();
  const uint32_t bgr = bgrOf(color), a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  const auto& rows = ellipseRows(right - left, bottom - top);
  for (int y = 0; y < bottom - top; ++y) blendSpan(top + y, left + rows[y].from, left + rows[y].to, bgr, a);
}

namespace {

// Calls f(y, from, to) for the spans of a ring round (cx, cy) inside rows [y0, y1): the pixels whose
// centres lie at a distance d with inner <= d < outer.
template <typename F>
void forRingSpans(double cx, double cy, double radius, int penWidth, int y0, int y1, F f) {
  const double half = std::max(penWidth, 1) / 2.0;
  const double inner = std::max(0.0, radius - half), outer = radius + half;
  const int top = std::max(y0, static_cast<int>(std::floor(cy - outer))),
            bottom = std::min(y1, static_cast<int>(std::ceil(cy + outer)));
  for (int y = top; y < bottom; ++y) {
    const double dy = y + 0.5 - cy;
    int oFrom, oTo, iFrom, iTo;
    rowWithin(cx, dy * dy, outer * outer, oFrom, oTo);
    rowWithin(cx, dy * dy, inner * inner, iFrom, iTo);
    if (oFrom >= oTo) continue;
    if (iFrom >= iTo) {
      f(y, oFrom, oTo);
    } else {
      f(y, oFrom, iFrom);
      f(y, iTo, oTo);
    }
  }
}

}  // namespace

void Raster::ring(double cx, double cy, double radius, int penWidth, TColor color) {
  if (!target_.drawable() || radius <= 0) return;
  const uint32_t bgr = bgrOf(color);
  forRingSpans(cx, cy, radius, penWidth, 0, target_.height,
               [&](int y, int from, int to) { fillSpan(y, from, to, bgr); });
}

void Raster::blendRingKeyed(double cx, double cy, double radius, int penWidth, TColor color, int alpha,
                            const std::array<int, 4>& clip) {
  if (!target_.drawable() || radius <= 0 || (color & 0xFFFFFF) == 0) return;
  settleForBlend();
  const uint32_t bgr = bgrOf(color), a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  forRingSpans(cx, cy, radius, penWidth, clip[1], clip[1] + clip[3], [&](int y, int from, int to) {
    blendSpan(y, std::max(from, clip[0]), std::min(to, clip[0] + clip[2]), bgr, a);
  });
}

void Raster::line(int x0, int y0, int x1, int y1, TColor color, int penWidth) {
  if (!target_.drawable()) return;
  const uint32_t bgr = bgrOf(color);
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const bool steep = dy > dx;
  const int extra = std::max(penWidth, 1) - 1;  // neighbours across the line's direction
  const bool inside = std::min(x0, x1) >= 0 && std::min(y0, y1) >= 0 &&
                      std::max(x0, x1) + (steep ? extra : 0) < target_.width &&
                      std::max(y0, y1) + (steep ? 0 : extra) < target_.height;
  int err = dx - dy, x = x0, y = y0;
  if (!inside) {
    while (x != x1 || y != y1) {
      put(x, y, bgr);
      for (int k = 1; k <= extra; ++k) steep ? put(x + k, y, bgr) : put(x, y + k, bgr);
      const int e2 = 2 * err;
      if (e2 > -dy) err -= dy, x += sx;
      if (e2 < dx) err += dx, y += sy;
    }
    return;
  }
  // Wholly inside: walk a pointer, no bounds to test.
  const int rowStep = target_.stride / 4;
  auto* p = reinterpret_cast<uint32_t*>(target_.pixel(x0, y0));
  uint16_t* stamp = batch_ ? &stamps_[static_cast<size_t>(y0) * target_.width + x0] : nullptr;
  const LineWalk walk{std::max(dx, dy), dx, dy, sx, sy, rowStep, target_.width};
  if (extra == 0) {
    stamp ? walkLine<true>(walk, p, stamp, bgr, whitenings_) : walkLine<false>(walk, p, stamp, bgr, 0);
  } else {
    const int across = steep ? 1 : rowStep, stampAcross = steep ? 1 : target_.width;
    for (int k = 0; k <= extra; ++k)
      stamp ? walkLine<true>(walk, p + k * across, stamp + k * stampAcross, bgr, whitenings_)
            : walkLine<false>(walk, p + k * across, nullptr, bgr, 0);
  }
}

void Raster::drawSprite(int x, int y, PixelView sprite) {
  if (!target_.drawable() || !sprite.drawable()) return;
  const int from = std::max(0, -x), to = std::min(sprite.width, target_.width - x);
  for (int row = std::max(0, -y); row < sprite.height && y + row < target_.height; ++row) {
    const auto* s = reinterpret_cast<const uint32_t*>(sprite.pixel(0, row));
    auto* d = reinterpret_cast<uint32_t*>(target_.pixel(x, y + row));
    uint16_t* stamp = batch_ ? &stamps_[static_cast<size_t>(y + row) * target_.width + x] : nullptr;
    for (int col = from; col < to; ++col) {
      const uint32_t bgr = s[col] & 0xFFFFFFu;
      if (!bgr) continue;
      d[col] = (d[col] & 0xFF000000u) | bgr;
      if (stamp) stamp[col] = whitenings_;
    }
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
  const uint8_t* last = &table[static_cast<size_t>(whitenings_) * 256];
  for (int y = 0; y < target_.height; ++y) {
    uint8_t* p = target_.pixel(0, y);
    const uint16_t* stamp = &stamps_[static_cast<size_t>(y) * target_.width];
    for (int x = 0; x < target_.width; ++x, p += 4) {
      const uint8_t* t = last - static_cast<size_t>(stamp[x]) * 256;
      p[0] = t[p[0]];
      p[1] = t[p[1]];
      p[2] = t[p[2]];
    }
  }
}

}  // namespace game
