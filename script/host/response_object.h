// The HTTP object's `responseHeader`: the status line of the last response (`code`, `text`,
// `version`), its cookies (`cookie`) and its header fields as string members under lower-cased
// names (`responseHeader["content-type"]`). Not a constructor name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/cookie_object.h"

namespace net {
class TgHTTP;
}

namespace host {

class TJResponseObject : public engine::TJObject {
  RT_CLASS(TJResponseObject)
 public:
  TJResponseObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Published, read-only.
  TJCookieObject* Cookie() const { return cookie_.get(); }
  int32_t Code() const { return code_; }
  std::string Text() const { return text_; }
  std::string Version() const { return version_; }

  // Takes the client's last response: status line, cookies and header fields.
  void CopyFrom(const net::TgHTTP& client);
  // No answer came: nothing of an earlier response stays (code 999, no text, version, fields
  // or cookies).
  void Forget();

  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;
  // Removes the header fields (every member that is not a function); code 999, text empty.
  void Clear() override;
  void GetPropertyList(std::vector<std::string>& names) override;
  // "HTTP/" version " " code " " text, then the header lines, without the trailing line break.
  std::string ToString(const engine::TJValue* argument) override;

 private:
  engine::TJRef<TJCookieObject> cookie_;
  int32_t code_ = 0;
  std::string text_;
  std::string version_;
};

}  // namespace host
