// Date-time patterns: the formatting behind the Date object's toString family.
//
// Pattern letters match without regard to case and a run of one letter is one field: c, d..dddddd,
// aaa/aaaa, m..mmmm, y/yy/yyyy, e, g, h/hh, n/nn, s/ss, z/zzz, t/tt, am/pm, a/p, ampm; "/" and ":"
// give the date and time separators; quoted text is copied without its quotes; anything else is
// copied unchanged. m and mm directly after an hour field are minutes.
#pragma once

#include <string>
#include <string_view>

#include "script/stdlib/date_routines.h"

namespace stdlib {

// The names and formats of the user's locale beyond those of support::TFormatSettings (which
// gives the separators, the short date and long time formats and the morning and afternoon texts).
struct TDateNames {
  std::string LongDateFormat = "yyyy'\xe5\xb9\xb4'm'\xe6\x9c\x88'd'\xe6\x97\xa5'";  // yyyy'年'm'月'd'日'
  std::string ShortTimeFormat = "h:nn";
  std::string ShortMonthNames[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  std::string LongMonthNames[12] = {
      "1\xe6\x9c\x88", "2\xe6\x9c\x88", "3\xe6\x9c\x88", "4\xe6\x9c\x88",  "5\xe6\x9c\x88",  "6\xe6\x9c\x88",
      "7\xe6\x9c\x88", "8\xe6\x9c\x88", "9\xe6\x9c\x88", "10\xe6\x9c\x88", "11\xe6\x9c\x88", "12\xe6\x9c\x88"};  // 1月..12月
  // Sunday first: 日 月 火 水 木 金 土, and the same with 曜日.
  std::string ShortDayNames[7] = {"\xe6\x97\xa5", "\xe6\x9c\x88", "\xe7\x81\xab", "\xe6\xb0\xb4",
                                  "\xe6\x9c\xa8", "\xe9\x87\x91", "\xe5\x9c\x9f"};
  std::string LongDayNames[7] = {"\xe6\x97\xa5\xe6\x9b\x9c\xe6\x97\xa5", "\xe6\x9c\x88\xe6\x9b\x9c\xe6\x97\xa5",
                                 "\xe7\x81\xab\xe6\x9b\x9c\xe6\x97\xa5", "\xe6\xb0\xb4\xe6\x9b\x9c\xe6\x97\xa5",
                                 "\xe6\x9c\xa8\xe6\x9b\x9c\xe6\x97\xa5", "\xe9\x87\x91\xe6\x9b\x9c\xe6\x97\xa5",
                                 "\xe5\x9c\x9f\xe6\x9b\x9c\xe6\x97\xa5"};
  std::string EraName = "\xe8\xa5\xbf\xe6\x9a\xa6";  // 西暦: the Gregorian era
};

// The process's names, with the defaults of a Japanese system.
TDateNames& DateNames();

// The fields formatted with the pattern; an empty pattern is "c".
std::string FormatDateTime(std::string_view pattern, const TDateFields& fields);

}  // namespace stdlib
