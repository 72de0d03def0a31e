#include "script/gui/values.h"

#include "script/core/base_engine.h"
#include "script/host/point_object.h"
#include "script/host/rect_object.h"
#include "script/host/strings_object.h"
#include "script/core/value_list.h"

namespace gui {

using namespace engine;

TJObject* NewPoint(TJBaseEngine* engine, fw::TPoint p) { return host::NewPoint(engine, p); }

void SetPoint(TJObject* point, fw::TPoint p) {
  if (auto* pt = dynamic_cast<host::TJPoint*>(point)) pt->FromPoint(p);
}

TJObject* NewRect(TJBaseEngine* engine, const fw::TRect& r) { return host::NewRect(engine, r); }

fw::TRect RectOf(TJObject* rect, const fw::TRect& fallback) {
  auto* r = dynamic_cast<host::TJRect*>(rect);
  return r ? r->ToRect() : fallback;
}

TJObject* NewStringsCopy(TJBaseEngine* engine, const std::vector<std::string>& texts) {
  return host::NewStringsObject(engine, texts);
}

bool ReadPoint(const TJValue& value, fw::TPoint& p) {
  TJObject* object = value.vObject();
  if (!object) return false;
  TJValue x, y;
  object->GetMember("x", true, nullptr, x);
  object->GetMember("y", true, nullptr, y);
  p = {AsInteger(&x), AsInteger(&y)};
  return true;
}

}  // namespace gui
