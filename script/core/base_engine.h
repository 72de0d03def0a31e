// What script objects need of their engine: the object factory, the event-loop flag, object
// creation by constructor name, handler calls and variable lookup. The interpreter derives from
// it and overrides what it does differently (scopes, script classes, the new-object hook).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/rt/variant.h"
#include "script/core/factory.h"

namespace engine {

class TJValue;
class TJValueList;

class TJBaseEngine {
 public:
  TJBaseEngine();
  virtual ~TJBaseEngine();
  TJBaseEngine(const TJBaseEngine&) = delete;
  TJBaseEngine& operator=(const TJBaseEngine&) = delete;

  TJObjectFactory& Factory() { return *factory_; }

  // Set while a run may deliver events to script handlers.
  bool EventLoopAllowed = false;

  // A new instance of the class registered under the name (registered with the factory); raises
  // "ENameError" "create object error <name>" when there is none.
  virtual TJObject* MakeObject(std::string_view name, TJValueList* args);
  // Registers a script class.
  virtual void ImportObject(std::string_view name, const TJClass& cls);
  virtual std::string GetScriptFileName() { return {}; }
  virtual bool FindImportFile(std::string_view name, std::string& path) { return false; }

  // Calls a script event handler with `self` as this. The base calls native functions only.
  virtual void CallHandler(const TJValue& handler, TJValueList* args, TJValue& result, TJObject* self);
  // A variable of the current scope.
  virtual bool FindVariable(std::string_view name, TJValue& value) { return false; }

  // A new Array holding copies of the items (through MakeObject("Array") and indexed stores).
  virtual TJObject* MakeArray(const TJValueList& items);
  // Automation: a Date object for an automation date, a wrapper for a dispatch; null when this
  // engine has none.
  virtual TJObject* MakeDateObject(double oleDate) { return nullptr; }
  virtual TJObject* MakeActiveXObject(rt::IDispatch* dispatch) { return nullptr; }

  // Called by the factory for every object registered with it.
  virtual void NewObjectHook(TJObject* object) {}

 private:
  std::unique_ptr<TJObjectFactory> factory_;
};

}  // namespace engine
