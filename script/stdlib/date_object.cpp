#include "script/stdlib/date_object.h"

#include <cmath>

#include "platform/rt/persistent.h"
#include "script/core/value_list.h"
#include "script/stdlib/date_format.h"

namespace stdlib {

using namespace engine;

namespace {

// The moments a Date can hold: 100,000,000 days either side of 1970.
constexpr double kMaxTime = 8.64e15;

// A field argument as an integer; false for a number far outside every field's range.
bool fieldValue(const TJValue& v, int32_t& out) {
  if (v.ValueType() == vtDouble && std::fabs(v.vDouble()) >= 2147483647.0) return false;
  if (v.ValueType() == vtInfinity || v.ValueType() == vtNaN) return false;
  out = AsInteger(&v);
  return true;
}

// Milliseconds of a date-time value, held to the range of dates.
int64_t msOf(TDateTime d) {
  double ms = DateTimeToEpochMs(d);
  return int64_t(ms > kMaxTime ? kMaxTime : ms < -kMaxTime ? -kMaxTime : ms);
}

bool encode(const int (&f)[7], int64_t& ms, bool& timeValid) {
  int64_t date, time;
  timeValid = false;
  if (!TryEncodeDateMs(f[0], f[1], f[2], date)) return false;
  timeValid = TryEncodeTimeMs(f[3], f[4], f[5], f[6], time);
  ms = timeValid ? date + time : date;
  return true;
}

}  // namespace

const rt::ClassInfo& TJDateObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<TJDateObject>("TJDateObject", &TJObject::StaticClassInfo())
                                     .property("format", &TJDateObject::Format, &TJDateObject::SetFormat)
                                     .build();
    RegisterKnownClass(TJKnownClass::Date, built);
    return built;
  }();
  return info;
}

TJDateObject::TJDateObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Date");
  time_ = NowEpochMs();
  int n = ArgCount(param);
  if (n == 1) {
    const TJValue& arg = (*param)[0];
    if (auto* other = dynamic_cast<TJDateObject*>(arg.vObject())) {
      time_ = other->time_;  // a copy keeps the moment to the millisecond
      return;
    }
    if (IsNumeric(&arg)) {
      double ms = std::trunc(AsDouble(&arg));
      if (std::fabs(ms) <= kMaxTime) time_ = int64_t(ms);
      return;
    }
  }
  if (n >= 1) time_ = int64_t(ParseArgs(param));
}

TDateTime TJDateObject::GetLocalDateTime() const { return EpochMsToDateTime(double(UtcToLocalMs(time_))); }
TDateTime TJDateObject::GetUTCDateTime() const { return EpochMsToDateTime(double(time_)); }

void TJDateObject::SetLocalDateTime(TDateTime local) {
  time_ = LocalToUtcMs(msOf(local));
}

void TJDateObject::SetUTCDateTime(TDateTime utc) { time_ = msOf(utc); }

double TJDateObject::ParseArgs(TJValueList* args) {
  int n = ArgCount(args);
  int64_t now = NowEpochMs();
  if (n == 0) return double(now);
  // One text names a UTC date-time.
  if (n == 1) return double(ParseDateTextMs(AsString(&(*args)[0]), true));
  TDateFields f = SplitMs(now);
  int fields[7] = {f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond};
  for (int i = 0; i < n && i < 7; ++i) {
    int32_t v;
    if (!fieldValue((*args)[i], v)) return double(now);
    fields[i] = i == 1 ? v + 1 : v;
  }
  int64_t ms;
  bool timeValid;
  if (!encode(fields, ms, timeValid)) return double(now);
  return double(ms);
}

void TJDateObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("getFullYear", &TJDateObject::DoGetFullYear);
  RegistMethod("setFullYear", &TJDateObject::DoSetFullYear);
  RegistMethod("getYear", &TJDateObject::DoGetYear);
  RegistMethod("setYear", &TJDateObject::DoSetYear);
  RegistMethod("getMonth", &TJDateObject::DoGetMonth);
  RegistMethod("setMonth", &TJDateObject::DoSetMonth);
  RegistMethod("getDate", &TJDateObject::DoGetDate);
  RegistMethod("setDate", &TJDateObject::DoSetDate);
  RegistMethod("getDay", &TJDateObject::DoGetDay);
  RegistMethod("getHours", &TJDateObject::DoGetHours);
  RegistMethod("setHours", &TJDateObject::DoSetHours);
  RegistMethod("getMinutes", &TJDateObject::DoGetMinutes);
  RegistMethod("setMinutes", &TJDateObject::DoSetMinutes);
  RegistMethod("getSeconds", &TJDateObject::DoGetSeconds);
  RegistMethod("setSeconds", &TJDateObject::DoSetSeconds);
  RegistMethod("getMilliseconds", &TJDateObject::DoGetMilliseconds);
  RegistMethod("setMilliseconds", &TJDateObject::DoSetMilliseconds);
  RegistMethod("getUTCFullYear", &TJDateObject::DoGetUTCFullYear);
  RegistMethod("setUTCFullYear", &TJDateObject::DoSetUTCFullYear);
  RegistMethod("getUTCYear", &TJDateObject::DoGetUTCYear);
  RegistMethod("setUTCYear", &TJDateObject::DoSetUTCYear);
  RegistMethod("getUTCMonth", &TJDateObject::DoGetUTCMonth);
  RegistMethod("setUTCMonth", &TJDateObject::DoSetUTCMonth);
  RegistMethod("getUTCDate", &TJDateObject::DoGetUTCDate);
  RegistMethod("setUTCDate", &TJDateObject::DoSetUTCDate);
  RegistMethod("getUTCDay", &TJDateObject::DoGetUTCDay);
  RegistMethod("getUTCHours", &TJDateObject::DoGetUTCHours);
  RegistMethod("setUTCHours", &TJDateObject::DoSetUTCHours);
  RegistMethod("getUTCMinutes", &TJDateObject::DoGetUTCMinutes);
  RegistMethod("setUTCMinutes", &TJDateObject::DoSetUTCMinutes);
  RegistMethod("getUTCSeconds", &TJDateObject::DoGetUTCSeconds);
  RegistMethod("setUTCSeconds", &TJDateObject::DoSetUTCSeconds);
  RegistMethod("getUTCMilliseconds", &TJDateObject::DoGetUTCMilliseconds);
  RegistMethod("setUTCMilliseconds", &TJDateObject::DoSetUTCMilliseconds);
  RegistMethod("getTime", &TJDateObject::DoGetTime);
  RegistMethod("setTime", &TJDateObject::DoSetTime);
  RegistMethod("getTimezoneOffset", &TJDateObject::DoGetTimezoneOffset);
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("toLocaleString", &TJObject::DoToString);
  RegistMethod("toGMTString", &TJDateObject::DoToGMTString);
  RegistMethod("toUTCString", &TJDateObject::DoToGMTString);
  RegistMethod("UTC", &TJDateObject::DoParse);
  RegistMethod("parse", &TJDateObject::DoParse);
}

std::string TJDateObject::ToString(const TJValue*) { return FormatDateTime(format_, fields(false)); }
void TJDateObject::ValueOf(TJValue& value) { value.SetDouble(double(time_)); }
double TJDateObject::ToNumber() { return double(time_); }

TDateFields TJDateObject::fields(bool utc) const { return SplitMs(utc ? time_ : UtcToLocalMs(time_)); }

void TJDateObject::getField(bool utc, Field field, TJValue& result) const {
  TDateFields f = fields(utc);
  const int values[7] = {f.year, f.month - 1, f.day, f.hour, f.minute, f.second, f.millisecond};
  result.SetInteger(values[field]);
}

void TJDateObject::setField(bool utc, Field field, TJValueList* args, TJValue& result, int add, bool yearBase) {
  result.Clear();
  int32_t v;
  if (!IsParam1(args) || !fieldValue((*args)[0], v)) return;
  if (yearBase && v >= 0 && v < 100) v += 1900;
  TDateFields f = fields(utc);
  int values[7] = {f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond};
  values[field] = v + add;
  int64_t ms;
  bool timeValid;
  if (!encode(values, ms, timeValid) || !timeValid) return;  // the object stays as it was
  time_ = utc ? ms : LocalToUtcMs(ms);
  result.SetDouble(double(time_));
}

void TJDateObject::DoGetFullYear(TJValueList*, TJValue& r) { getField(false, fYear, r); }
void TJDateObject::DoSetFullYear(TJValueList* a, TJValue& r) { setField(false, fYear, a, r); }

// getYear: years before 2000 less 1900, the full year from 2000 on.
void TJDateObject::DoGetYear(TJValueList*, TJValue& r) {
  int year = fields(false).year;
  r.SetInteger(year < 2000 ? year - 1900 : year);
}

// setYear: 0..99 are years of the 1900s.
void TJDateObject::DoSetYear(TJValueList* a, TJValue& r) { setField(false, fYear, a, r, 0, true); }
void TJDateObject::DoGetMonth(TJValueList*, TJValue& r) { getField(false, fMonth, r); }
void TJDateObject::DoSetMonth(TJValueList* a, TJValue& r) { setField(false, fMonth, a, r, 1); }
void TJDateObject::DoGetDate(TJValueList*, TJValue& r) { getField(false, fDay, r); }
void TJDateObject::DoSetDate(TJValueList* a, TJValue& r) { setField(false, fDay, a, r); }
void TJDateObject::DoGetDay(TJValueList*, TJValue& r) { r.SetInteger(fields(false).dayOfWeek); }
void TJDateObject::DoGetHours(TJValueList*, TJValue& r) { getField(false, fHour, r); }
void TJDateObject::DoSetHours(TJValueList* a, TJValue& r) { setField(false, fHour, a, r); }
void TJDateObject::DoGetMinutes(TJValueList*, TJValue& r) { getField(false, fMinute, r); }
void TJDateObject::DoSetMinutes(TJValueList* a, TJValue& r) { setField(false, fMinute, a, r); }
void TJDateObject::DoGetSeconds(TJValueList*, TJValue& r) { getField(false, fSecond, r); }
void TJDateObject::DoSetSeconds(TJValueList* a, TJValue& r) { setField(false, fSecond, a, r); }
void TJDateObject::DoGetMilliseconds(TJValueList*, TJValue& r) { getField(false, fMillisecond, r); }
void TJDateObject::DoSetMilliseconds(TJValueList* a, TJValue& r) { setField(false, fMillisecond, a, r); }

void TJDateObject::DoGetUTCFullYear(TJValueList*, TJValue& r) { getField(true, fYear, r); }
void TJDateObject::DoSetUTCFullYear(TJValueList* a, TJValue& r) { setField(true, fYear, a, r); }

void TJDateObject::DoGetUTCYear(TJValueList*, TJValue& r) {
  int year = fields(true).year;
  r.SetInteger(year < 2000 ? year - 1900 : year);
}

void TJDateObject::DoSetUTCYear(TJValueList* a, TJValue& r) { setField(true, fYear, a, r, 0, true); }
void TJDateObject::DoGetUTCMonth(TJValueList*, TJValue& r) { getField(true, fMonth, r); }
void TJDateObject::DoSetUTCMonth(TJValueList* a, TJValue& r) { setField(true, fMonth, a, r, 1); }
void TJDateObject::DoGetUTCDate(TJValueList*, TJValue& r) { getField(true, fDay, r); }
void TJDateObject::DoSetUTCDate(TJValueList* a, TJValue& r) { setField(true, fDay, a, r); }
void TJDateObject::DoGetUTCDay(TJValueList*, TJValue& r) { r.SetInteger(fields(true).dayOfWeek); }
void TJDateObject::DoGetUTCHours(TJValueList*, TJValue& r) { getField(true, fHour, r); }
void TJDateObject::DoSetUTCHours(TJValueList* a, TJValue& r) { setField(true, fHour, a, r); }
void TJDateObject::DoGetUTCMinutes(TJValueList*, TJValue& r) { getField(true, fMinute, r); }
void TJDateObject::DoSetUTCMinutes(TJValueList* a, TJValue& r) { setField(true, fMinute, a, r); }
void TJDateObject::DoGetUTCSeconds(TJValueList*, TJValue& r) { getField(true, fSecond, r); }
void TJDateObject::DoSetUTCSeconds(TJValueList* a, TJValue& r) { setField(true, fSecond, a, r); }
void TJDateObject::DoGetUTCMilliseconds(TJValueList*, TJValue& r) { getField(true, fMillisecond, r); }
void TJDateObject::DoSetUTCMilliseconds(TJValueList* a, TJValue& r) { setField(true, fMillisecond, a, r); }

void TJDateObject::DoGetTime(TJValueList*, TJValue& r) { r.SetDouble(double(time_)); }

// setTime(ms): the moment to the nearest millisecond; nothing without a number in range.
void TJDateObject::DoSetTime(TJValueList* a, TJValue& r) {
  r.Clear();
  if (!IsParam1(a) || (*a)[0].ValueType() == vtNaN || (*a)[0].ValueType() == vtInfinity) return;
  double ms = std::nearbyint(AsDouble(&(*a)[0]));
  if (std::fabs(ms) > kMaxTime) return;
  time_ = int64_t(ms);
  r.SetDouble(double(time_));
}

// getTimezoneOffset: minutes from local time to UTC at this moment (-540 in Japan, 300 in New York
// in winter, -330 in India).
void TJDateObject::DoGetTimezoneOffset(TJValueList*, TJValue& r) { r.SetInteger(-LocalOffsetSeconds(time_) / 60); }

void TJDateObject::DoToGMTString(TJValueList*, TJValue& r) { r.SetString(FormatDateTime(format_, fields(true))); }

void TJDateObject::DoParse(TJValueList* a, TJValue& r) { r.SetDouble(ParseArgs(a)); }

}  // namespace stdlib
