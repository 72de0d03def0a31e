#include "script/core/global_base.h"

#include "script/core/base_engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"

namespace engine {

const rt::ClassInfo& TJGlobalBase::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJGlobalBase>("TJGlobalBase", &TJObject::StaticClassInfo()).build();
  return info;
}

TJGlobalBase::TJGlobalBase(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Global");
  arguments_ = NewArray(nullptr);
  finalizer_ = NewArray(nullptr);
}

TJGlobalBase::~TJGlobalBase() = default;

// An Array of the engine that its factory does not list, so that engine clears leave it alone.
TJObject* TJGlobalBase::NewArray(const TJValueList* values) {
  TJBaseEngine* engine = Engine();
  const TJClass* cls = engine ? engine->Factory().GetClass("Array") : nullptr;
  if (!cls) return nullptr;
  TJObject* array = cls->create(engine, nullptr, false);
  TJKeepAlive keep(array);
  for (int32_t i = 0; values && i < values->Count(); ++i)
    array->PutMember(std::to_string(i), (*values)[i], true, nullptr);
  return array;
}

void TJGlobalBase::Print(std::string_view text) {
  if (OnPrint) OnPrint(std::string(text));
}

void TJGlobalBase::PrintValue(const TJValue& value) { Print(AsString(&value)); }

void TJGlobalBase::PrintLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  Print(line);
}

std::string TJGlobalBase::Read(int32_t count, bool line) {
  std::string text;
  bool success = false;
  if (OnRead) OnRead(text, success, count, line);
  if (!success) ThrowError(jeStdinRead);
  return text;
}

void TJGlobalBase::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  if (!HasKey(name)) ++memberEpoch_;
  TJObject::PutMember(name, value, bracketAccess, param);
}

void TJGlobalBase::Clear() {
  ++memberEpoch_;
  TJObject::Clear();
}

void TJGlobalBase::SetArguments(const TJValueList* values) { arguments_ = NewArray(values); }

void TJGlobalBase::ClearFinalizer() {
  if (finalizer_) finalizer_ = NewArray(nullptr);
}

}  // namespace engine
