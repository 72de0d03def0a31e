#include "net/http_date.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "net/url.h"
#include "platform/rt/utf8.h"
#include "regex/regexpr.h"

namespace net {

const char* const ShortMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const LongMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
const char* const ShortDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

namespace {

constexpr double kUnixEpochDays = 25569;  // 1970-01-01 as a date-time

TDateTime FromTm(const std::tm& t) {
  TDateTime result = 0;
  TryEncodeDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, std::min(t.tm_sec, 59), 0,
                    result);
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

}  // namespace

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime& result) {
  TDateTime date, time;
  if (!support::TryEncodeDate(year, month, day, date) || !support::TryEncodeTime(hour, minute, second, millisecond, time)) {
    return false;
  }
  result = date + time;
  return true;
}

TSystemTime DecodeDateTime(TDateTime value) {
  auto ms = static_cast<int64_t>(std::llround(value * 86400000.0));
  int64_t days = ms / 86400000, rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  int y, m, d;
  support::DecodeDate(static_cast<double>(days), y, m, d);
  TSystemTime t;
  t.wYear = static_cast<uint16_t>(y);
  t.wMonth = static_cast<uint16_t>(m);
  t.wDay = static_cast<uint16_t>(d);
  int64_t weekday = (days + 6) % 7;  // day 0, 1899-12-30, was a Saturday
  t.wDayOfWeek = static_cast<uint16_t>(weekday < 0 ? weekday + 7 : weekday);
  t.wHour = static_cast<uint16_t>(rest / 3600000);
  t.wMinute = static_cast<uint16_t>(rest / 60000 % 60);
  t.wSecond = static_cast<uint16_t>(rest / 1000 % 60);
  t.wMilliseconds = static_cast<uint16_t>(rest % 1000);
  return t;
}

TDateTime UnixTimeToLocal(int64_t seconds) {
  time_t t = static_cast<time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&t, &local)) return support::Now();
  return FromTm(local);
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
  if (!std::isfinite(gmt)) return support::Now();
  auto seconds = static_cast<int64_t>(std::floor((gmt - kUnixEpochDays) * 86400.0 + 0.0005));
  return UnixTimeToLocal(seconds);
}

TDateTime SystemTimeToDateTimeSafe(const TSystemTime& time) {
  TDateTime result;
  if (!TryEncodeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, 0, result)) {
    return support::Now();
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
  TDateTime now = support::Now();
  TSystemTime today = DecodeDateTime(now);
  std::vector<std::string> fields;
  regex::SplitByPattern("[\\s-]+", Trim(text), fields);
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
  return UtcToLocalTime(date + support::TextToTime(fields[4], 0));
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
  TDateTime gmt = kUnixEpochDays + static_cast<double>(seconds) / 86400.0;
  return FormatHttpDate(DecodeDateTime(gmt));
}

}  // namespace net
