#include "script/host/request_object.h"

#include "platform/rt/persistent.h"
#include "script/host/header_text.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJRequestObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJRequestObject>("TJRequestObject", &TJObject::StaticClassInfo()).build();
  return info;
}

TJRequestObject::TJRequestObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Request");
}

void TJRequestObject::GetHeaderNames(std::vector<std::string>& names) {
  GetMemberNames(names, TypeBit(vtString), 0);
}

void TJRequestObject::GetPropertyList(std::vector<std::string>& names) { GetHeaderNames(names); }

std::string TJRequestObject::ToString(const TJValue*) { return HeaderFieldsText(*this, {}); }

}  // namespace host
