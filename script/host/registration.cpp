#include "script/host/registration.h"

#include "script/core/base_engine.h"
#include "script/host/cookie_object.h"
#include "script/host/http_object.h"
#include "script/host/https_object.h"
#include "script/host/url_object.h"

namespace host {

using engine::ClassOf;

void RegisterHostObjects(engine::TJBaseEngine&) {}

void RegisterNetObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("URL", ClassOf<TJURLInfoObject>());
  engine.ImportObject("Cookie", ClassOf<TJCookieObject>());
  engine.ImportObject("HTTP", ClassOf<TJHTTPObject>());
  engine.ImportObject("HTTPS", ClassOf<TJHTTPSObject>());
}

void RegisterActiveXObjects(engine::TJBaseEngine&) {}

void RegisterDynaCallObjects(engine::TJBaseEngine&) {}

void RegisterGUIObjects(engine::TJBaseEngine&) {}

}  // namespace host
