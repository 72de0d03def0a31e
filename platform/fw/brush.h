// The brush a canvas fills areas with.
#pragma once

#include "platform/fw/colors.h"
#include "platform/fw/events.h"
#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

class TBrush : public TPersistent {
  RT_CLASS(TBrush)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle s);
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

}  // namespace fw
