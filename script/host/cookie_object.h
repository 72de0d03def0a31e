// The script class "Cookie": a set of cookie values with their common attributes, made by a script
// or handed out as a response's cookies. The cookie values are reached by bracket access
// (`cookie["sid"]`) and are the object's keys; dotted access reaches the object's own members.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "net/cookie.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/stdlib/date_object.h"

namespace host {

class TJCookieObject : public engine::TJObject {
  RT_CLASS(TJCookieObject)
 public:
  TJCookieObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  net::TCookie& Cookie() { return cookie_; }

  // Published properties.
  std::string Domain() const { return cookie_.Domain; }
  void SetDomain(std::string value) { cookie_.Domain = std::move(value); }
  std::string Path() const { return cookie_.Path; }
  void SetPath(std::string value) { cookie_.Path = std::move(value); }
  // The owned Date object, set to the expiry time at every read.
  stdlib::TJDateObject* Expires() const;
  int32_t Length() const { return cookie_.Count(); }
  // The text of a Cookie request header.
  std::string Data() const { return cookie_.GetCookieHeader(); }

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;
  // Bracket access reads and writes cookie values; dotted access is the ordinary one.
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  // Cookie names only.
  bool HasKey(std::string_view name) override;
  void GetPropertyList(std::vector<std::string>& names) override;
  std::string ToString(const engine::TJValue* argument) override;

  // parse(url, text) reads a Set-Cookie value for the URL; parse(text) reads "a=1; b=2".
  void DoParse(engine::TJValueList* args, engine::TJValue& result);
  // getKeys(): the cookie names.
  void DoGetCookieKeys(engine::TJValueList* args, engine::TJValue& result);

 private:
  net::TCookie cookie_;
  engine::TJRef<stdlib::TJDateObject> expires_;
};

}  // namespace host
