// Moments, local time and the lenient date-text reader shared by the Date object and the host
// objects.
//
// Two representations meet here:
// - a date-time value (`TDateTime`): days since 1899-12-30 with the time of day as the fraction.
//   Before that day the value is negative and the fraction still counts the time of day away from
//   zero (-1.25 is 1899-12-29 06:00), the way the date encoders of the support library write it.
// - epoch milliseconds: milliseconds since 1970-01-01 00:00 UTC. The Date object keeps its moment
//   this way; civil fields come from our own proleptic Gregorian arithmetic.
//
// Local time is the C library's: the offset of each moment comes from `localtime_r` (`tm_gmtoff`),
// so `TZ` and daylight saving apply to every moment with the rules in force at that moment.
#pragma once

#include <cstdint>
#include <string_view>

#include "support/date_time.h"

namespace stdlib {

using TDateTime = support::TDateTime;

constexpr double kUnixDateDelta = 25569;  // the date-time value of 1970-01-01
constexpr int64_t kMsPerDay = 86400000;

// --- date-time values <-> epoch milliseconds ---
// (d - 25569) x 86400000 rounded to the nearest millisecond (halves to even).
double DateTimeToEpochMs(TDateTime d);
// ms / 86400000 + 25569.
TDateTime EpochMsToDateTime(double ms);

// --- the clock ---
// Milliseconds since 1970 UTC now. Tests can put a fixed clock in place (null restores the real one).
int64_t NowEpochMs();
using TClockFunc = int64_t (*)();
void SetClock(TClockFunc clock);

// --- time zone ---
// Seconds east of UTC in force at the moment (0 when the C library cannot tell).
int32_t LocalOffsetSeconds(int64_t utcMs);
// The local wall-clock time of a moment, counted like epoch milliseconds.
int64_t UtcToLocalMs(int64_t utcMs);
// The moment of a local wall-clock time. A time skipped by a forward change of the clocks is read
// with the offset in force before the change (so it lands that much later); a time that occurs
// twice is the earlier moment.
int64_t LocalToUtcMs(int64_t localMs);

// Current UTC minus current local time, in days.
double UTCBias();
// Local <-> UTC date-time values, each with the offset in force at that moment.
TDateTime LocalToUTC(TDateTime d);
TDateTime UTCToLocal(TDateTime d);
// The current UTC date-time.
TDateTime NowUTC();

// --- civil fields ---
struct TDateFields {
  int year = 1970, month = 1, day = 1;  // month 1..12
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int dayOfWeek = 4;  // 0 Sunday .. 6 Saturday
};
// The fields of a millisecond count (no zone applied).
TDateFields SplitMs(int64_t ms);
// Milliseconds of a date at midnight; false unless year 1..9999, month 1..12 and the day exists.
bool TryEncodeDateMs(int year, int month, int day, int64_t& ms);
// Milliseconds into the day; false unless hour 0..23, minute and second 0..59, ms 0..999.
bool TryEncodeTimeMs(int hour, int minute, int second, int millisecond, int64_t& ms);

// --- reading date texts ---
// The local date-time a text names. First the date format of the process (support::FormatSettings:
// "2001/02/05 10:20:30", "2001/02/05", a time alone on today's date); else the text is split at
// runs of commas, colons and white space and read as "month-name day year hour minute second ms"
// (the year first; a missing part ends the reading, and what was not read is taken from now,
// except that the parts of the time below the last one read are 0). An impossible date gives now;
// an impossible time gives the date at midnight. Never fails.
TDateTime ParseDateText(std::string_view text);
// The same as local wall-clock milliseconds. With `utc` the text is read in UTC instead: what it
// names is a UTC date-time, and the parts it leaves out (today, now) are those of UTC, so that a
// text naming nothing gives the current moment.
int64_t ParseDateTextMs(std::string_view text, bool utc = false);

}  // namespace stdlib
