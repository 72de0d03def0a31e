#include "script/host/point_object.h"

#include <charconv>

#include "platform/rt/persistent.h"
#include "regex/regexpr.h"

namespace host {

using namespace engine;

bool ReadCoordinateText(std::string text, std::initializer_list<const char*> names, int32_t* values) {
  std::erase(text, ' ');
  // Negative coordinates are read too, so that every text these objects write reads back.
  std::string pattern = "\\{";
  bool first = true;
  for (const char* name : names) {
    if (!first) pattern += "\\,";
    pattern += name;
    pattern += "\\:(-?[0-9]+)";
    first = false;
  }
  pattern += "\\}";
  regex::TRegExpr re;
  re.SetExpression(pattern);
  re.WriteModifier(1, true);  // i
  if (!re.Exec(text) || re.LastGroup() != int(names.size())) return false;
  for (size_t i = 0; i < names.size(); ++i) {
    std::string group = re.GroupText(int(i) + 1);
    int32_t v = 0;
    auto [end, ec] = std::from_chars(group.data(), group.data() + group.size(), v);
    values[i] = ec == std::errc() && end == group.data() + group.size() ? v : 0;
  }
  return true;
}

const rt::ClassInfo& TJPoint::StaticClassInfo() {
  using T = TJPoint;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJPoint", &TJObject::StaticClassInfo())
                                         .property("x", &T::X, &T::SetX)
                                         .property("y", &T::Y, &T::SetY)
                                         .property("point", &T::PointText, &T::SetPointText)
                                         .build();
  return info;
}

TJPoint::TJPoint(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) { RegistName("Point"); }

std::string TJPoint::PointText() const {
  return "{x:" + std::to_string(x_) + ",y:" + std::to_string(y_) + "}";
}

void TJPoint::SetPointText(std::string text) {
  int32_t v[2];
  if (!ReadCoordinateText(std::move(text), {"x", "y"}, v)) return;
  x_ = v[0];
  y_ = v[1];
}

TJPoint* NewPoint(TJBaseEngine* engine, const fw::TPoint& p) {
  auto* point = TJObject::Create<TJPoint>(engine);
  point->FromPoint(p);
  return point;
}

}  // namespace host
