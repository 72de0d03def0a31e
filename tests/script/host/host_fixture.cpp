#include "tests/script/host/host_fixture.h"

#include "platform/rt/persistent.h"

namespace hosttest {

const rt::ClassInfo& HostArray::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<HostArray>("HostArray", &TJObject::StaticClassInfo()).build();
  return info;
}

void HostArray::PutMember(std::string_view name, const TJValue& value, bool bracket, TJValueList* param) {
  int32_t index;
  if (bracket && TextToInteger(name, index) && index == int32_t(texts.size())) {
    texts.push_back(AsString(&value));
    return;
  }
  TJObject::PutMember(name, value, bracket, param);
}

std::vector<std::string> Names(const TJValue& array) {
  auto* a = dynamic_cast<HostArray*>(array.vObject());
  return a ? a->texts : std::vector<std::string>{"<not an array>"};
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EJThrow& e) {
    return e.ErrorType + ":" + e.message();
  }
  return "none";
}

}  // namespace hosttest
