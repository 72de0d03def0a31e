#include "script/core/base_engine.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/function.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace engine {

TJBaseEngine::TJBaseEngine() : factory_(std::make_unique<TJObjectFactory>(this)) {
  factory_->OnNewObject = [this](TJObject* object) { NewObjectHook(object); };
}

TJBaseEngine::~TJBaseEngine() { factory_->ClearObjects(); }

TJObject* TJBaseEngine::MakeObject(std::string_view name, TJValueList* args) {
  const TJClass* cls = factory_->GetClass(name);
  if (!cls) ThrowError(jeCreateObject, {name});
  return RunNative([name] { return name; }, "create", [&] { return cls->create(this, args, true); });
}

void TJBaseEngine::ImportObject(std::string_view name, const TJClass& cls) { factory_->RegistClass(name, cls); }

void TJBaseEngine::CallHandler(const TJValue& handler, TJValueList* args, TJValue& result, TJObject*) {
  result.Clear();
  IJFunction* f = handler.vFunction();
  if (f && f->GetFuncType() == ftNative) CallNative(f, args, result);
}

TJObject* TJBaseEngine::MakeArray(const TJValueList& items) {
  TJObject* array = MakeObject("Array", nullptr);
  TJKeepAlive keep(array);
  for (int32_t i = 0; i < items.Count(); ++i) {
    // An indexed store by number where the class takes one, else by the index's text.
    if (!array->WriteItem(TJValue::Integer(i), items[i])) array->PutMember(std::to_string(i), items[i], true, nullptr);
  }
  return array;
}

}  // namespace engine
