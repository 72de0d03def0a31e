// The Global object: the global functions of the language. The engine makes one per engine and
// makes it the with-object of every module scope, so its members are plain names to scripts.
//
// Its natives are free functions `void f(TJGlobalObject&, TJValueList*, TJValue&)`, grouped by
// source file (global_natives.h lists them); RegistMethods registers them with Regist<f>(name) in
// one fixed order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "script/core/global_base.h"

namespace stdlib {

class TJGlobalObject : public engine::TJGlobalBase {
  RT_CLASS(TJGlobalObject)
 public:
  TJGlobalObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Only the engine makes the Global object.
  static bool IsMakeGlobalInstance() { return false; }

  void RegistMethods() override;

  // Every module scope asks the Global object for each name it does not hold itself, so a quick
  // "certainly not" comes first: a filter over every name the object could answer for. (Members
  // join it through PutMember and the registrations; nothing adds Global members another way.)
  bool HasKey(std::string_view name) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  void Clear() override;

  using Function = void (*)(TJGlobalObject& self, engine::TJValueList* args, engine::TJValue& result);
  template <Function F>
  void Native(engine::TJValueList* args, engine::TJValue& result) {
    F(*this, args, result);
  }
  template <Function F>
  void Regist(std::string_view name) {
    RegistMethod(name, &TJGlobalObject::Native<F>);
  }

  // Published properties.
  engine::TJObject* ArgumentsProperty() const { return Arguments(); }
  engine::TJObject* FinalizerProperty() const { return Finalizer(); }
  bool TerminatedProperty() const { return Terminated(); }
  std::string PlatformProperty() const;
  uint32_t ApplicationHandleProperty() const;
  uint32_t MainFormHandleProperty() const;

 private:
  void Mark(std::string_view name);
  bool MayHold(std::string_view name) const;
  uint64_t filter_[16] = {};
  bool filterBuilt_ = false;
};

// Where the window handles of the application and its main form come from (a GUI host sets
// them; without one they are 0).
std::function<uint32_t()>& ApplicationHandleSource();
std::function<uint32_t()>& MainFormHandleSource();

// Whether the program runs as a console application (the console host says so; the game does not).
bool& ConsoleApplication();

}  // namespace stdlib
