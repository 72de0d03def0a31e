// The script class "Date": one moment in time with local and UTC getters and setters, parsing,
// and formatting through the script-settable pattern `format`.
//
// The moment is kept as whole milliseconds since 1970-01-01 UTC; local fields come from the
// offset in force at that moment (date_routines.h). Setters take one argument and never carry
// into the next field: a value out of its field's range leaves the object unchanged and answers
// undefined. Several arguments to the constructor, parse and UTC are UTC fields (year, month from
// 0, day, hours, minutes, seconds, milliseconds); fields not given keep the current UTC values.
#pragma once

#include <cstdint>
#include <string>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/stdlib/date_routines.h"

namespace stdlib {

class TJDateObject : public engine::TJObject {
  RT_CLASS(TJDateObject)
 public:
  TJDateObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // Published `format`: the pattern of toString and the others; empty means "c".
  const std::string& Format() const { return format_; }
  void SetFormat(std::string format) { format_ = std::move(format); }

  // The moment, for the host objects that hand out dates.
  int64_t Time() const { return time_; }
  void SetTime(int64_t ms) { time_ = ms; }
  TDateTime GetLocalDateTime() const;
  TDateTime GetUTCDateTime() const;
  // A local date-time, stored as the moment it names.
  void SetLocalDateTime(TDateTime local);
  void SetUTCDateTime(TDateTime utc);

  // The milliseconds that parse and UTC answer for these arguments (see above; one argument is a
  // date text read as local time).
  static double ParseArgs(engine::TJValueList* args);

  void RegistMethods() override;
  std::string ToString(const engine::TJValue* argument) override;
  void ValueOf(engine::TJValue& value) override;
  double ToNumber() override;

  void DoGetFullYear(engine::TJValueList* args, engine::TJValue& result);
  void DoSetFullYear(engine::TJValueList* args, engine::TJValue& result);
  void DoGetYear(engine::TJValueList* args, engine::TJValue& result);
  void DoSetYear(engine::TJValueList* args, engine::TJValue& result);
  void DoGetMonth(engine::TJValueList* args, engine::TJValue& result);
  void DoSetMonth(engine::TJValueList* args, engine::TJValue& result);
  void DoGetDate(engine::TJValueList* args, engine::TJValue& result);
  void DoSetDate(engine::TJValueList* args, engine::TJValue& result);
  void DoGetDay(engine::TJValueList* args, engine::TJValue& result);
  void DoGetHours(engine::TJValueList* args, engine::TJValue& result);
  void DoSetHours(engine::TJValueList* args, engine::TJValue& result);
  void DoGetMinutes(engine::TJValueList* args, engine::TJValue& result);
  void DoSetMinutes(engine::TJValueList* args, engine::TJValue& result);
  void DoGetSeconds(engine::TJValueList* args, engine::TJValue& result);
  void DoSetSeconds(engine::TJValueList* args, engine::TJValue& result);
  void DoGetMilliseconds(engine::TJValueList* args, engine::TJValue& result);
  void DoSetMilliseconds(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCFullYear(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCFullYear(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCYear(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCYear(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCMonth(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCMonth(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCDate(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCDate(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCDay(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCHours(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCHours(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCMinutes(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCMinutes(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCSeconds(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCSeconds(engine::TJValueList* args, engine::TJValue& result);
  void DoGetUTCMilliseconds(engine::TJValueList* args, engine::TJValue& result);
  void DoSetUTCMilliseconds(engine::TJValueList* args, engine::TJValue& result);
  void DoGetTime(engine::TJValueList* args, engine::TJValue& result);
  void DoSetTime(engine::TJValueList* args, engine::TJValue& result);
  void DoGetTimezoneOffset(engine::TJValueList* args, engine::TJValue& result);
  void DoToGMTString(engine::TJValueList* args, engine::TJValue& result);
  void DoParse(engine::TJValueList* args, engine::TJValue& result);

 private:
  enum Field { fYear, fMonth, fDay, fHour, fMinute, fSecond, fMillisecond };
  TDateFields fields(bool utc) const;
  void getField(bool utc, Field field, engine::TJValue& result) const;
  // Replaces one field (the argument as an integer plus `add`); `yearBase` adds 1900 to 0..99.
  void setField(bool utc, Field field, engine::TJValueList* args, engine::TJValue& result, int add = 0,
                bool yearBase = false);

  std::string format_;
  int64_t time_ = 0;
};

}  // namespace stdlib
