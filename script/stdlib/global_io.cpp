// The global functions for output, input, ending the run, and the engine's version.
#include "platform/rt/utf8.h"
#include "script/core/exceptions.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "script/stdlib/global.h"
#include "script/stdlib/global_natives.h"
#include "script/stdlib/version.h"

namespace stdlib {

using namespace engine;

namespace {

// The last argument, or undefined without one.
void LastArgument(TJValueList* args, TJValue& result) {
  if (ArgCount(args) > 0)
    result = (*args)[ArgCount(args) - 1];
  else
    result.Clear();
}

}  // namespace

// print(values...): each value's text, nothing between, no line end.
void DoPrint(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  for (int32_t i = 0; i < ArgCount(args); ++i) self.PrintValue((*args)[i]);
  LastArgument(args, result);
}

// println(values...): each value's text on a line of its own.
void DoPrintln(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  for (int32_t i = 0; i < ArgCount(args); ++i) self.PrintLine(AsString(&(*args)[i]));
  LastArgument(args, result);
}

// read(count): that many characters of input; read(): all of it.
void DoRead(TJGlobalObject& self, TJValueList* args, TJValue& result) {
  if (IsParam1(args)) {
    int32_t count = AsInteger(&(*args)[0]);
    std::string text = self.Read(count, false);
    result.SetString(rt::utf8::substr(text, 0, count < 0 ? 0 : size_t(count)));
  } else {
    result.SetString(self.Read(-1, false));
  }
}

// readln(): one line of input.
void DoReadln(TJGlobalObject& self, TJValueList*, TJValue& result) { result.SetString(self.Read(-1, true)); }

// exit(code): ends the run with the code (0 without one).
void DoExit(TJGlobalObject&, TJValueList* args, TJValue&) {
  throw EJExit(IsParam1(args) ? AsInteger(&(*args)[0]) : 0);
}

void DoScriptEngine(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetString(kScriptEngineName); }
void DoBuildVersion(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetInteger(42); }
void DoMajorVersion(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetInteger(0); }
void DoMinorVersion(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetDouble(3.9); }
void DoVersion(TJGlobalObject&, TJValueList*, TJValue& result) { result.SetString(kScriptEngineVersion); }

}  // namespace stdlib
