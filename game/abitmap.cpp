#include "game/abitmap.h"

#include <list>
#include <tuple>
#include <utility>

#include "platform/fw/canvas.h"
#include "platform/fw/colors.h"

namespace game {

const rt::ClassInfo& TABitmap::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TABitmap>("TABitmap", &fw::TBitmap::StaticClassInfo())
                                         .create([](rt::TPersistent*) -> rt::TPersistent* { return new TABitmap; })
                                         .build();
  return info;
}

TABitmap::TABitmap() { force32(); }

void TABitmap::force32() {
  if (PixelFormat() != fw::pf32bit) fw::TBitmap::SetPixelFormat(fw::pf32bit);
}

void TABitmap::SetSize(int32_t width, int32_t height) {
  force32();
  fw::TBitmap::SetSize(width, height);
}

void TABitmap::SetPixelFormat(fw::TPixelFormat) { force32(); }

void TABitmap::Assign(const rt::TPersistent* source) {
  fw::TBitmap::Assign(source);
  fw::TBitmap::SetPixelFormat(fw::pf32bit);
}

void TABitmap::LoadFromStream(fw::TStream& stream) {
  fw::TBitmap::LoadFromStream(stream);
  fw::TBitmap::SetPixelFormat(fw::pf32bit);
}

void TABitmap::LoadFromFile(const std::string& fileName) {
  fw::TBitmap::LoadFromFile(fileName);
  fw::TBitmap::SetPixelFormat(fw::pf32bit);
}

PixelView TABitmap::Pixels() {
  if (!IsDrawable()) return {};
  QImage& image = Image();
  return {image.bits(), static_cast<int>(image.bytesPerLine()), Width(), Height()};
}

void TABitmap::FillColor(uint8_t blue, uint8_t green, uint8_t red) { game::FillColor(Pixels(), blue, green, red); }

void TABitmap::BlendRectColor(int x, int y, int width, int height, fw::TColor color, int alpha) {
  game::BlendRectColor(Pixels(), x, y, width, height, fw::ColorToRGB(color), alpha);
}

void TABitmap::BlendRectColorMMX(int x, int y, int width, int height, fw::TColor color, int alpha) {
  game::BlendRectColorMMX(Pixels(), x, y, width, height, fw::ColorToRGB(color), alpha);
}

void TABitmap::BlendDrawKeyed(int destX, int destY, int width, int height, int srcX, int srcY, TABitmap& dest,
                              fw::TColor keyColor, int alpha) {
  game::BlendDrawKeyed(Pixels(), destX, destY, width, height, srcX, srcY, dest.Pixels(), fw::ColorToRGB(keyColor),
                       alpha);
}

void TABitmap::Grayscale() { game::Grayscale(Pixels()); }

namespace {

// The ink of a text: drawn black on white at twice the size, 2 (w div 2) + 1 by 2 (h div 2) + 1
// pixels. The game draws the same few texts every frame, so the most recent ones are kept.
struct Ink {
  std::string text, fontName;
  int32_t height;
  uint32_t style;
  fw::TBitmap picture;
  int halfWidth = 0, halfHeight = 0;
};

Ink& inkFor(const std::string& text, const fw::TFont& font) {
  static std::list<Ink> recent;
  const auto key = std::make_tuple(text, font.Name(), font.Height(), font.Style().bits);
  for (auto it = recent.begin(); it != recent.end(); ++it) {
    if (std::make_tuple(it->text, it->fontName, it->height, it->style) == key) {
      recent.splice(recent.begin(), recent, it);
      return recent.front();
    }
  }
  if (recent.size() >= 16) recent.pop_back();
  recent.emplace_front();
  Ink& ink = recent.front();
  ink.text = text;
  ink.fontName = font.Name();
  ink.height = font.Height();
  ink.style = font.Style().bits;
  fw::TCanvas* canvas = ink.picture.Canvas();
  canvas->Font()->SetName(font.Name());
  canvas->Font()->SetStyle(font.Style());
  canvas->Font()->SetSize(font.Size() * 2);
  canvas->Font()->SetColor(fw::clBlack);
  fw::TSize extent = canvas->TextExtent(text);
  ink.halfWidth = extent.cx / 2;
  ink.halfHeight = extent.cy / 2;
  ink.picture.SetPixelFormat(fw::pf32bit);
  ink.picture.SetSize(2 * ink.halfWidth + 1, 2 * ink.halfHeight + 1);  // new pixels are white
  canvas->Brush()->SetStyle(fw::bsClear);
  canvas->TextOut(0, 0, text);
  return ink;
}

}  // namespace

void TABitmap::DrawSmoothText(int x, int y, const std::string& text, const fw::TFont& font) {
  if (!IsDrawable() || text.empty()) return;
  Ink& ink = inkFor(text, font);
  QImage& image = ink.picture.Image();
  PixelView inkView{image.bits(), static_cast<int>(image.bytesPerLine()), ink.picture.Width(), ink.picture.Height()};
  BlendTextInk(Pixels(), x, y, ink.halfWidth, ink.halfHeight, inkView, fw::ColorToRGB(font.Color()));
}

}  // namespace game
