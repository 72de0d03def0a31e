// Panels: a window control with bevels and a centred caption, holding other controls.
#pragma once

#include "platform/fw/control.h"
#include "platform/fw/form.h"

namespace fw {

FW_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

class TPanel : public TWinControl {
  RT_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut b);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b);
  int32_t BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int32_t w);
  int32_t BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int32_t w);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  // Inside the border and the bevels.
  TRect AlignRect() const override;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone, bevelOuter_ = bvRaised;
  int32_t bevelWidth_ = 1, borderWidth_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
  bool fullRepaint_ = true, locked_ = false;
};

}  // namespace fw
