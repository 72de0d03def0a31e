#include "script/host/response_object.h"

#include "net/http.h"
#include "platform/rt/numtext.h"
#include "platform/rt/persistent.h"
#include "script/host/header_text.h"

namespace host {

using namespace engine;

const rt::ClassInfo& TJResponseObject::StaticClassInfo() {
  using T = TJResponseObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJResponseObject", &TJObject::StaticClassInfo())
                                         .property("cookie", &T::Cookie)
                                         .property("code", &T::Code)
                                         .property("text", &T::Text)
                                         .property("version", &T::Version)
                                         .build();
  return info;
}

TJResponseObject::TJResponseObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Response");
}

void TJResponseObject::AfterCreate(TJValueList*) { cookie_ = TJObject::Create<TJCookieObject>(Engine()); }

void TJResponseObject::Dispose() {
  cookie_.reset();
  TJObject::Dispose();
}

void TJResponseObject::Clear() {
  ClearProperties();
  code_ = 999;
  text_.clear();
}

void TJResponseObject::CopyFrom(const net::TgHTTP& client) {
  Clear();
  version_ = client.ResponseHeader.Version;
  code_ = client.ReplyCode;
  text_ = client.ReplyText;
  if (cookie_) cookie_->Cookie().Assign(client.ResponseHeader.Cookie);
  client.ResponseHeader.Headers().ForEach(
      [this](const auto& item) { PutMember(item.Key, TJValue::String(item.Value), true, nullptr); });
}

void TJResponseObject::Forget() {
  Clear();
  version_.clear();
  if (cookie_) cookie_->Cookie().Clear();
}

void TJResponseObject::GetPropertyList(std::vector<std::string>& names) {
  GetMemberNames(names, TypeBit(vtString), 0);
}

std::string TJResponseObject::ToString(const TJValue*) {
  return HeaderFieldsText(*this, "HTTP/" + version_ + " " + rt::IntToStr(code_) + " " + text_);
}

}  // namespace host
