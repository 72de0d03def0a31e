#include "script/host/win32_object.h"

#include "platform/rt/clock.h"
#include "platform/rt/persistent.h"
#include "platform/shell/shell.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/host/file_name.h"
#include "script/host/guarded.h"

namespace host {

using namespace engine;

namespace {
constexpr const char* kWin32Error = "EWin32Error";
}

const rt::ClassInfo& TJWin32Object::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJWin32Object>("TJWin32Object", &TJObject::StaticClassInfo()).build();
  return info;
}

TJWin32Object::TJWin32Object(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Win32");
}

void TJWin32Object::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("sleep", &TJWin32Object::DoSleep);
  RegistMethod("winExec", &TJWin32Object::DoWinExec);
  RegistMethod("shellExecute", &TJWin32Object::DoShellExecute);
  RegistMethod("getTickCount", &TJWin32Object::DoGetTickCount);
}

void TJWin32Object::DoSleep(TJValueList* args, TJValue& result) {
  int32_t ms = IsParam1(args) ? AsInteger(&(*args)[0]) : 0;
  if (ms > 0) rt::Sleep(uint32_t(ms));
  result.SetObject(this);
}

void TJWin32Object::DoWinExec(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) ThrowError(kWin32Error, "winExec error");
  std::string line = AsString(&(*args)[0]);
  SystemPath(line, kWin32Error, "winExec error");
  result.SetBool(Guarded(kWin32Error, "winExec error", [&] { return shell::Execute(line); }));
}

void TJWin32Object::DoShellExecute(TJValueList* args, TJValue& result) {
  if (!IsParam2(args)) ThrowError(kWin32Error, "shellExecute error");
  std::string operation = AsString(&(*args)[0]), file = AsString(&(*args)[1]);
  std::string parameters = IsParam3(args) ? AsString(&(*args)[2]) : std::string();
  std::string folder = IsParam4(args) ? AsString(&(*args)[3]) : std::string();
  // The program or document, its arguments and its folder all reach the system as names.
  for (const std::string* text : {&file, &parameters, &folder}) SystemPath(*text, kWin32Error, "shellExecute error");
  result.SetBool(Guarded(kWin32Error, "shellExecute error",
                         [&] { return shell::ShellExecute(operation, file, parameters, folder); }));
}

void TJWin32Object::DoGetTickCount(TJValueList*, TJValue& result) { result.SetInteger(int32_t(rt::GetTickCount())); }

}  // namespace host
