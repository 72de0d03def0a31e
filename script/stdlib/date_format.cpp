#include "script/stdlib/date_format.h"

#include "platform/rt/utf8.h"
#include "support/date_time.h"

namespace stdlib {

TDateNames& DateNames() {
  static TDateNames names;
  return names;
}

namespace {

// Nested formats (c, ddddd, dddddd, t, tt) expand at most this deep.
constexpr int kMaxNesting = 2;

void appendNumber(std::string& out, int value, int minDigits) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (value < 0) out += '-';
  if (int(digits.size()) < minDigits) out.append(size_t(minDigits) - digits.size(), '0');
  out += digits;
}

bool startsWithText(std::string_view s, size_t pos, std::string_view word) {
  return s.size() - pos >= word.size() && rt::sameText(s.substr(pos, word.size()), word);
}

class Formatter {
 public:
  Formatter(const TDateFields& f) : f_(f), fs_(support::FormatSettings()), names_(DateNames()) {}

  void format(std::string& out, std::string_view pattern, int level) {
    char lastField = 0;
    size_t i = 0;
    while (i < pattern.size()) {
      char c = pattern[i];
      char token = rt::asciiUpper(c);
      if (token < 'A' || token > 'Z') {
        i = literal(out, pattern, i);
        continue;
      }
      size_t count = 1;
      while (i + count < pattern.size() && rt::asciiUpper(pattern[i + count]) == token) ++count;
      bool minutes = token == 'M' && lastField == 'H' && count <= 2;
      lastField = token;
      switch (token) {
        case 'Y':
          if (count <= 2) appendNumber(out, f_.year % 100, 2); else appendNumber(out, f_.year, 4);
          break;
        case 'M':
          if (minutes) appendNumber(out, f_.minute, int(count));
          else if (count <= 2) appendNumber(out, f_.month, int(count));
          else out += count == 3 ? names_.ShortMonthNames[f_.month - 1] : names_.LongMonthNames[f_.month - 1];
          break;
        case 'D':
          switch (count) {
            case 1: case 2: appendNumber(out, f_.day, int(count)); break;
            case 3: out += names_.ShortDayNames[f_.dayOfWeek]; break;
            case 4: out += names_.LongDayNames[f_.dayOfWeek]; break;
            case 5: nested(out, fs_.ShortDateFormat, level); break;
            default: nested(out, names_.LongDateFormat, level); break;
          }
          break;
        case 'E':
          appendNumber(out, f_.year, count >= 2 ? 2 : 1);
          break;
        case 'G':
          out += names_.EraName;
          break;
        case 'H': {
          int hour = f_.hour;
          if (twelveHourClockAhead(pattern, i + count)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          appendNumber(out, hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N': appendNumber(out, f_.minute, count >= 2 ? 2 : 1); break;
        case 'S': appendNumber(out, f_.second, count >= 2 ? 2 : 1); break;
        case 'Z': appendNumber(out, f_.millisecond, count >= 3 ? 3 : 1); break;
        case 'T': nested(out, count == 1 ? names_.ShortTimeFormat : fs_.LongTimeFormat, level); break;
        case 'C':
          nested(out, fs_.ShortDateFormat, level);
          if (f_.hour || f_.minute || f_.second || f_.millisecond) {
            out += ' ';
            nested(out, fs_.LongTimeFormat, level);
          }
          break;
        case 'A':
          count = marker(out, pattern, i);
          break;
        default:
          out.append(pattern.substr(i, count));
          break;
      }
      i += count;
    }
  }

 private:
  void nested(std::string& out, std::string_view pattern, int level) {
    if (level < kMaxNesting) format(out, pattern, level + 1);
  }

  // Quoted text, a separator or another character; answers where the scan goes on.
  size_t literal(std::string& out, std::string_view pattern, size_t i) {
    char c = pattern[i];
    if (c == '"' || c == '\'') {
      size_t end = pattern.find(c, i + 1);
      if (end == std::string_view::npos) end = pattern.size();
      out.append(pattern.substr(i + 1, end - i - 1));
      return end < pattern.size() ? end + 1 : end;
    }
    if (c == '/') out += fs_.DateSeparator;
    else if (c == ':') out += fs_.TimeSeparator;
    else out += c;
    return i + 1;
  }

  // The am/pm field at `i` (or a day name for aaa and aaaa); answers the letters it took.
  size_t marker(std::string& out, std::string_view pattern, size_t i) {
    bool pm = f_.hour >= 12;
    if (startsWithText(pattern, i, "am/pm")) {
      out.append(pattern.substr(pm ? i + 3 : i, 2));
      return 5;
    }
    if (startsWithText(pattern, i, "a/p")) {
      out.append(pattern.substr(pm ? i + 2 : i, 1));
      return 3;
    }
    if (startsWithText(pattern, i, "ampm")) {
      out += pm ? fs_.TimePMString : fs_.TimeAMString;
      return 4;
    }
    if (startsWithText(pattern, i, "aaaa")) {
      out += names_.LongDayNames[f_.dayOfWeek];
      return 4;
    }
    if (startsWithText(pattern, i, "aaa")) {
      out += names_.ShortDayNames[f_.dayOfWeek];
      return 3;
    }
    out += pattern[i];
    return 1;
  }

  // An hour shows the 12-hour clock when an am/pm field follows before the next hour field; the
  // search ends at the first "a" outside quotes.
  static bool twelveHourClockAhead(std::string_view pattern, size_t from) {
    char quote = 0;
    for (size_t j = from; j < pattern.size(); ++j) {
      char c = pattern[j];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == 'h' || c == 'H') {
        return false;
      } else if (c == 'a' || c == 'A') {
        return startsWithText(pattern, j, "am/pm") || startsWithText(pattern, j, "a/p") ||
               startsWithText(pattern, j, "ampm");
      }
    }
    return false;
  }

  const TDateFields& f_;
  const support::TFormatSettings& fs_;
  const TDateNames& names_;
};

}  // namespace

std::string FormatDateTime(std::string_view pattern, const TDateFields& fields) {
  std::string out;
  Formatter formatter(fields);
  formatter.format(out, pattern.empty() ? std::string_view("c") : pattern, 0);
  return out;
}

}  // namespace stdlib
