// The script value of a rectangle ("Rect"): `left`, `top`, `right`, `bottom`, the two corner
// points `topLeft` and `bottomRight` (the rectangle's own Point objects: changing one changes the
// rectangle), and `rect`, its text "{left:1,top:2,right:3,bottom:4}", which can be written back.
// Scripts cannot make one with `new`; the GUI bridge hands them out and reads them back:
//
//   engine::TJValue v;
//   v.SetObject(host::NewRect(engine, control->BoundsRect()));
//   ...
//   if (auto* r = dynamic_cast<host::TJRect*>(value.vObject())) bounds = r->ToRect();
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/types.h"
#include "script/core/object.h"
#include "script/host/point_object.h"

namespace host {

class TJRect : public engine::TJObject {
  RT_CLASS(TJRect)
 public:
  TJRect(engine::TJBaseEngine* engine, engine::TJValueList* param);

  int32_t Left() const { return topLeft_ ? topLeft_->X() : 0; }
  void SetLeft(int32_t v);
  int32_t Top() const { return topLeft_ ? topLeft_->Y() : 0; }
  void SetTop(int32_t v);
  int32_t Right() const { return bottomRight_ ? bottomRight_->X() : 0; }
  void SetRight(int32_t v);
  int32_t Bottom() const { return bottomRight_ ? bottomRight_->Y() : 0; }
  void SetBottom(int32_t v);
  // The owned corner points. Writing one copies the given object's `x` and `y` (read in that
  // order; a missing member raises "EKeyError"); null changes nothing.
  engine::TJObject* TopLeft() const { return topLeft_.get(); }
  void SetTopLeft(engine::TJObject* from);
  engine::TJObject* BottomRight() const { return bottomRight_.get(); }
  void SetBottomRight(engine::TJObject* from);
  // "{left:%d,top:%d,right:%d,bottom:%d}".
  std::string RectText() const;
  // Takes the four values from the first "{left:N,top:N,right:N,bottom:N}" in the text (blanks
  // removed, case ignored; N may have a minus sign); a text without one changes nothing.
  void SetRectText(std::string text);

  void FromRect(const fw::TRect& r);
  fw::TRect ToRect() const { return {Left(), Top(), Right(), Bottom()}; }

  void Dispose() override;
  std::string ToString(const engine::TJValue* argument) override { return RectText(); }

 private:
  static void copyPoint(TJPoint* to, engine::TJObject* from);

  engine::TJRef<TJPoint> topLeft_;
  engine::TJRef<TJPoint> bottomRight_;
};

TJRect* NewRect(engine::TJBaseEngine* engine, const fw::TRect& r);

}  // namespace host
