#include "script/stdlib/stdlib.h"

#include "script/core/engine.h"
#include "script/stdlib/global.h"

namespace stdlib {

using namespace engine;

namespace {

// After "Object", in this order: Global, Array, String, Number, Boolean, RegExp, Math, Date.
void RegisterStandardClasses(TJEngine& engine) { engine.ImportObject("Global", ClassOf<TJGlobalObject>()); }

}  // namespace

void Install() {
  TJEngineExtensions& ext = EngineExtensions();
  ext.RegisterStandardClasses = RegisterStandardClasses;
  ext.MakeGlobal = [](TJEngine& engine) -> TJGlobalBase* {
    return TJObject::Create<TJGlobalObject>(&engine, nullptr, false);
  };
}

}  // namespace stdlib
