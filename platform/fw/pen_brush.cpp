#include "platform/fw/brush.h"
#include "platform/fw/pen.h"

namespace fw {

const rt::ClassInfo& TPen::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TPen>("TPen", &TPersistent::StaticClassInfo())
                                         .integer("Color", ColorIdents(), &TPen::Color, &TPen::SetColor)
                                         .defaultValue(clBlack)
                                         .property("Mode", &TPen::Mode, &TPen::SetMode)
                                         .defaultValue(pmCopy)
                                         .property("Style", &TPen::Style, &TPen::SetStyle)
                                         .defaultValue(psSolid)
                                         .property("Width", &TPen::Width, &TPen::SetWidth)
                                         .defaultValue(1)
                                         .create([](TPersistent*) -> TPersistent* { return new TPen; })
                                         .build();
  return info;
}

void TPen::SetColor(TColor c) {
  if (color_ == c) return;
  color_ = c;
  Changed();
}

void TPen::SetMode(TPenMode m) {
  if (mode_ == m) return;
  mode_ = m;
  Changed();
}

void TPen::SetStyle(TPenStyle s) {
  if (style_ == s) return;
  style_ = s;
  Changed();
}

void TPen::SetWidth(int32_t w) {
  if (w < 0) w = 0;
  if (width_ == w) return;
  width_ = w;
  Changed();
}

void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    color_ = p->color_;
    mode_ = p->mode_;
    style_ = p->style_;
    width_ = p->width_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

const rt::ClassInfo& TBrush::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TBrush>("TBrush", &TPersistent::StaticClassInfo())
                                         .integer("Color", ColorIdents(), &TBrush::Color, &TBrush::SetColor)
                                         .defaultValue(clWhite)
                                         .property("Style", &TBrush::Style, &TBrush::SetStyle)
                                         .defaultValue(bsSolid)
                                         .create([](TPersistent*) -> TPersistent* { return new TBrush; })
                                         .build();
  return info;
}

void TBrush::SetColor(TColor c) {
  if (color_ == c && style_ != bsClear) return;
  color_ = c;
  // A colour makes a clear brush solid again.
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle s) {
  if (style_ == s) return;
  style_ = s;
  Changed();
}

void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    color_ = b->color_;
    style_ = b->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace fw
