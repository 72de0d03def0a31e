#include "script/host/cookie_object.h"

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJCookieObject::StaticClassInfo() {
  using T = TJCookieObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJCookieObject", &TJObject::StaticClassInfo())
                                         .property("domain", &T::Domain, &T::SetDomain)
                                         .property("path", &T::Path, &T::SetPath)
                                         .property("expires", &T::Expires)
                                         .property("length", &T::Length)
                                         .property("data", &T::Data)
                                         .build();
  return info;
}

TJCookieObject::TJCookieObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Cookie");
  cookie_.Clear();
}

void TJCookieObject::AfterCreate(TJValueList*) {
  expires_ = TJObject::Create<stdlib::TJDateObject>(Engine());
}

void TJCookieObject::Dispose() {
  expires_.reset();
  TJObject::Dispose();
}

void TJCookieObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("parse", &TJCookieObject::DoParse);
  RegistMethod("getKeys", &TJCookieObject::DoGetCookieKeys);
}

stdlib::TJDateObject* TJCookieObject::Expires() const {
  if (!expires_) return nullptr;
  expires_->SetLocalDateTime(cookie_.Expires);
  return expires_.get();
}

void TJCookieObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  if (!bracketAccess) {
    TJObject::GetMember(name, bracketAccess, param, value);
    return;
  }
  value.SetString(cookie_.GetValue(std::string(name)));
}

void TJCookieObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  if (!bracketAccess) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  cookie_.SetValue(std::string(name), AsString(&value));
}

bool TJCookieObject::HasKey(std::string_view name) { return cookie_.HasValue(std::string(name)); }

void TJCookieObject::GetPropertyList(std::vector<std::string>& names) { cookie_.GetNames(names); }

std::string TJCookieObject::ToString(const TJValue*) { return cookie_.GetText(); }

void TJCookieObject::DoParse(TJValueList* args, TJValue& result) {
  if (IsParam2(args))
    cookie_.Parse(AsString(&(*args)[0]), AsString(&(*args)[1]));
  else if (IsParam1(args))
    cookie_.ParseText(AsString(&(*args)[0]));
  result.SetObject(this);
}

void TJCookieObject::DoGetCookieKeys(TJValueList*, TJValue& result) {
  std::vector<std::string> names;
  cookie_.GetNames(names);
  BuildNameArray(names, result);
}

}  // namespace host
