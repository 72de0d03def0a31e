// Fonts: name, height in pixels (negative: the character height without internal leading),
// size in points at 96 pixels per inch, style, colour, character set and pitch.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/colors.h"
#include "platform/fw/events.h"
#include "platform/fw/object.h"

class QFont;

namespace fw {

FW_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
FW_SET(TFontStyles, TFontStyle)
FW_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
using TFontCharset = uint8_t;

inline constexpr TFontCharset ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, SHIFTJIS_CHARSET = 128,
                              OEM_CHARSET = 255;
const rt::IdentMap& CharsetIdents();

// The family new fonts use (a Japanese-capable one), and the height of new fonts.
inline constexpr const char* DefaultFontName = "IPAPGothic";
inline constexpr int32_t DefaultFontHeight = -12;

// a * b / c rounded to the nearest integer (halves away from zero).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

class TFont : public TPersistent {
  RT_CLASS(TFont)
 public:
  TFont();

  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset c);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t h);
  const std::string& Name() const { return name_; }
  void SetName(const std::string& n);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch p);
  int32_t Size() const;
  void SetSize(int32_t points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles s);
  int32_t PixelsPerInch() const { return 96; }

  void Assign(const TPersistent* source) override;
  bool SameAs(const TFont& other) const;
  // The Qt font with the same face, pixel size and style.
  QFont ToQFont() const;

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  TFontCharset charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int32_t height_ = DefaultFontHeight;
  std::string name_ = DefaultFontName;
  TFontPitch pitch_ = fpDefault;
  TFontStyles style_;
};

}  // namespace fw
