#include "script/core/prototype.h"

#include "script/core/hash.h"

namespace engine {

const rt::ClassInfo& TJPrototypeObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJPrototypeObject>("TJPrototypeObject", &TJObject::StaticClassInfo()).build();
  return info;
}

TJPrototypeObject::TJPrototypeObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Prototype");
}

TJPrototypeObject::~TJPrototypeObject() = default;

TJObject* TJPrototypeObject::GetTarget() {
  TJObject* r = replacement_.get();
  return r && !r->IsDisposed() ? r : this;
}

void TJPrototypeObject::SetReplacement(TJObject* object) { replacement_ = TJRef<TJObject>(object); }

void TJPrototypeObject::GetPropertyList(std::vector<std::string>& names) {
  GetMemberNames(names, 0, 0);
}

void TJPrototypeObject::Dispose() {
  replacement_.reset();
  TJObject::Dispose();
}

}  // namespace engine
