#include "tools/make-assets/sprites.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace assets {

void Sprite::set(int x, int y, Rgb c) {
  if (x >= 0 && x < kSize && y >= 0 && y < kSize) pixels_[y * kSize + x] = c;
}

void Sprite::rect(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) set(i, j, c);
}

void Sprite::polygon(std::initializer_list<Point> points, Rgb c) {
  std::vector<Point> p(points);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double px = x + 0.5, py = y + 0.5;
      bool inside = false;
      for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > py) != (p[j].y > py) &&
            px < (p[j].x - p[i].x) * (py - p[i].y) / (p[j].y - p[i].y) + p[i].x)
          inside = !inside;
      }
      if (inside) set(x, y, c);
    }
  }
}

static uint8_t mix(uint8_t a, uint8_t b, double t) {
  return static_cast<uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
}

void Sprite::shadedDisc(double cx, double cy, double r, Rgb light, Rgb dark) {
  double hx = cx - r * 0.4, hy = cy - r * 0.4;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double px = x + 0.5, py = y + 0.5;
      if (std::hypot(px - cx, py - cy) > r) continue;
      double t = std::hypot(px - hx, py - hy) / (r * 1.4);
      set(x, y, {mix(light.r, dark.r, t), mix(light.g, dark.g, t), mix(light.b, dark.b, t)});
    }
  }
}

void Sprite::ring(double cx, double cy, double inner, double outer, Rgb c) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (d >= inner && d <= outer) set(x, y, c);
    }
  }
}

void Sprite::line(double x0, double y0, double x1, double y1, Rgb c) {
  int steps = static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))) + 1;
  for (int i = 0; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps;
    set(static_cast<int>(std::floor(x0 + (x1 - x0) * t)), static_cast<int>(std::floor(y0 + (y1 - y0) * t)), c);
  }
}

void Sprite::finish() {
  for (auto& p : pixels_)
    if (std::max({p.r, p.g, p.b}) < 16) p = {};
  set(0, kSize - 1, {});
}

Bytes Sprite::toBmp() const {
  const uint32_t rowBytes = kSize * 3;  // 60: already a multiple of four
  const uint32_t imageBytes = rowBytes * kSize;
  Bytes b;
  b.text("BM");
  b.u32le(14 + 40 + imageBytes);
  b.u32le(0);
  b.u32le(14 + 40);
  b.u32le(40);
  b.u32le(kSize);
  b.u32le(kSize);  // positive height: rows stored bottom-up
  b.u16le(1);
  b.u16le(24);
  b.u32le(0);  // BI_RGB
  b.u32le(imageBytes);
  b.u32le(2835);  // 72 dpi
  b.u32le(2835);
  b.u32le(0);
  b.u32le(0);
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      Rgb p = at(x, y);
      b.u8(p.b);
      b.u8(p.g);
      b.u8(p.r);
    }
  }
  return b;
}

namespace {

// The player's ship, nose up; its two guns sit where the shots leave (x + 6 and x + 14).
Sprite player() {
  Sprite s;
  s.polygon({{2, 16}, {7, 9}, {13, 9}, {18, 16}, {13, 14}, {7, 14}}, {40, 90, 210});      // wings
  s.polygon({{10, 1}, {13.5, 10}, {13, 17}, {7, 17}, {6.5, 10}}, {200, 215, 235});         // hull
  s.polygon({{10, 5}, {11.8, 10}, {10, 12}, {8.2, 10}}, {60, 200, 255});                  // canopy
  s.rect(10, 6, 1, 2, {220, 250, 255});
  s.rect(7, 5, 2, 7, {150, 160, 185});                                                        // guns
  s.rect(15, 5, 2, 7, {150, 160, 185});
  s.rect(7, 4, 2, 1, {255, 220, 120});
  s.rect(15, 4, 2, 1, {255, 220, 120});
  s.rect(8, 17, 4, 1, {255, 110, 50});                                                        // engine
  s.rect(9, 18, 2, 1, {255, 220, 90});
  s.line(3, 15, 7, 10, {120, 170, 255});
  s.line(17, 15, 13, 10, {120, 170, 255});
  return s;
}

// Kind 0, the item: a green orb with a white cross, plainly something to pick up.
Sprite item() {
  Sprite s;
  s.ring(10, 10, 8.2, 9.6, {40, 140, 70});
  s.shadedDisc(10, 10, 8, {190, 255, 200}, {20, 130, 60});
  s.rect(8, 4, 4, 12, {255, 255, 255});
  s.rect(4, 8, 12, 4, {255, 255, 255});
  s.rect(9, 5, 2, 10, {255, 250, 200});
  s.rect(5, 9, 10, 2, {255, 250, 200});
  return s;
}

// Kind 1: a red dart pointing down, its yellow eye the source of the aimed bolts.
Sprite dart() {
  Sprite s;
  s.polygon({{1, 2}, {10, 6}, {19, 2}, {13, 12}, {10, 19}, {7, 12}}, {200, 30, 40});
  s.polygon({{4, 4}, {10, 7}, {16, 4}, {12, 10}, {10, 15}, {8, 10}}, {255, 80, 70});
  s.shadedDisc(10, 10, 2.6, {255, 255, 160}, {230, 150, 0});
  s.line(1, 2, 6, 4, {255, 150, 140});
  s.line(19, 2, 14, 4, {255, 150, 140});
  return s;
}

// Kind 2: a green jellyfish whose bell bursts into slow bullets.
Sprite jelly() {
  Sprite s;
  for (int x : {4, 7, 10, 13, 16}) s.line(x - 0.5, 10, x + (x % 2 ? 1 : -1), 19, {90, 220, 130});
  s.shadedDisc(10, 9, 8, {200, 255, 210}, {30, 150, 70});
  s.rect(2, 10, 16, 1, {60, 190, 100});
  s.shadedDisc(7, 7, 1.6, {255, 255, 255}, {150, 255, 200});
  s.shadedDisc(13, 7, 1.6, {255, 255, 255}, {150, 255, 200});
  for (int x = 0; x < Sprite::kSize; ++x)
    for (int y = 11; y < Sprite::kSize; ++y)
      if (s.at(x, y).g > 200 && s.at(x, y).r > 150) s.set(x, y, {90, 220, 130});
  return s;
}

// Kind 3: an orange hexagonal turret with its gun pointing down.
Sprite turret() {
  Sprite s;
  s.polygon({{5, 1}, {15, 1}, {19.5, 10}, {15, 19}, {5, 19}, {0.5, 10}}, {190, 110, 20});
  s.polygon({{6, 3}, {14, 3}, {17.5, 10}, {14, 17}, {6, 17}, {2.5, 10}}, {255, 190, 60});
  s.ring(10, 10, 3.2, 5, {140, 70, 10});
  s.shadedDisc(10, 10, 3.2, {255, 255, 200}, {255, 140, 30});
  s.rect(9, 14, 2, 6, {120, 120, 140});
  s.rect(9, 19, 2, 1, {255, 240, 120});
  return s;
}

// Kind 4: a violet four-bladed spinner that sprays turning bullets.
Sprite spinner() {
  Sprite s;
  s.polygon({{10, 0.5}, {12.5, 7.5}, {19.5, 10}, {12.5, 12.5}, {10, 19.5}, {7.5, 12.5}, {0.5, 10}, {7.5, 7.5}},
            {150, 60, 220});
  s.polygon({{3, 3}, {10.5, 8}, {17, 3}, {12, 10.5}, {17, 17}, {9.5, 12}, {3, 17}, {8, 9.5}}, {220, 120, 255});
  s.shadedDisc(10, 10, 3.5, {255, 230, 255}, {180, 60, 230});
  s.set(9, 9, {255, 255, 255});
  return s;
}

// Kind 5: a cyan crystal that bursts into ten bullets.
Sprite crystal() {
  Sprite s;
  s.polygon({{10, 0.5}, {19, 10}, {10, 19.5}, {1, 10}}, {20, 140, 200});
  s.polygon({{10, 3}, {16.5, 10}, {10, 17}, {3.5, 10}}, {80, 220, 255});
  s.polygon({{10, 3}, {10, 17}, {3.5, 10}}, {150, 240, 255});
  s.polygon({{10, 6.5}, {13.5, 10}, {10, 13.5}, {6.5, 10}}, {230, 255, 255});
  s.line(10, 0.5, 10, 19, {200, 250, 255});
  return s;
}

}  // namespace

Sprite makeSprite(const std::string& fileName) {
  Sprite s;
  if (fileName == "my.bmp") s = player();
  else if (fileName == "e1.bmp") s = item();
  else if (fileName == "e2.bmp") s = dart();
  else if (fileName == "e3.bmp") s = jelly();
  else if (fileName == "e4.bmp") s = turret();
  else if (fileName == "e0.bmp") s = spinner();
  else if (fileName == "e5.bmp") s = crystal();
  else throw std::invalid_argument("no sprite named " + fileName);
  s.finish();
  return s;
}

}  // namespace assets
