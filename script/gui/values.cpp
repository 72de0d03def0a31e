#include "script/gui/values.h"

#include "script/core/base_engine.h"
#include "script/core/factory.h"
#include "script/core/value_list.h"

namespace gui {

using namespace engine;

namespace {

// An object of a registered script class, or a plain object when the engine has none of it.
TJObject* newOf(TJBaseEngine* engine, std::string_view className) {
  if (engine) {
    if (const TJClass* cls = engine->Factory().GetClass(className)) return cls->create(engine, nullptr, true);
  }
  return TJObject::Create<TJObject>(engine, nullptr, engine != nullptr);
}

void put(TJObject* object, std::string_view name, int32_t v) { object->PutMember(name, TJValue::Integer(v), false, nullptr); }

int32_t get(TJObject* object, std::string_view name, int32_t fallback) {
  TJValue v;
  if (!object->GetValue(name, v, nullptr)) return fallback;
  return AsInteger(&v);
}

}  // namespace

TJObject* NewPoint(TJBaseEngine* engine, fw::TPoint p) {
  TJObject* point = newOf(engine, "Point");
  SetPoint(point, p);
  return point;
}

void SetPoint(TJObject* point, fw::TPoint p) {
  TJKeepAlive keep(point);
  put(point, "x", p.X);
  put(point, "y", p.Y);
}

TJObject* NewRect(TJBaseEngine* engine, const fw::TRect& r) {
  TJObject* rect = newOf(engine, "Rect");
  TJKeepAlive keep(rect);
  put(rect, "left", r.Left);
  put(rect, "top", r.Top);
  put(rect, "right", r.Right);
  put(rect, "bottom", r.Bottom);
  return rect;
}

fw::TRect RectOf(TJObject* rect, const fw::TRect& fallback) {
  if (!rect) return fallback;
  return {get(rect, "left", fallback.Left), get(rect, "top", fallback.Top), get(rect, "right", fallback.Right),
          get(rect, "bottom", fallback.Bottom)};
}

TJObject* NewStringsCopy(TJBaseEngine* engine, const std::vector<std::string>& texts) {
  TJObject* list = newOf(engine, "Strings");
  TJKeepAlive keep(list);
  TJValue add;
  if (list->GetValue("add", add, nullptr) && engine) {
    for (const std::string& t : texts) {
      TJValueList args;
      args.AddString(t);
      TJValue ignored;
      engine->CallHandler(add, &args, ignored, list);
    }
    return list;
  }
  for (size_t i = 0; i < texts.size(); ++i) list->PutMember(std::to_string(i), TJValue::String(texts[i]), true, nullptr);
  put(list, "count", int32_t(texts.size()));
  return list;
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
