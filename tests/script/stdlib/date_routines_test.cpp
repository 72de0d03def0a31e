#include "script/stdlib/date_routines.h"

#include <gtest/gtest.h>

#include "tests/script/stdlib/stdlib_fixture.h"

using namespace stdlib;
using stdlibtest::ScopedClock;
using stdlibtest::ScopedZone;
using stdlibtest::UtcMs;

TEST(DateRoutines, DateTimeValuesAndEpochMilliseconds) {
  struct Case {
    double dateTime;
    double ms;
  } cases[] = {
      {25569, 0},
      {25570.5, 129600000},
      {36526, 946684800000.0},           // 2000-01-01
      {36526.75, 946684800000.0 + 64800000},
      {0, -2209161600000.0},             // 1899-12-30
      {-1.25, -2209226400000.0},         // 1899-12-29 06:00: the fraction counts away from zero
      {-693593, -62135596800000.0},      // 0001-01-01
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeToEpochMs(c.dateTime), c.ms) << c.dateTime;
    EXPECT_DOUBLE_EQ(EpochMsToDateTime(c.ms), c.dateTime) << c.ms;
  }
  // Rounded to the nearest millisecond.
  EXPECT_EQ(DateTimeToEpochMs(25569 + 1.4 / 86400000), 1);
  EXPECT_EQ(DateTimeToEpochMs(25569 + 1.6 / 86400000), 2);
}

TEST(DateRoutines, CivilFieldsRoundTrip) {
  struct Case {
    int y, m, d, h, mi, s, ms, dow;
    int64_t epoch;
  } cases[] = {
      {1970, 1, 1, 0, 0, 0, 0, 4, 0},
      {1969, 12, 31, 23, 59, 59, 999, 3, -1},
      {2001, 2, 5, 10, 20, 30, 0, 1, 981368430000},
      {2000, 2, 29, 12, 0, 0, 0, 2, 951825600000},
      {1, 1, 1, 0, 0, 0, 0, 1, -62135596800000},
      {9999, 12, 31, 0, 0, 0, 0, 5, 253402214400000},
      {1899, 12, 29, 6, 0, 0, 0, 5, -2209226400000},
  };
  for (const auto& c : cases) {
    TDateFields f = SplitMs(c.epoch);
    EXPECT_EQ((std::vector<int>{f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond, f.dayOfWeek}),
              (std::vector<int>{c.y, c.m, c.d, c.h, c.mi, c.s, c.ms, c.dow}))
        << c.epoch;
    EXPECT_EQ(UtcMs(c.y, c.m, c.d, c.h, c.mi, c.s, c.ms), c.epoch);
  }
  int64_t ms;
  for (auto [y, m, d] : {std::tuple{2001, 2, 29}, {1900, 2, 29}, {2001, 4, 31}, {0, 1, 1}, {10000, 1, 1},
                         {2001, 0, 1}, {2001, 13, 1}, {2001, 1, 0}})
    EXPECT_FALSE(TryEncodeDateMs(y, m, d, ms)) << y << "-" << m << "-" << d;
  for (auto [h, mi, s, z] : {std::tuple{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}})
    EXPECT_FALSE(TryEncodeTimeMs(h, mi, s, z, ms));
  EXPECT_TRUE(TryEncodeTimeMs(23, 59, 59, 999, ms));
  EXPECT_EQ(ms, 86399999);
}

TEST(DateRoutines, OffsetsEastWestAndHalfHour) {
  struct Case {
    const char* zone;
    int64_t utc;
    int32_t offset;
  } cases[] = {
      {"JST-9", UtcMs(2001, 2, 5), 9 * 3600},
      {"JST-9", UtcMs(1850, 7, 1), 9 * 3600},
      {"IST-5:30", UtcMs(2020, 1, 1), 5 * 3600 + 1800},
      {"UTC0", UtcMs(2020, 7, 1), 0},
      {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2021, 1, 15, 12), -5 * 3600},
      {"EST5EDT,M3.2.0,M11.1.0", UtcMs(2021, 7, 1, 12), -4 * 3600},
      // Southern hemisphere, half-hour daylight saving: summer in January.
      {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", UtcMs(2021, 1, 15), 11 * 3600},
      {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", UtcMs(2021, 7, 15), 10 * 3600 + 1800},
  };
  for (const auto& c : cases) {
    ScopedZone zone(c.zone);
    EXPECT_EQ(LocalOffsetSeconds(c.utc), c.offset) << c.zone;
    int64_t local = UtcToLocalMs(c.utc);
    EXPECT_EQ(local, c.utc + c.offset * 1000LL);
    EXPECT_EQ(LocalToUtcMs(local), c.utc) << c.zone;
  }
}

TEST(DateRoutines, LocalTimesAroundClockChanges) {
  ScopedZone zone("EST5EDT,M3.2.0,M11.1.0");
  // 2021-03-14: 02:00 EST becomes 03:00 EDT (07:00 UTC).
  EXPECT_EQ(LocalToUtcMs(UtcMs(2021, 3, 14, 1, 59, 59)), UtcMs(2021, 3, 14, 6, 59, 59));
  EXPECT_EQ(LocalToUtcMs(UtcMs(2021, 3, 14, 3, 0, 0)), UtcMs(2021, 3, 14, 7, 0, 0));
  // 02:30 does not exist: read with the winter offset, it is 03:30 EDT.
  EXPECT_EQ(LocalToUtcMs(UtcMs(2021, 3, 14, 2, 30)), UtcMs(2021, 3, 14, 7, 30));
  // 2021-11-07: 01:30 happens twice; the earlier (EDT) one is taken.
  EXPECT_EQ(LocalToUtcMs(UtcMs(2021, 11, 7, 1, 30)), UtcMs(2021, 11, 7, 5, 30));
  EXPECT_EQ(LocalToUtcMs(UtcMs(2021, 11, 7, 2, 30)), UtcMs(2021, 11, 7, 7, 30));
  // Date-time values follow the same rules, each with its own moment's offset.
  double summer = EpochMsToDateTime(double(UtcMs(2021, 7, 1, 12)));
  EXPECT_DOUBLE_EQ(LocalToUTC(summer), EpochMsToDateTime(double(UtcMs(2021, 7, 1, 16))));
  EXPECT_DOUBLE_EQ(UTCToLocal(EpochMsToDateTime(double(UtcMs(2021, 1, 1, 12)))),
                   EpochMsToDateTime(double(UtcMs(2021, 1, 1, 7))));
}

TEST(DateRoutines, BiasAndNowFollowTheClock) {
  ScopedZone zone("JST-9");
  ScopedClock clock(UtcMs(2024, 6, 15, 3, 4, 5, 678));
  EXPECT_DOUBLE_EQ(UTCBias(), -9.0 / 24);
  EXPECT_DOUBLE_EQ(NowUTC(), EpochMsToDateTime(double(UtcMs(2024, 6, 15, 3, 4, 5, 678))));
}

TEST(DateRoutines, ParseDateTextForms) {
  ScopedZone zone("JST-9");
  ScopedClock clock(UtcMs(2024, 6, 15, 3, 4, 5, 678));  // 12:04:05.678 in Japan
  struct Case {
    const char* text;
    int64_t local;
  } cases[] = {
      {"2001/02/05 10:20:30", UtcMs(2001, 2, 5, 10, 20, 30)},
      {"  2001/02/05  ", UtcMs(2001, 2, 5)},
      {"10:20", UtcMs(2024, 6, 15, 10, 20)},  // a time alone is today's
      {"Feb 5, 2001 10:20:30", UtcMs(2001, 2, 5, 10, 20, 30)},
      {"SEPTEMBER 9 1999 8:07:06:5", UtcMs(1999, 9, 9, 8, 7, 6, 5)},
      {"Feb 5, 2001 10", UtcMs(2001, 2, 5, 10)},
      {"Feb 5, 2001", UtcMs(2001, 2, 5, 12, 4, 5, 678)},   // no time: now's
      {"Jan 5", UtcMs(2024, 6, 15, 12, 4, 5, 678)},        // no year: now
      {"", UtcMs(2024, 6, 15, 12, 4, 5, 678)},
      {"Feb 30 2001 10:00", UtcMs(2024, 6, 15, 12, 4, 5, 678)},  // impossible date: now
      {"Feb 5 2001 25:00", UtcMs(2001, 2, 5)},                   // impossible time: midnight
      {"Xyz 5 2001", UtcMs(2001, 1, 5, 12, 4, 5, 678)},          // unknown month name: January
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDateTextMs(c.text), c.local) << c.text;
    EXPECT_DOUBLE_EQ(ParseDateText(c.text), EpochMsToDateTime(double(c.local))) << c.text;
  }
}
