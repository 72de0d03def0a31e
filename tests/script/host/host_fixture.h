// Helpers for the host-object tests: an engine that knows the standard classes the host objects
// use and the internet classes, whose event handlers are C++ functions named by a string, and
// calls of natives by name.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "script/core/base_engine.h"
#include "script/core/exceptions.h"
#include "script/core/function.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "tests/script/member_calls.h"
#include "script/host/registration.h"
#include "script/stdlib/boolean_object.h"
#include "script/stdlib/date_object.h"

namespace hosttest {

using namespace engine;

using Handler = std::function<void(TJValueList* args, TJValue& result)>;

// Just enough of an Array for the natives that answer name lists.
class HostArray : public TJObject {
  RT_CLASS(HostArray)
 public:
  HostArray(TJBaseEngine* e, TJValueList* p) : TJObject(e, p) { RegistName("Array"); }
  void PutMember(std::string_view name, const TJValue& value, bool bracket, TJValueList* param) override;
  std::vector<std::string> texts;
};

class HostEngine : public TJBaseEngine {
 public:
  HostEngine() {
    ImportObject("Object", ClassOf<TJObject>());
    ImportObject("Array", ClassOf<HostArray>());
    ImportObject("Boolean", ClassOf<stdlib::TJBooleanObject>());
    ImportObject("Date", ClassOf<stdlib::TJDateObject>());
    host::RegisterNetObjects(*this);
    EventLoopAllowed = true;
  }

  // A handler member holding the text `name` calls handlers[name].
  std::map<std::string, Handler> handlers;

  void CallHandler(const TJValue& handler, TJValueList* args, TJValue& result, TJObject* self) override {
    result.Clear();
    if (handler.ValueType() == vtString) {
      auto it = handlers.find(std::string(handler.vString()));
      if (it != handlers.end()) it->second(args, result);
      return;
    }
    TJBaseEngine::CallHandler(handler, args, result, self);
  }

  // new <name>(args...), held by the returned value.
  TJValue New(const char* name, std::initializer_list<TJValue> args = {}) {
    TJValueList list(args);
    return TJValue::Object(MakeObject(name, args.size() ? &list : nullptr));
  }
};

using scripttest::Call;
using scripttest::Get;
using scripttest::Put;

inline TJValue Index(const TJValue& object, const char* name) {
  TJValue v;
  object.vObject()->GetMember(name, true, nullptr, v);
  return v;
}

inline void IndexPut(const TJValue& object, const char* name, const TJValue& value) {
  object.vObject()->PutMember(name, value, true, nullptr);
}

inline TJValue I(int32_t i) { return TJValue::Integer(i); }
inline TJValue S(const std::string& s) { return TJValue::String(s); }
inline TJValue B(bool b) { return TJValue::Bool(b); }
inline std::string Text(const TJValue& v) { return AsString(&v); }

// The texts of an array a native answered.
std::vector<std::string> Names(const TJValue& array);

// "<error type>:<message>" of the script error `f` raises, or "none".
std::string ErrorOf(const std::function<void()>& f);

}  // namespace hosttest
