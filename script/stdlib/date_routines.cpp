#include "script/stdlib/date_routines.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "net/http_date.h"
#include "platform/rt/numtext.h"

namespace stdlib {

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (any year).
int64_t daysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = floorDiv(y, 400);
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  int64_t era = floorDiv(z, 146097);
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

TClockFunc gClock = nullptr;

void ensureZone() {
  static std::once_flag once;
  std::call_once(once, [] { tzset(); });
}

// Milliseconds that fit every conversion here (about 290,000 years either side of 1970).
constexpr int64_t kMsLimit = int64_t(9) << 50;

int64_t toMs(double ms) {
  if (!std::isfinite(ms)) return 0;
  double r = std::nearbyint(ms);
  if (r > double(kMsLimit)) return kMsLimit;
  if (r < -double(kMsLimit)) return -kMsLimit;
  return int64_t(r);
}

}  // namespace

// --- date-time values ---

double DateTimeToEpochMs(TDateTime d) {
  if (!std::isfinite(d)) return 0;
  // Before 1899-12-30 the fraction is the time of day counted away from zero.
  double days = std::trunc(d);
  double fraction = std::fabs(d - days);
  double ms = (days - kUnixDateDelta) * double(kMsPerDay) + fraction * double(kMsPerDay);
  return std::nearbyint(ms);
}

TDateTime EpochMsToDateTime(double ms) {
  if (!std::isfinite(ms)) return kUnixDateDelta;
  double days = std::floor(ms / double(kMsPerDay));
  double fraction = (ms - days * double(kMsPerDay)) / double(kMsPerDay);
  double dayCount = days + kUnixDateDelta;
  return dayCount >= 0 ? dayCount + fraction : dayCount - fraction;
}

// --- clock ---

int64_t NowEpochMs() {
  if (gClock) return gClock();
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SetClock(TClockFunc clock) { gClock = clock; }

// --- time zone ---

int32_t LocalOffsetSeconds(int64_t utcMs) {
  ensureZone();
  time_t t = time_t(floorDiv(utcMs, 1000));
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return 0;
  return int32_t(tm.tm_gmtoff);
}

int64_t UtcToLocalMs(int64_t utcMs) { return utcMs + int64_t(LocalOffsetSeconds(utcMs)) * 1000; }

int64_t LocalToUtcMs(int64_t localMs) {
  // The offsets a day before and a day after bracket any change of the clocks near this time
  // (offsets stay well below a day).
  int64_t before = int64_t(LocalOffsetSeconds(localMs - kMsPerDay)) * 1000;
  int64_t after = int64_t(LocalOffsetSeconds(localMs + kMsPerDay)) * 1000;
  if (before == after) return localMs - before;
  int64_t first = localMs - before, second = localMs - after;
  bool firstHolds = int64_t(LocalOffsetSeconds(first)) * 1000 == before;
  bool secondHolds = int64_t(LocalOffsetSeconds(second)) * 1000 == after;
  if (firstHolds && secondHolds) return std::min(first, second);  // the clocks went back
  if (secondHolds) return second;
  return first;  // either valid only with the earlier offset, or skipped (the clocks went forward)
}

double UTCBias() { return -double(LocalOffsetSeconds(NowEpochMs())) / 86400.0; }

TDateTime LocalToUTC(TDateTime d) {
  return EpochMsToDateTime(double(LocalToUtcMs(toMs(DateTimeToEpochMs(d)))));
}

TDateTime UTCToLocal(TDateTime d) {
  return EpochMsToDateTime(double(UtcToLocalMs(toMs(DateTimeToEpochMs(d)))));
}

TDateTime NowUTC() { return EpochMsToDateTime(double(NowEpochMs())); }

// --- civil fields ---

TDateFields SplitMs(int64_t ms) {
  TDateFields f;
  int64_t days = floorDiv(ms, kMsPerDay);
  int64_t inDay = ms - days * kMsPerDay;
  int64_t y;
  civilFromDays(days, y, f.month, f.day);
  f.year = int(y);
  f.hour = int(inDay / 3600000);
  f.minute = int(inDay / 60000 % 60);
  f.second = int(inDay / 1000 % 60);
  f.millisecond = int(inDay % 1000);
  f.dayOfWeek = int(days + 4 - floorDiv(days + 4, 7) * 7);  // 1970-01-01 was a Thursday
  return f;
}

bool TryEncodeDateMs(int year, int month, int day, int64_t& ms) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return false;
  ms = daysFromCivil(year, month, day) * kMsPerDay;
  return true;
}

bool TryEncodeTimeMs(int hour, int minute, int second, int millisecond, int64_t& ms) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  ms = ((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return true;
}

// --- reading date texts ---

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The parts between runs of commas, colons and white space.
std::vector<std::string_view> splitParts(std::string_view s) {
  std::vector<std::string_view> parts;
  size_t start = 0, i = 0;
  while (i < s.size()) {
    if (s[i] == ',' || s[i] == ':' || isBlank(s[i])) {
      parts.push_back(s.substr(start, i - start));
      while (i < s.size() && (s[i] == ',' || s[i] == ':' || isBlank(s[i]))) ++i;
      start = i;
    } else {
      ++i;
    }
  }
  parts.push_back(s.substr(start));
  return parts;
}

// A local wall-clock time as milliseconds, from a date-time value.
int64_t localMsOf(TDateTime d) { return toMs(DateTimeToEpochMs(d)); }

}  // namespace

int64_t ParseDateTextMs(std::string_view text, bool utc) {
  text = trim(text);
  int64_t now = utc ? NowEpochMs() : UtcToLocalMs(NowEpochMs());
  const support::TFormatSettings& fs = support::FormatSettings();

  TDateTime value;
  if (support::TryStrToTime(text, value, fs)) {
    // A time alone belongs to today.
    int64_t today = floorDiv(now, kMsPerDay) * kMsPerDay;
    return today + int64_t(std::nearbyint(value * double(kMsPerDay)));
  }
  if (support::TryStrToDateTime(text, value, fs)) return localMsOf(value);

  TDateFields f = SplitMs(now);
  int fields[7] = {f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond};
  std::vector<std::string_view> parts = splitParts(text);
  // Parts in reading order: year (3rd), month name (1st), day (2nd), then hour .. millisecond.
  static const int partOf[7] = {2, 0, 1, 3, 4, 5, 6};
  for (int k = 0; k < 7; ++k) {
    size_t part = size_t(partOf[k]);
    if (part >= parts.size()) break;
    int32_t n;
    if (k == 1) {
      fields[1] = net::MonthNameToNumber(std::string(parts[part]));
    } else if (rt::TryStrToInt(parts[part], n)) {
      fields[k] = n;
      if (k == 3) fields[4] = fields[5] = fields[6] = 0;  // a time that is read starts from :00.000
    }
  }
  int64_t date, time;
  if (!TryEncodeDateMs(fields[0], fields[1], fields[2], date)) return now;
  if (!TryEncodeTimeMs(fields[3], fields[4], fields[5], fields[6], time)) return date;
  return date + time;
}

TDateTime ParseDateText(std::string_view text) { return EpochMsToDateTime(double(ParseDateTextMs(text))); }

}  // namespace stdlib
