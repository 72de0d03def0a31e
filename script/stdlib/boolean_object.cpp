#include "script/stdlib/boolean_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace stdlib {

using namespace engine;

const rt::ClassInfo& TJBooleanObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<TJBooleanObject>("TJBooleanObject", &TJObject::StaticClassInfo())
                                     .property("bool", &TJBooleanObject::Bool, &TJBooleanObject::SetBool)
                                     .build();
    RegisterKnownClass(TJKnownClass::Boolean, built);
    return built;
  }();
  return info;
}

TJBooleanObject::TJBooleanObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Boolean");
  bool_ = IsParam1(param) && AsBool(&(*param)[0]);
}

std::string TJBooleanObject::ToString(const TJValue*) { return bool_ ? "true" : "false"; }
void TJBooleanObject::ValueOf(TJValue& value) { value.SetBool(bool_); }
double TJBooleanObject::ToNumber() { return bool_ ? 1 : 0; }
bool TJBooleanObject::ToBoolean() { return bool_; }
int32_t TJBooleanObject::ToChar() { return bool_ ? 1 : 0; }

}  // namespace stdlib
