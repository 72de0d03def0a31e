// The script class "Win32" (a global instance under its name): sleeping, starting programs and
// opening documents, and the system's millisecond tick count. Programs start without a command
// interpreter, so nothing in a command line runs but the program it names.
#pragma once

#include "script/core/object.h"
#include "script/core/value.h"

namespace host {

class TJWin32Object : public engine::TJObject {
  RT_CLASS(TJWin32Object)
 public:
  TJWin32Object(engine::TJBaseEngine* engine, engine::TJValueList* param);

  void RegistMethods() override;

  // sleep([milliseconds]): blocks for that long (not at all without an argument).
  void DoSleep(engine::TJValueList* args, engine::TJValue& result);
  // winExec(commandLine): true when the program started.
  void DoWinExec(engine::TJValueList* args, engine::TJValue& result);
  // shellExecute(operation, file [, parameters [, directory]]): true when it started.
  void DoShellExecute(engine::TJValueList* args, engine::TJValue& result);
  // getTickCount(): milliseconds, wrapping at 2^32.
  void DoGetTickCount(engine::TJValueList* args, engine::TJValue& result);
};

}  // namespace host
