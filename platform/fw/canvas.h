// The drawing surface of bitmaps, forms and images: a pen, a brush and a font that keep their
// state between calls, a pen position, and the drawing operations, all over a 32-bit image (blue,
// green, red, and a fourth byte) that the owner provides. Shapes are drawn without anti-aliasing;
// right and bottom edges of rectangles are exclusive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fw/brush.h"
#include "platform/fw/colors.h"
#include "platform/fw/events.h"
#include "platform/fw/font.h"
#include "platform/fw/object.h"
#include "platform/fw/pen.h"
#include "platform/fw/types.h"

class QImage;
class QPainter;

namespace fw {

class TGraphic;

using TCopyMode = int32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009, cmMergeCopy = 0x00C000CA,
                           cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008, cmNotSrcErase = 0x001100A6,
                           cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049, cmPatPaint = 0x00FB0A09,
                           cmSrcAnd = 0x008800C6, cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328,
                           cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086, cmWhiteness = 0x00FF0062;

class TCanvas : public TPersistent {
  RT_CLASS(TCanvas)
 public:
  TCanvas();
  ~TCanvas() override;

  // The image drawn on; null when the canvas has nothing to draw on (drawing then raises
  // EInvalidOperation "Canvas does not allow drawing").
  QImage* Surface() const { return surface_; }
  void SetSurface(QImage* surface) { surface_ = surface; }
  bool HandleAllocated() const { return surface_ != nullptr; }

  TFont* Font() const { return font_; }
  void SetFont(TFont* font) { font_->Assign(font); }
  TPen* Pen() const { return pen_; }
  void SetPen(TPen* pen) { pen_->Assign(pen); }
  TBrush* Brush() const { return brush_; }
  void SetBrush(TBrush* brush) { brush_->Assign(brush); }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { penPos_ = p; }
  TRect ClipRect() const;

  void MoveTo(int32_t x, int32_t y) { penPos_ = {x, y}; }
  void LineTo(int32_t x, int32_t y);
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h);
  void Polygon(const std::vector<TPoint>& points);
  void Polyline(const std::vector<TPoint>& points);
  void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);
  void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4);

  // Text with its top-left corner at (x, y), in the font's colour; a brush that is not clear fills
  // the text's cell first. The pen position moves to the end of the text.
  void TextOut(int32_t x, int32_t y, std::string_view text);
  // Text clipped to `r`.
  void TextRect(const TRect& r, int32_t x, int32_t y, std::string_view text);
  TSize TextExtent(std::string_view text) const;
  int32_t TextWidth(std::string_view text) const { return TextExtent(text).cx; }
  int32_t TextHeight(std::string_view text) const { return TextExtent(text).cy; }

  void Draw(int32_t x, int32_t y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // Copies `sourceRect` of `source` into `dest` of this canvas with the copy mode.
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

  TColor Pixel(int32_t x, int32_t y) const;
  void SetPixel(int32_t x, int32_t y, TColor color);

  void Lock() {}
  void Unlock() {}
  void Refresh() {}

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // Opens a painter on the surface with the canvas's pen and brush (used by the operations; the
  // graphics of this layer use it to draw themselves).
  void BeginPaint(QPainter& painter, bool usePen = true, bool useBrush = true);
  void Changing();
  void Changed();

 private:
  QImage& RequireSurface() const;

  QImage* surface_ = nullptr;
  TFont* font_;
  TPen* pen_;
  TBrush* brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  TPoint penPos_;
};

// Copies a w x h block of `source` at (sx, sy) to `dest` at (x, y) with the raster operation
// (cmSrcCopy, cmSrcAnd, cmSrcPaint, cmSrcInvert, cmBlackness, cmWhiteness, cmDstInvert ...).
void BitBlt(TCanvas& dest, int32_t x, int32_t y, int32_t w, int32_t h, TCanvas& source, int32_t sx, int32_t sy,
            TCopyMode rop = cmSrcCopy);

// TColor <-> the 0xAARRGGBB pixel value of 32-bit images (alpha 0xFF).
uint32_t ColorToPixel(TColor color);
TColor PixelToColor(uint32_t pixel);

}  // namespace fw
