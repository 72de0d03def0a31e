#include "support/date_time.h"

#include <cmath>
#include <ctime>
#include <string>

#include "platform/rt/utf8.h"

namespace support {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days from 0001-01-01 to the given date (proleptic Gregorian).
long daysBefore(int y, int m, int d) {
  long yy = y - 1;
  long n = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int k = 1; k < m; ++k) n += daysInMonth(y, k);
  return n + d - 1;
}

const long kDelta = 693593;  // days from 0001-01-01 to 1899-12-30

int currentYear() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

// Reads the text left to right; every scan skips nothing unless it says so.
class Scanner {
 public:
  explicit Scanner(std::string_view s) : s_(s) {}
  bool atEnd() const { return pos_ >= s_.size(); }
  size_t pos() const { return pos_; }
  void reset(size_t pos) { pos_ = pos; }

  void blanks() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }
  bool ch(char c) {
    blanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // Digits after optional blanks; `digits` receives how many.
  bool number(int& value, int& digits) {
    blanks();
    size_t start = pos_;
    long v = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      if (pos_ - start >= 9) return false;
      v = v * 10 + (s_[pos_] - '0');
      ++pos_;
    }
    digits = static_cast<int>(pos_ - start);
    value = static_cast<int>(v);
    return digits > 0;
  }
  // The word, letter case ignored (ASCII), after optional blanks.
  bool word(std::string_view w) {
    if (w.empty()) return false;
    size_t save = pos_;
    blanks();
    if (s_.size() - pos_ >= w.size() && rt::sameText(s_.substr(pos_, w.size()), w)) {
      pos_ += w.size();
      return true;
    }
    pos_ = save;
    return false;
  }

 private:
  std::string_view s_;
  size_t pos_ = 0;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder orderOf(const std::string& format) {
  for (char c : format) {
    switch (rt::asciiLower(c)) {
      case 'y':
        return DateOrder::YMD;
      case 'm':
        return DateOrder::MDY;
      case 'd':
        return DateOrder::DMY;
    }
  }
  return DateOrder::MDY;
}

bool scanDate(Scanner& sc, TDateTime& date, const TFormatSettings& fs) {
  int n1, n2, n3 = 0, l1, l2, l3 = 0;
  if (!sc.number(n1, l1) || !sc.ch(fs.DateSeparator) || !sc.number(n2, l2)) return false;
  bool three = false;
  if (sc.ch(fs.DateSeparator)) {
    if (!sc.number(n3, l3)) return false;
    three = true;
  }
  int y, m, d, yearDigits;
  DateOrder order = orderOf(fs.ShortDateFormat);
  if (!three) {
    y = currentYear();
    yearDigits = 4;
    if (order == DateOrder::DMY) {
      d = n1;
      m = n2;
    } else {
      m = n1;
      d = n2;
    }
  } else {
    switch (order) {
      case DateOrder::MDY:
        m = n1, d = n2, y = n3, yearDigits = l3;
        break;
      case DateOrder::DMY:
        d = n1, m = n2, y = n3, yearDigits = l3;
        break;
      default:
        y = n1, m = n2, d = n3, yearDigits = l1;
        break;
    }
  }
  if (yearDigits <= 2) {
    int base = currentYear() - fs.TwoDigitYearCenturyWindow;
    y += base / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
  }
  return TryEncodeDate(y, m, d, date);
}

bool scanTime(Scanner& sc, TDateTime& time, const TFormatSettings& fs) {
  auto marker = [&](int& base) {
    if (sc.word(fs.TimeAMString) || sc.word("AM"))
      base = 0;
    else if (sc.word(fs.TimePMString) || sc.word("PM"))
      base = 12;
  };
  int base = -1;
  marker(base);
  int h, n = 0, s = 0, ms = 0, digits;
  if (!sc.number(h, digits)) return false;
  if (sc.ch(fs.TimeSeparator)) {
    if (!sc.number(n, digits)) return false;
    if (sc.ch(fs.TimeSeparator)) {
      if (!sc.number(s, digits)) return false;
      if (sc.ch(fs.DecimalSeparator) && !sc.number(ms, digits)) return false;
    }
  }
  if (base < 0) marker(base);
  if (base >= 0) {
    if (h == 0 || h > 12) return false;
    if (h == 12) h = 0;
    h += base;
  }
  sc.blanks();
  return TryEncodeTime(h, n, s, ms, time);
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
    return false;
  result = static_cast<double>(daysBefore(year, month, day) - kDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  result = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime r;
  if (!TryEncodeDate(year, month, day, r)) throw rt::EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime r;
  if (!TryEncodeTime(hour, minute, second, msec, r))
    throw rt::EConvertError("Invalid argument to time encode");
  return r;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  long days = static_cast<long>(std::floor(value)) + kDelta;  // days since 0001-01-01
  if (days < 0 || days >= daysBefore(10000, 1, 1)) {
    year = month = day = 0;
    return;
  }
  int y = static_cast<int>(days / 366) + 1;
  while (daysBefore(y + 1, 1, 1) <= days) ++y;
  int m = 1;
  while (m < 12 && daysBefore(y, m + 1, 1) <= days) ++m;
  year = y;
  month = m;
  day = static_cast<int>(days - daysBefore(y, m, 1)) + 1;
}

TDateTime Now() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  TDateTime d = 0, t = 0;
  TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, d);
  TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec,
                static_cast<int>(ts.tv_nsec / 1000000), t);
  return d + t;
}

bool TryStrToDate(std::string_view text, TDateTime& result, const TFormatSettings& fs) {
  Scanner sc(text);
  TDateTime d;
  if (!scanDate(sc, d, fs)) return false;
  sc.blanks();
  if (!sc.atEnd()) return false;
  result = d;
  return true;
}

bool TryStrToTime(std::string_view text, TDateTime& result, const TFormatSettings& fs) {
  Scanner sc(text);
  TDateTime t;
  if (!scanTime(sc, t, fs) || !sc.atEnd()) return false;
  result = t;
  return true;
}

bool TryStrToDateTime(std::string_view text, TDateTime& result, const TFormatSettings& fs) {
  Scanner sc(text);
  TDateTime d, t = 0;
  if (scanDate(sc, d, fs)) {
    sc.blanks();
    if (sc.atEnd() || (scanTime(sc, t, fs) && sc.atEnd())) {
      // Before 1899-12-30 the day is negative and the time of day still counts away from zero.
      result = d >= 0 ? d + t : d - t;
      return true;
    }
  }
  return TryStrToTime(text, result, fs);
}

namespace {
[[noreturn]] void invalid(std::string_view text, const char* what) {
  throw rt::EConvertError("'" + std::string(text) + "' is not a valid " + what);
}
}  // namespace

TDateTime StrToDateTime(std::string_view text) {
  TDateTime r;
  if (!TryStrToDateTime(text, r, FormatSettings())) invalid(text, "date and time");
  return r;
}

TDateTime StrToTime(std::string_view text) {
  TDateTime r;
  if (!TryStrToTime(text, r, FormatSettings())) invalid(text, "time");
  return r;
}

TDateTime StrToDate(std::string_view text) {
  TDateTime r;
  if (!TryStrToDate(text, r, FormatSettings())) invalid(text, "date");
  return r;
}

TDateTime TextToDateTime(std::string_view text, TDateTime fallback) {
  try {
    return StrToDateTime(text);
  } catch (...) {
    return fallback;
  }
}

TDateTime TextToTime(std::string_view text, TDateTime fallback) {
  try {
    return StrToTime(text);
  } catch (const rt::EConvertError&) {
    return fallback;
  }
}

}  // namespace support
