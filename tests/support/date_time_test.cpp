#include "support/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace support;

namespace {
TDateTime at(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, m, d) + EncodeTime(h, n, s, ms);
}
int thisYear() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}
}  // namespace

TEST(DateTime, EncodeAndDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2003, 5, 12), 37753);
  EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(10, 11, 12, 0), 36672.0 / 86400.0);
  for (auto [y, m, d] : {std::tuple{2000, 2, 29}, {1900, 2, 28}, {1, 1, 1}, {9999, 12, 31}, {2024, 12, 31}}) {
    int yy, mm, dd;
    DecodeDate(EncodeDate(y, m, d) + 0.75, yy, mm, dd);
    EXPECT_EQ(std::tuple(yy, mm, dd), std::tuple(y, m, d));
  }
  TDateTime r = 123;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, r));
  EXPECT_FALSE(TryEncodeDate(2003, 13, 1, r));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, r));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, r));
  EXPECT_FALSE(TryEncodeTime(1, 0, 0, 1000, r));
  EXPECT_EQ(r, 123);
  EXPECT_THROW(EncodeDate(2001, 2, 29), rt::EConvertError);
}

TEST(DateTime, ParsesWithTheDefaultFormat) {
  const TFormatSettings fs;
  struct Case {
    std::string text;
    TDateTime value;
  } cases[] = {
      {"2003/05/12 10:11:12", at(2003, 5, 12, 10, 11, 12)},
      {"  2003/5/12  ", at(2003, 5, 12)},
      {"2003/05/12 10:11", at(2003, 5, 12, 10, 11)},
      {"5/12", at(thisYear(), 5, 12)},
      {"03/05/12", at(2003, 5, 12)},  // two-digit year
      {"10:18:14", EncodeTime(10, 18, 14, 0)},
      {"10:11:12.5", EncodeTime(10, 11, 12, 5)},
      {"7", EncodeTime(7, 0, 0, 0)},
      {"3:05 pm", EncodeTime(15, 5, 0, 0)},
      {"12:30AM", EncodeTime(0, 30, 0, 0)},
      {"\xe5\x8d\x88\xe5\xbe\x8c" "3:05", EncodeTime(15, 5, 0, 0)},  // 午後
      {"1899/12/29 06:00", -1.25},
  };
  for (const Case& c : cases) {
    TDateTime r = -99;
    ASSERT_TRUE(TryStrToDateTime(c.text, r, fs)) << c.text;
    EXPECT_NEAR(r, c.value, 1e-9) << c.text;
  }
  const char* bad[] = {"",           "garbage",   "2003/02/30", "2003/13/01", "2003/05/12 25:00",
                       "10:60",      "0:30PM",    "13:00 PM",   "2003-05-12", "2003/05/12 10:11 x",
                       "1234567890", "2003/05/",  "/05/12"};
  for (const char* text : bad) {
    TDateTime r = -99;
    EXPECT_FALSE(TryStrToDateTime(text, r, fs)) << text;
    EXPECT_EQ(r, -99);
  }
}

TEST(DateTime, DosListingFormat) {
  TFormatSettings dos;
  dos.DateSeparator = '-';
  dos.ShortDateFormat = "mm/dd/yy";
  dos.LongTimeFormat = "hh:nnAM/PM";
  TDateTime r;
  ASSERT_TRUE(TryStrToDateTime("05-12-03 10:11PM", r, dos));
  EXPECT_NEAR(r, at(2003, 5, 12, 22, 11), 1e-9);
  ASSERT_TRUE(TryStrToDateTime("12-31-99 12:00AM", r, dos));
  EXPECT_NEAR(r, at(1999, 12, 31), 1e-9);
  EXPECT_FALSE(TryStrToDateTime("2003/05/12", r, dos));

  TFormatSettings european = dos;
  european.ShortDateFormat = "dd/mm/yyyy";
  ASSERT_TRUE(TryStrToDateTime("12-05-2003", r, european));
  EXPECT_NEAR(r, at(2003, 5, 12), 1e-9);
}

TEST(DateTime, ProcessFormatAndFallbacks) {
  EXPECT_NEAR(TextToDateTime("2003/05/12 10:11:12", 0), at(2003, 5, 12, 10, 11, 12), 1e-9);
  EXPECT_EQ(TextToDateTime("2003/02/30", 42.5), 42.5);
  EXPECT_EQ(TextToTime("25:00", 7), 7);
  EXPECT_NEAR(TextToTime("10:18:14", 7), EncodeTime(10, 18, 14, 0), 1e-9);
  try {
    StrToDateTime("nonsense");
    FAIL();
  } catch (const rt::EConvertError& e) {
    EXPECT_EQ(e.message(), "'nonsense' is not a valid date and time");
  }
  EXPECT_THROW(StrToTime("2003/05/12"), rt::EConvertError);
  EXPECT_NEAR(StrToDate("2003/05/12"), 37753, 1e-9);

  TFormatSettings dos;
  dos.DateSeparator = '-';
  dos.ShortDateFormat = "mm/dd/yy";
  try {
    ScopedFormatSettings scoped(dos);
    EXPECT_NEAR(StrToDateTime("05-12-03"), 37753, 1e-9);
    throw std::runtime_error("listing line failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(FormatSettings().DateSeparator, '/');
  EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy/mm/dd");
}
