// Date-time values and the tolerant text-to-date-time parsing the internet library and the host
// objects rely on.
//
// A TDateTime counts days since 1899-12-30; its fraction is the time of day. Parsing follows the
// process's date format: numbers separated by DateSeparator in the order of ShortDateFormat (a
// missing year is this year; a year of one or two digits falls within TwoDigitYearCenturyWindow
// years back from now), then optionally a time h[:m[:s[.ms]]] with TimeSeparator, with an AM/PM
// marker before or after it (TimeAMString/TimePMString or "AM"/"PM", letter case ignored).
// Blanks around the parts are allowed; anything else fails.
#pragma once

#include <string>
#include <string_view>

#include "platform/rt/exception.h"

namespace support {

using TDateTime = double;

struct TFormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongTimeFormat = "h:nn:ss";
  std::string TimeAMString = "\xe5\x8d\x88\xe5\x89\x8d";  // 午前
  std::string TimePMString = "\xe5\x8d\x88\xe5\xbe\x8c";  // 午後
  int TwoDigitYearCenturyWindow = 50;
};

// The process's date format, with Japanese defaults. Code that changes it for a while restores it
// (see ScopedFormatSettings).
TFormatSettings& FormatSettings();

// Puts `settings` in place of the process's date format until the end of the scope, also when the
// scope is left by an exception.
class ScopedFormatSettings {
 public:
  explicit ScopedFormatSettings(const TFormatSettings& settings) : saved_(FormatSettings()) {
    FormatSettings() = settings;
  }
  ~ScopedFormatSettings() { FormatSettings() = saved_; }
  ScopedFormatSettings(const ScopedFormatSettings&) = delete;
  ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

 private:
  TFormatSettings saved_;
};

bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
// EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);

// The current local date and time.
TDateTime Now();

bool TryStrToDateTime(std::string_view text, TDateTime& result, const TFormatSettings& settings);
bool TryStrToTime(std::string_view text, TDateTime& result, const TFormatSettings& settings);
bool TryStrToDate(std::string_view text, TDateTime& result, const TFormatSettings& settings);
// With the process's date format; EConvertError "'<text>' is not a valid date and time",
// "... valid time", "... valid date".
TDateTime StrToDateTime(std::string_view text);
TDateTime StrToTime(std::string_view text);
TDateTime StrToDate(std::string_view text);

// StrToDateTime, or `fallback` when it raises anything.
TDateTime TextToDateTime(std::string_view text, TDateTime fallback);
// StrToTime, or `fallback` on a conversion error; other errors pass on.
TDateTime TextToTime(std::string_view text, TDateTime fallback);

}  // namespace support
