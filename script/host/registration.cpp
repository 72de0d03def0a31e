#include "script/host/registration.h"

#include "script/core/base_engine.h"
#include "script/host/activex_object.h"
#include "script/host/cookie_object.h"
#include "script/host/dynacall_object.h"
#include "script/host/http_object.h"
#include "script/host/url_object.h"

namespace host {

using engine::ClassOf;

void RegisterHostObjects(engine::TJBaseEngine&) {}

void RegisterNetObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("URL", ClassOf<TJURLInfoObject>());
  engine.ImportObject("Cookie", ClassOf<TJCookieObject>());
  engine.ImportObject("HTTP", ClassOf<TJHTTPObject>());
}

void RegisterActiveXObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("ActiveXObject", ClassOf<TJActiveXObject>());
  engine.ImportObject("Enumerator", ClassOf<TJEnumeratorObject>());
}

void RegisterDynaCallObjects(engine::TJBaseEngine& engine) {
  engine.ImportObject("DynaCall", ClassOf<TJDynaCall>());
  engine.ImportObject("Struct", ClassOf<TJStruct>());
}

void RegisterGUIObjects(engine::TJBaseEngine&) {}

}  // namespace host
