// Helpers for the standard-object tests: an engine that knows Number, Boolean, Math and Date, calls
// of natives by name, a time zone set for one test, and a fixed clock.
#pragma once

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>

#include "script/core/base_engine.h"
#include "script/core/function.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "tests/script/member_calls.h"
#include "script/stdlib/boolean_object.h"
#include "script/stdlib/date_object.h"
#include "script/stdlib/date_routines.h"
#include "script/stdlib/math_object.h"
#include "script/stdlib/number_object.h"

namespace stdlibtest {

using namespace engine;

class StdEngine : public TJBaseEngine {
 public:
  StdEngine() {
    ImportObject("Object", ClassOf<TJObject>());
    ImportObject("Number", ClassOf<stdlib::TJNumberObject>());
    ImportObject("Boolean", ClassOf<stdlib::TJBooleanObject>());
    ImportObject("Math", ClassOf<stdlib::TJMathObject>());
    ImportObject("Date", ClassOf<stdlib::TJDateObject>());
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

inline TJValue I(int32_t i) { return TJValue::Integer(i); }
inline TJValue D(double d) { return TJValue::Double(d); }
inline TJValue S(const char* s) { return TJValue::String(s); }
inline TJValue B(bool b) { return TJValue::Bool(b); }

inline std::string Text(const TJValue& v) { return AsString(&v); }
inline int32_t Int(const TJValue& v) { return AsInteger(&v); }

// A value as the test expects to read it: its type tag and text.
inline std::string Show(const TJValue& v) { return std::string(ValueTypeName(v.ValueType())) + " " + AsString(&v); }

// The process's time zone for one test (POSIX zone texts need no zone database).
class ScopedZone {
 public:
  explicit ScopedZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedZone() {
    if (saved_) setenv("TZ", saved_->c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;

 private:
  std::optional<std::string> saved_;
};

// The clock stands at `ms` (UTC) for one test.
class ScopedClock {
 public:
  explicit ScopedClock(int64_t ms) {
    fixed_ = ms;
    stdlib::SetClock([] { return fixed_; });
  }
  ~ScopedClock() { stdlib::SetClock(nullptr); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  static inline int64_t fixed_ = 0;
};

// Milliseconds of a UTC date and time.
inline int64_t UtcMs(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  int64_t date = 0, time = 0;
  stdlib::TryEncodeDateMs(y, mo, d, date);
  stdlib::TryEncodeTimeMs(h, mi, s, ms, time);
  return date + time;
}

}  // namespace stdlibtest
