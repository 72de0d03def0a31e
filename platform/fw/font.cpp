#include "platform/fw/font.h"

#include <QFont>
#include <cstdlib>

namespace fw {

const rt::IdentMap& CharsetIdents() {
  static const rt::IdentMap m("TFontCharset", {{"ANSI_CHARSET", 0},
                                               {"DEFAULT_CHARSET", 1},
                                               {"SYMBOL_CHARSET", 2},
                                               {"MAC_CHARSET", 77},
                                               {"SHIFTJIS_CHARSET", 128},
                                               {"HANGEUL_CHARSET", 129},
                                               {"JOHAB_CHARSET", 130},
                                               {"GB2312_CHARSET", 134},
                                               {"CHINESEBIG5_CHARSET", 136},
                                               {"GREEK_CHARSET", 161},
                                               {"TURKISH_CHARSET", 162},
                                               {"VIETNAMESE_CHARSET", 163},
                                               {"HEBREW_CHARSET", 177},
                                               {"ARABIC_CHARSET", 178},
                                               {"BALTIC_CHARSET", 186},
                                               {"RUSSIAN_CHARSET", 204},
                                               {"THAI_CHARSET", 222},
                                               {"EASTEUROPE_CHARSET", 238},
                                               {"OEM_CHARSET", 255}});
  return m;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t p = int64_t(a) * b;
  int64_t q = (std::llabs(p) + std::llabs(int64_t(c)) / 2) / std::llabs(int64_t(c));
  return int32_t(((p < 0) != (c < 0)) ? -q : q);
}

const rt::ClassInfo& TFont::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TFont>("TFont", &TPersistent::StaticClassInfo())
          .integer("Charset", CharsetIdents(), &TFont::Charset, &TFont::SetCharset)
          .integer("Color", ColorIdents(), &TFont::Color, &TFont::SetColor)
          .property("Height", &TFont::Height, &TFont::SetHeight)
          .property("Name", &TFont::Name, &TFont::SetName)
          .property("Pitch", &TFont::Pitch, &TFont::SetPitch)
          .defaultValue(fpDefault)
          .property("Size", &TFont::Size, &TFont::SetSize)
          .notStored()
          .property("Style", &TFont::Style, &TFont::SetStyle)
          .create([](TPersistent*) -> TPersistent* { return new TFont; })
          .build();
  return info;
}

TFont::TFont() = default;

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetCharset(TFontCharset c) {
  if (charset_ == c) return;
  charset_ = c;
  Changed();
}

void TFont::SetColor(TColor c) {
  if (color_ == c) return;
  color_ = c;
  Changed();
}

void TFont::SetHeight(int32_t h) {
  if (height_ == h) return;
  height_ = h;
  Changed();
}

void TFont::SetName(const std::string& n) {
  if (name_ == n || n.empty()) return;
  name_ = n;
  Changed();
}

void TFont::SetPitch(TFontPitch p) {
  if (pitch_ == p) return;
  pitch_ = p;
  Changed();
}

int32_t TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch()); }

void TFont::SetSize(int32_t points) { SetHeight(-MulDiv(points, PixelsPerInch(), 72)); }

void TFont::SetStyle(TFontStyles s) {
  if (style_ == s) return;
  style_ = s;
  Changed();
}

void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    if (SameAs(*f)) return;
    charset_ = f->charset_;
    color_ = f->color_;
    height_ = f->height_;
    name_ = f->name_;
    pitch_ = f->pitch_;
    style_ = f->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

bool TFont::SameAs(const TFont& o) const {
  return charset_ == o.charset_ && color_ == o.color_ && height_ == o.height_ && name_ == o.name_ &&
         pitch_ == o.pitch_ && style_ == o.style_;
}

QFont TFont::ToQFont() const {
  QFont f(QString::fromUtf8(name_.c_str()));
  // A negative height is the character height; a positive one the cell height, whose internal
  // leading is taken as a fifth.
  int pixels = height_ < 0 ? -height_ : height_ > 0 ? std::max(1, height_ * 4 / 5) : 12;
  f.setPixelSize(std::max(1, pixels));
  f.setBold(style_.has(fsBold));
  f.setItalic(style_.has(fsItalic));
  f.setUnderline(style_.has(fsUnderline));
  f.setStrikeOut(style_.has(fsStrikeOut));
  if (pitch_ == fpFixed) f.setFixedPitch(true);
  f.setStyleHint(pitch_ == fpFixed ? QFont::Monospace : QFont::SansSerif);
  return f;
}

}  // namespace fw
