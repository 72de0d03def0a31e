#include "script/host/https_object.h"

#include "net/https.h"
#include "platform/rt/persistent.h"

namespace host {

namespace {

constexpr int kHttpsBufferSize = 65536;

}  // namespace

const rt::ClassInfo& TJHTTPSObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJHTTPSObject>("TJHTTPSObject", &TJHTTPObject::StaticClassInfo()).build();
  return info;
}

TJHTTPSObject::TJHTTPSObject(engine::TJBaseEngine* engine, engine::TJValueList* param)
    : TJHTTPObject(engine, param) {
  RegistName("HTTPS");
}

std::unique_ptr<net::TgHTTP> TJHTTPSObject::CreateTransport() const {
  return std::make_unique<net::TgHTTPS>(kHttpsBufferSize);
}

}  // namespace host
