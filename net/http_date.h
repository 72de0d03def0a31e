// Date-times as the library keeps them (days since 1899-12-30 with the time of day as the fraction,
// in local time, 0 meaning "none"), the HTTP date texts and the English month and day names.
#pragma once

#include <cstdint>
#include <string>

#include "support/date_time.h"

namespace net {

using support::TDateTime;

struct TSystemTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;  // 0 = Sunday
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

extern const char* const ShortMonthNames[12];
extern const char* const LongMonthNames[12];
extern const char* const ShortDayNames[7];

// False for a date or time that does not exist (month 13, February 30, hour 24...).
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime& result);
TSystemTime DecodeDateTime(TDateTime value);
// Seconds since 1970-01-01 UTC <-> local date-times, through the system's time-zone rules.
TDateTime UnixTimeToLocal(int64_t seconds);
int64_t LocalToUnixTime(TDateTime local);

// A date-time read as GMT, in local time to the second; the current time when it cannot be converted.
TDateTime UtcToLocalTime(TDateTime gmt);
// The record's date and time to the second; the current time when they do not exist.
TDateTime SystemTimeToDateTimeSafe(const TSystemTime& time);
// 1..12 from a short or long English month name in any letter case; 1 when none matches.
int MonthNameToNumber(const std::string& name);
// "Sun, 06 Nov 1994 08:49:37 GMT" and the cookie form "Sunday, 06-Nov-94 08:49:37 GMT" as local time;
// the current time when the text cannot be read.
TDateTime ParseHttpDate(const std::string& text);
// "Sun, 06 Nov 1994 08:49:37 GMT" from a record that holds GMT.
std::string FormatHttpDate(const TSystemTime& time);
// The HTTP date of a local date-time.
std::string FormatHttpDateTime(TDateTime local);

}  // namespace net
