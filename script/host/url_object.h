// The script class "URL": one URL taken apart into its ten fields. The fields are read and
// written under several names each; `url` (also `uri`, `href`) rebuilds the text from the fields,
// while toString gives the text as it was last given whole.
#pragma once

#include <string>

#include "net/url.h"
#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJURLInfoObject : public engine::TJObject {
  RT_CLASS(TJURLInfoObject)
 public:
  // new URL([text]): the text is parsed; without one every field is empty.
  TJURLInfoObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  const net::TUrlInfo& Info() const { return info_; }

  // Published properties (see the class table).
  std::string Url() const;
  void SetUrl(std::string value);
  std::string Protocol() const { return info_.protocol; }
  void SetProtocol(std::string value) { info_.protocol = std::move(value); }
  std::string Username() const { return info_.username; }
  void SetUsername(std::string value) { info_.username = std::move(value); }
  std::string Password() const { return info_.password; }
  void SetPassword(std::string value) { info_.password = std::move(value); }
  // hostname[:port]; a written value with ":" sets both, one without keeps the port.
  std::string Host() const;
  void SetHost(std::string value);
  std::string Hostname() const { return info_.hostname; }
  void SetHostname(std::string value) { info_.hostname = std::move(value); }
  std::string Port() const { return info_.port; }
  void SetPort(std::string value) { info_.port = std::move(value); }
  std::string Path() const { return info_.path; }
  void SetPath(std::string value) { info_.path = std::move(value); }
  std::string Directory() const { return info_.directory; }
  void SetDirectory(std::string value) { info_.directory = std::move(value); }
  std::string Filename() const { return info_.filename; }
  void SetFilename(std::string value) { info_.filename = std::move(value); }
  std::string Query() const { return info_.query; }
  void SetQuery(std::string value) { info_.query = std::move(value); }

  void RegistMethods() override;
  // The stored text, not the fields.
  std::string ToString(const engine::TJValue* argument) override;

  // expand([relative]): the stored text resolved against the relative reference, or the stored
  // text itself.
  void DoExpand(engine::TJValueList* args, engine::TJValue& result);

 private:
  net::TUrlInfo info_;
};

}  // namespace host
