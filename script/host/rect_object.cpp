#include "script/host/rect_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJRect::StaticClassInfo() {
  using T = TJRect;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJRect", &TJObject::StaticClassInfo())
                                         .property("left", &T::Left, &T::SetLeft)
                                         .property("top", &T::Top, &T::SetTop)
                                         .property("right", &T::Right, &T::SetRight)
                                         .property("bottom", &T::Bottom, &T::SetBottom)
                                         .property("topLeft", &T::TopLeft, &T::SetTopLeft)
                                         .property("bottomRight", &T::BottomRight, &T::SetBottomRight)
                                         .property("rect", &T::RectText, &T::SetRectText)
                                         .build();
  return info;
}

TJRect::TJRect(TJBaseEngine* engine, TJValueList* param)
    : TJObject(engine, param),
      topLeft_(TJObject::Create<TJPoint>(engine)),
      bottomRight_(TJObject::Create<TJPoint>(engine)) {
  RegistName("Rect");
}

void TJRect::Dispose() {
  topLeft_.reset();
  bottomRight_.reset();
  TJObject::Dispose();
}

void TJRect::SetLeft(int32_t v) { if (topLeft_) topLeft_->SetX(v); }
void TJRect::SetTop(int32_t v) { if (topLeft_) topLeft_->SetY(v); }
void TJRect::SetRight(int32_t v) { if (bottomRight_) bottomRight_->SetX(v); }
void TJRect::SetBottom(int32_t v) { if (bottomRight_) bottomRight_->SetY(v); }

// x is stored before y is read, so an object without y leaves x changed when the error comes.
void TJRect::copyPoint(TJPoint* to, TJObject* from) {
  if (!to || !from) return;
  TJKeepAlive keep(from);
  TJValue v;
  from->GetMember("x", true, nullptr, v);
  to->SetX(AsInteger(&v));
  from->GetMember("y", true, nullptr, v);
  to->SetY(AsInteger(&v));
}

void TJRect::SetTopLeft(TJObject* from) { copyPoint(topLeft_.get(), from); }
void TJRect::SetBottomRight(TJObject* from) { copyPoint(bottomRight_.get(), from); }

std::string TJRect::RectText() const {
  return "{left:" + std::to_string(Left()) + ",top:" + std::to_string(Top()) + ",right:" + std::to_string(Right()) +
         ",bottom:" + std::to_string(Bottom()) + "}";
}

void TJRect::SetRectText(std::string text) {
  int32_t v[4];
  if (!ReadCoordinateText(std::move(text), {"left", "top", "right", "bottom"}, v)) return;
  SetLeft(v[0]);
  SetTop(v[1]);
  SetRight(v[2]);
  SetBottom(v[3]);
}

void TJRect::FromRect(const fw::TRect& r) {
  SetLeft(r.Left);
  SetTop(r.Top);
  SetRight(r.Right);
  SetBottom(r.Bottom);
}

TJRect* NewRect(TJBaseEngine* engine, const fw::TRect& r) {
  auto* rect = TJObject::Create<TJRect>(engine);
  rect->FromRect(r);
  return rect;
}

}  // namespace host
