// Test helpers: reading, writing and calling an object's members by name, as scripts do.
#pragma once

#include <initializer_list>

#include "script/core/function.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace scripttest {

// obj.name(args...)
inline engine::TJValue Call(const engine::TJValue& object, const char* name,
                            std::initializer_list<engine::TJValue> args = {}) {
  engine::TJValue f, result;
  object.vObject()->GetMember(name, false, nullptr, f);
  engine::TJValueList list(args);
  engine::CallNative(f.vFunction(), args.size() ? &list : nullptr, result);
  return result;
}

inline engine::TJValue Get(const engine::TJValue& object, const char* name) {
  engine::TJValue v;
  object.vObject()->GetMember(name, false, nullptr, v);
  return v;
}

inline void Put(const engine::TJValue& object, const char* name, const engine::TJValue& value) {
  object.vObject()->PutMember(name, value, false, nullptr);
}

}  // namespace scripttest
