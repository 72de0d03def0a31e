#include "script/host/host.h"

#include "script/core/component.h"
#include "script/core/engine.h"
#include "script/host/activex_object.h"
#include "script/host/base_socket_object.h"
#include "script/host/dynacall_object.h"
#include "script/host/wscript_object.h"
#include "script/host/registration.h"

namespace host {

using namespace engine;

void Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  InstallActiveXHooks();
  InstallDynaCallHooks();
  InstallWScript();
  auto& routines = HostRegistrations();
  for (void (*regist)(TJBaseEngine&) :
       {&RegisterHostObjects, &RegisterNetObjects, &RegisterActiveXObjects, &RegisterDynaCallObjects, &RegisterGUIObjects})
    routines.push_back([regist](TJEngine& engine) { regist(engine); });
  EngineExtensions().NewObjectBinders.push_back({&TJBaseSocketObject::StaticClassInfo(), [](TJEngine& engine, TJObject* object) {
    if (auto* socket = dynamic_cast<TJBaseSocketObject*>(object)) {
      socket->PrintHook = [&engine](const std::string& text) {
        if (TJGlobalBase* global = engine.Global()) global->PrintLine(text);
      };
    }
  }});
}

}  // namespace host
