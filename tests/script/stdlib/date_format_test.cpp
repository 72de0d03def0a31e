#include "script/stdlib/date_format.h"

#include <gtest/gtest.h>

#include "support/date_time.h"

using namespace stdlib;

namespace {

TDateFields at(int y, int mo, int d, int h, int mi, int s, int ms, int dow) {
  TDateFields f;
  f.year = y, f.month = mo, f.day = d, f.hour = h, f.minute = mi, f.second = s, f.millisecond = ms;
  f.dayOfWeek = dow;
  return f;
}

}  // namespace

TEST(DateFormat, EveryFieldOnAJapaneseSystem) {
  TDateFields afternoon = at(2001, 2, 5, 14, 7, 9, 45, 1);  // a Monday
  struct Case {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"", "2001/02/05 14:07:09"},
      {"C", "2001/02/05 14:07:09"},
      {"yyyy/mm/dd hh:nn:ss.zzz", "2001/02/05 14:07:09.045"},
      {"y yy yyy yyyy", "01 01 2001 2001"},
      {"d dd ddd dddd", "5 05 \xe6\x9c\x88 \xe6\x9c\x88\xe6\x9b\x9c\xe6\x97\xa5"},   // 月 月曜日
      {"aaa aaaa", "\xe6\x9c\x88 \xe6\x9c\x88\xe6\x9b\x9c\xe6\x97\xa5"},
      {"ddddd", "2001/02/05"},
      {"dddddd", "2001\xe5\xb9\xb4" "2\xe6\x9c\x88" "5\xe6\x97\xa5"},               // 2001年2月5日
      {"m mm mmm mmmm", "2 02 2 2\xe6\x9c\x88"},
      {"h:m", "14:7"},
      {"hh:mm", "14:07"},
      {"h 'at' mm", "14 at 07"},      // literals between do not end the hour's claim on m
      {"hh:nn mm", "14:07 02"},       // another field does
      {"HH:NN:SS", "14:07:09"},
      {"h:nn am/pm", "2:07 pm"},
      {"h:nn AM/PM", "2:07 PM"},
      {"h a/p", "2 p"},
      {"h ampm", "2 \xe5\x8d\x88\xe5\xbe\x8c"},                                      // 午後
      {"h 'am/pm'", "14 am/pm"},      // quoted, so the hour stays on the 24-hour clock
      {"h hh am/pm", "14 02 pm"},     // only the hour nearest the marker goes to 12 hours
      {"t|tt", "14:07|14:07:09"},
      {"z zzz", "45 045"},
      {"g e ee", "\xe8\xa5\xbf\xe6\x9a\xa6 2001 2001"},                              // 西暦
      {"x-\"q\"-'r'", "x-q-r"},
      {"'open", "open"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, afternoon), c.text) << c.pattern;

  TDateFields midnight = at(1999, 12, 31, 0, 0, 0, 0, 5);
  EXPECT_EQ(FormatDateTime("", midnight), "1999/12/31");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", midnight), "12:00 am");
  EXPECT_EQ(FormatDateTime("h:nn ampm", midnight), "12:00 \xe5\x8d\x88\xe5\x89\x8d");  // 午前
  TDateFields noonish = at(1999, 12, 31, 12, 30, 0, 1, 5);
  EXPECT_EQ(FormatDateTime("hh:nn A/P", noonish), "12:30 P");
  EXPECT_EQ(FormatDateTime("c", noonish), "1999/12/31 12:30:00");
}

TEST(DateFormat, SeparatorsAndFormatsComeFromTheProcessSettings) {
  support::TFormatSettings settings;
  settings.DateSeparator = '-';
  settings.TimeSeparator = '.';
  settings.ShortDateFormat = "dd/mm/yyyy";
  settings.LongTimeFormat = "hh:nn:ss am/pm";
  support::ScopedFormatSettings scoped(settings);
  TDateFields f = at(2001, 2, 5, 14, 7, 9, 0, 1);
  EXPECT_EQ(FormatDateTime("", f), "05-02-2001 02.07.09 pm");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", f), "2001-02-05");
}
