// The script component: what a host program places to run scripts. It owns one engine for its
// whole life, compiles and runs source text, and hands everything scripts print, ask for or report
// to its events, each with the component as sender.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/rt/persistent.h"
#include "script/core/engine.h"

namespace engine {

class TBrindle;

using TStringEvent = std::function<void(TBrindle* sender, const std::string& s)>;
using TNewObjectEvent = std::function<void(TBrindle* sender, TJObject* object)>;
using TNotifyEvent = std::function<void(TBrindle* sender)>;
using TStepEvent = std::function<void(TBrindle* sender, bool& abort)>;
using TReadStringEvent =
    std::function<void(TBrindle* sender, std::string& s, bool& success, int32_t count, bool line)>;
using TErrorEvent = std::function<void(TBrindle* sender, int32_t lineNo, const std::string& msg)>;

// The registration routines of the host-object families, called by every new component in this
// order (files and system, network, automation, DLL calls, check-list dialog, GUI classes).
std::vector<std::function<void(TJEngine&)>>& HostRegistrations();

class TJBaseBrindle : public rt::TPersistent {
  RT_CLASS(TJBaseBrindle)
};

class TBrindle : public TJBaseBrindle {
  RT_CLASS(TBrindle)
 public:
  TBrindle();
  ~TBrindle() override;

  // Parses the text; false (after reporting a syntax error) when no tree was built.
  bool Compile(const std::string& source);
  // Runs the program compiled last; its exit code.
  int32_t Run(const TJValueList* args);
  int32_t RunConsts(std::initializer_list<TJValue> args);
  int32_t RunNoArgs() { return RunConsts({}); }
  // Resets the engine: run state, scopes and every live script object.
  void Clear();

  // Folders searched for import files (the engine's parser's list).
  std::vector<std::string>& LibraryPath() { return engine_->Parser().LibraryPath(); }
  TJEngine& Engine() { return *engine_; }

  const std::string& LastErrorText() const { return lastErrorText_; }
  uint32_t CompileTime() const { return compileTime_; }
  uint32_t RunTime() const { return runTime_; }
  bool CompiledBinary() const { return compiledBinary_; }
  void setCompiledBinary(bool value) { compiledBinary_ = value; }

  // Events. Setting one wires the engine's hook to the component; clearing it unwires it.
  void SetOnStdout(TStringEvent handler);
  void SetOnDebugout(TStringEvent handler);
  void SetOnNewObject(TNewObjectEvent handler);
  void SetOnStderr(TStringEvent handler);
  void SetOnRun(TNotifyEvent handler);
  void SetOnDone(TNotifyEvent handler);
  void SetOnStep(TStepEvent handler);
  void SetOnStdin(TReadStringEvent handler);
  void SetOnError(TErrorEvent handler);
  void SetOnDoEvents(TStepEvent handler);

 protected:
  // Registers the host classes with the engine (a descendant may register more or fewer).
  virtual void ImportObjects();

 private:
  std::unique_ptr<TJEngine> engine_;
  std::string lastErrorText_;
  uint32_t compileTime_ = 0;
  uint32_t runTime_ = 0;
  bool compiledBinary_ = false;
  TStringEvent onStdout_, onDebugout_, onStderr_;
  TNewObjectEvent onNewObject_;
  TNotifyEvent onRun_, onDone_;
  TStepEvent onStep_, onDoEvents_;
  TReadStringEvent onStdin_;
  TErrorEvent onError_;
};

// The class the game's form holds.
class TBRS : public TBrindle {
  RT_CLASS(TBRS)
};

}  // namespace engine
