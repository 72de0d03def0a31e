#include "net/http_date.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/rt/utf8.h"

namespace net {

const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

namespace {

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a date-time
constexpr double kMsPerDay = 86400000.0;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

TDateTime FromTm(const std::tm& t, int millisecond) {
  TDateTime result = 0;
  TryEncodeDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, std::min(t.tm_sec, 59),
                    millisecond, result);
  return result;
}

bool IsNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// "h", "h:m" or "h:m:s" as a fraction of a day; 0 for any other text.
double TimeOfDay(const std::string& text) {
  std::vector<int> parts;
  size_t start = 0;
  for (;;) {
    size_t colon = text.find(':', start);
    int value;
    if (!IsNumber(text.substr(start, colon - start), value)) return 0;
    parts.push_back(value);
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  if (parts.size() > 3) return 0;
  parts.resize(3, 0);
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return 0;
  return (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
}

std::vector<std::string> SplitAtBlanksAndHyphens(const std::string& text) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '-') {
      if (!field.empty()) fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  if (!field.empty()) fields.push_back(field);
  return fields;
}

}  // namespace

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999) {
    return false;
  }
  double days = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDays);
  result = days + (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

TSystemTime DecodeDateTime(TDateTime value) {
  auto ms = static_cast<int64_t>(std::llround(value * kMsPerDay));
  int64_t days = ms / 86400000;
  int64_t rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  int y, m, d;
  CivilFromDays(days - kUnixEpochDays, y, m, d);
  TSystemTime t;
  t.wYear = static_cast<uint16_t>(y);
  t.wMonth = static_cast<uint16_t>(m);
  t.wDay = static_cast<uint16_t>(d);
  int64_t weekday = (days - kUnixEpochDays + 4) % 7;  // 1970-01-01 was a Thursday
  t.wDayOfWeek = static_cast<uint16_t>(weekday < 0 ? weekday + 7 : weekday);
  t.wHour = static_cast<uint16_t>(rest / 3600000);
  t.wMinute = static_cast<uint16_t>(rest / 60000 % 60);
  t.wSecond = static_cast<uint16_t>(rest / 1000 % 60);
  t.wMilliseconds = static_cast<uint16_t>(rest % 1000);
  return t;
}

TDateTime NowDateTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  time_t seconds = now.tv_sec;
  localtime_r(&seconds, &local);
  return FromTm(local, static_cast<int>(now.tv_nsec / 1000000));
}

TDateTime UnixTimeToLocal(int64_t seconds) {
  time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return NowDateTime();
  return FromTm(local, 0);
}

int64_t LocalToUnixTime(TDateTime local) {
  TSystemTime s = DecodeDateTime(local);
  std::tm t{};
  t.tm_year = s.wYear - 1900;
  t.tm_mon = s.wMonth - 1;
  t.tm_mday = s.wDay;
  t.tm_hour = s.wHour;
  t.tm_min = s.wMinute;
  t.tm_sec = s.wSecond;
  t.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&t));
}

TDateTime UtcToLocalTime(TDateTime gmt) {
  if (!std::isfinite(gmt)) return NowDateTime();
  auto seconds = static_cast<int64_t>(std::floor((gmt - kUnixEpochDays) * 86400.0 + 0.0005));
  return UnixTimeToLocal(seconds);
}

TDateTime SystemTimeToDateTimeSafe(const TSystemTime& time) {
  TDateTime result;
  if (!TryEncodeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, 0, result)) {
    return NowDateTime();
  }
  return result;
}

int MonthNameToNumber(const std::string& name) {
  for (int i = 0; i < 12; ++i) {
    if (rt::sameText(name, ShortMonthNames[i])) return i + 1;
  }
  for (int i = 0; i < 12; ++i) {
    if (rt::sameText(name, LongMonthNames[i])) return i + 1;
  }
  return 1;
}

TDateTime ParseHttpDate(const std::string& text) {
  TDateTime now = NowDateTime();
  TSystemTime today = DecodeDateTime(now);
  std::vector<std::string> fields = SplitAtBlanksAndHyphens(text);
  if (fields.size() < 5) return now;
  int day, year;
  if (!IsNumber(fields[1], day)) day = today.wDay;
  int month = MonthNameToNumber(fields[2]);
  if (!IsNumber(fields[3], year)) {
    year = today.wYear;
  } else if (year < 100) {
    // Two-digit cookie years: 70-99 are 19xx, 00-69 are 20xx.
    year += year >= 70 ? 1900 : 2000;
  }
  TDateTime date;
  if (!TryEncodeDateTime(year, month, day, 0, 0, 0, 0, date)) return now;
  return UtcToLocalTime(date + TimeOfDay(fields[4]));
}

std::string FormatHttpDate(const TSystemTime& time) {
  TSystemTime t = DecodeDateTime(SystemTimeToDateTimeSafe(time));
  char text[64];
  std::snprintf(text, sizeof text, "%s, %.2d %s %.4d %.2d:%.2d:%.2d GMT", ShortDayNames[t.wDayOfWeek], t.wDay,
                ShortMonthNames[t.wMonth - 1], t.wYear, t.wHour, t.wMinute, t.wSecond);
  return text;
}

std::string FormatHttpDateTime(TDateTime local) {
  // The text says GMT, so the local time is converted first.
  int64_t seconds = LocalToUnixTime(local);
  TDateTime gmt = static_cast<double>(kUnixEpochDays) + static_cast<double>(seconds) / 86400.0;
  return FormatHttpDate(DecodeDateTime(gmt));
}

}  // namespace net
