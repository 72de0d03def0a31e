// TABitmap: a bitmap that is always kept at 32 bits per pixel, with the game's pixel routines
// (game/pixels.h) and its anti-aliased text.
#pragma once

#include <cstdint>
#include <string>

#include "game/pixels.h"
#include "platform/fw/bitmap.h"
#include "platform/fw/font.h"

namespace game {

class TABitmap : public fw::TBitmap {
  RT_CLASS(TABitmap)
 public:
  TABitmap();

  // Loading, assigning or resizing always ends with a 32-bit picture.
  void SetSize(int32_t width, int32_t height) override;
  void SetPixelFormat(fw::TPixelFormat format) override;
  void Assign(const rt::TPersistent* source) override;
  void LoadFromStream(fw::TStream& stream) override;
  void LoadFromFile(const std::string& fileName) override;

  // True when the width is above 0; every routine below does nothing on a bitmap that is not.
  bool IsDrawable() const { return Width() > 0 && Height() > 0; }
  PixelView Pixels();

  void FillColor(uint8_t blue, uint8_t green, uint8_t red);
  void BlendRectColor(int x, int y, int width, int height, fw::TColor color, int alpha);
  void BlendRectColorMMX(int x, int y, int width, int height, fw::TColor color, int alpha);
  void BlendDrawKeyed(int destX, int destY, int width, int height, int srcX, int srcY, TABitmap& dest,
                      fw::TColor keyColor, int alpha);
  // Text at (x, y) in the font's colour: drawn black on white at twice the font's size, then
  // shrunk two by two into the picture.
  void DrawSmoothText(int x, int y, const std::string& text, const fw::TFont& font);
  void Grayscale();

 private:
  void force32();
};

}  // namespace game
