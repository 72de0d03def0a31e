#include "platform/fw/panel.h"

#include <algorithm>

#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TPanel::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TPanel>("TPanel", &TWinControl::StaticClassInfo())
          .property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).defaultValue(taCenter)
          .property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).defaultValue(bvNone)
          .property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).defaultValue(bvRaised)
          .property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).defaultValue(1)
          .property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle)
          .defaultValue(int(TBorderStyle::bsNone))
          .property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).defaultValue(0)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("FullRepaint", &TPanel::FullRepaint, &TPanel::SetFullRepaint).defaultValue(true)
          .property("Locked", &TPanel::Locked, &TPanel::SetLocked).defaultValue(false)
          .event("OnCanResize", CanResizeEventType(), &TControl::OnCanResize)
          .event("OnConstrainedResize", ConstrainedResizeEventType(), &TControl::OnConstrainedResize)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TPanel(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

TRect TPanel::AlignRect() const {
  int32_t inset = borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0) +
                  (borderStyle_ == TBorderStyle::bsSingle ? 1 : 0);
  TRect r = ClientRect();
  r = {r.Left + inset, r.Top + inset, std::max(r.Left + inset, r.Right - inset), std::max(r.Top + inset, r.Bottom - inset)};
  return r;
}

void TPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut b) {
  bevelInner_ = b;
  Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut b) {
  bevelOuter_ = b;
  Invalidate();
}

void TPanel::SetBevelWidth(int32_t w) {
  bevelWidth_ = std::max(1, w);
  Invalidate();
}

void TPanel::SetBorderWidth(int32_t w) {
  borderWidth_ = std::max(0, w);
  Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle s) {
  borderStyle_ = s;
  Invalidate();
}

}  // namespace fw
