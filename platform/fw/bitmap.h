// Bitmaps over a QImage. 32-bit bitmaps (and the default device format) are QImage RGB32: four
// bytes per pixel in the order blue, green, red and a fourth byte; 24-bit ones are three bytes in
// the order blue, green, red. Rows are addressed top-down through ScanLine. New pixels are white.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "platform/fw/canvas.h"
#include "platform/fw/colors.h"
#include "platform/fw/graphic.h"

namespace fw {

FW_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom)
FW_ENUM(TTransparentMode, tmAuto, tmFixed)

class TBitmap : public TGraphic {
  RT_CLASS(TBitmap)
 public:
  TBitmap();
  ~TBitmap() override;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int32_t Width() const override { return width_; }
  void SetWidth(int32_t width) override { SetSize(width, Height()); }
  int32_t Height() const override { return height_; }
  void SetHeight(int32_t height) override { SetSize(Width(), height); }
  // Keeps the old pixels at the top left; new ones are white.
  virtual void SetSize(int32_t width, int32_t height);

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  virtual void SetPixelFormat(TPixelFormat format);
  // Row `row` (0 at the top); raises EInvalidGraphicOperation "Scan line index out of range".
  uint8_t* ScanLine(int32_t row);
  const uint8_t* ScanLine(int32_t row) const;

  TCanvas* Canvas();
  bool HandleAllocated() const { return !image_.isNull(); }
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  // BMP file bytes.
  void LoadFromBytes(const std::string& bytes);
  std::string SaveToBytes() const;
  // Any picture Qt decodes (BMP, PNG, JPEG, GIF, ICO): the pixels become a 32-bit bitmap.
  void LoadFromImage(const QImage& image);

  void Assign(const TPersistent* source) override;
  void Draw(TCanvas& canvas, const TRect& rect) override;
  QImage ToImage() const override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) override;

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

 private:
  static QImage::Format QtFormat(TPixelFormat format);
  void SetImage(QImage image);
  QImage image_;
  int32_t width_ = 0, height_ = 0;
  TPixelFormat pixelFormat_ = pfDevice;
  TCanvas* canvas_ = nullptr;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
};

}  // namespace fw
