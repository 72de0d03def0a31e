#include "script/stdlib/stdlib.h"

#include "script/core/engine.h"
#include "script/stdlib/array_object.h"
#include "script/stdlib/boolean_object.h"
#include "script/stdlib/date_object.h"
#include "script/stdlib/global.h"
#include "script/stdlib/math_object.h"
#include "script/stdlib/number_object.h"
#include "script/stdlib/regexp_object.h"
#include "script/stdlib/string_object.h"

namespace stdlib {

using namespace engine;

namespace {

// After "Object", in this order: Global, Array, String, Number, Boolean, RegExp, Math, Date.
void RegisterStandardClasses(TJEngine& engine) {
  engine.ImportObject("Global", ClassOf<TJGlobalObject>());
  engine.ImportObject("Array", ClassOf<TJArrayObject>());
  engine.ImportObject("String", ClassOf<TJStringObject>());
  engine.ImportObject("Number", ClassOf<TJNumberObject>());
  engine.ImportObject("Boolean", ClassOf<TJBooleanObject>());
  engine.ImportObject("RegExp", ClassOf<TJRegExpObject>());
  engine.ImportObject("Math", ClassOf<TJMathObject>());
  engine.ImportObject("Date", ClassOf<TJDateObject>());
}

}  // namespace

void Install() {
  TJEngineExtensions& ext = EngineExtensions();
  ext.RegisterStandardClasses = RegisterStandardClasses;
  ext.MakeGlobal = [](TJEngine& engine) -> TJGlobalBase* {
    return TJObject::Create<TJGlobalObject>(&engine, nullptr, false);
  };
  InstallRegExp();
}

}  // namespace stdlib
