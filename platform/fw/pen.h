// The pen a canvas draws lines and outlines with.
#pragma once

#include <cstdint>

#include "platform/fw/colors.h"
#include "platform/fw/events.h"
#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
FW_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
        pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

class TPen : public TPersistent {
  RT_CLASS(TPen)
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode m);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle s);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t w);
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TColor color_ = clBlack;
  TPenMode mode_ = pmCopy;
  TPenStyle style_ = psSolid;
  int32_t width_ = 1;
};

}  // namespace fw
