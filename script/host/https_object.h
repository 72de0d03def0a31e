// The script class "HTTPS": the HTTP object over TLS. Its client opens a TLS session for "https"
// URLs (checking the server's certificate fully) and speaks plain HTTP for "http" ones; methods,
// properties, events and error messages are the HTTP object's.
#pragma once

#include <memory>

#include "script/host/http_object.h"

namespace host {

class TJHTTPSObject : public TJHTTPObject {
  RT_CLASS(TJHTTPSObject)
 public:
  TJHTTPSObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

 protected:
  std::unique_ptr<net::TgHTTP> CreateTransport() const override;
};

}  // namespace host
