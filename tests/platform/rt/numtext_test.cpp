#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "platform/rt/exception.h"
#include "platform/rt/numtext.h"

TEST(NumText, GeneralFormat) {
  struct Case { double v; const char* text; };
  const Case cases[] = {
      {3, "3"},
      {0.1 + 0.2, "0.3"},
      {-2.5, "-2.5"},
      {1e14, "100000000000000"},
      {123456789012345, "123456789012345"},
      {1e15, "1E15"},
      {1234567890123456, "1.23456789012346E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {1.5e-7, "1.5E-7"},
      {-0.0, "0"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1e300, "1E300"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::FloatToStr(c.v), c.text) << c.v;
  EXPECT_EQ(rt::FloatToStrGeneral(3.14159, 3), "3.14");
  EXPECT_EQ(rt::FloatToStrGeneral(12345, 3), "1.23E4");
}

TEST(NumText, FixedFormat) {
  struct Case { double v; int d; const char* text; };
  const Case cases[] = {
      {1.005, 2, "1.01"},  // 1.0049999999999999 shows as 1.005 with 15 digits
      {2.5, 0, "3"},     {-2.5, 0, "-3"},   {0.125, 2, "0.13"}, {1234.5678, 1, "1234.6"},
      {0, 3, "0.000"},   {-0.0001, 2, "0.00"}, {9.999, 2, "10.00"}, {0.06, 0, "0"},
      {1e20, 0, "100000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(rt::FloatToStrFixed(c.v, c.d), c.text) << c.v;
}

TEST(NumText, IntegerText) {
  struct Case { const char* text; bool ok; int32_t v; };
  const Case cases[] = {
      {"0", true, 0},         {"  42", true, 42},       {"-17", true, -17},     {"+5", true, 5},
      {"$1F", true, 31},      {"$ffffffff", true, -1},  {"-$10", true, -16},    {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},                 {"2147483648", false, 0}, {"", false, 0},
      {"12 ", false, 0},      {"1.5", false, 0},        {"0x10", false, 0},     {"$", false, 0},
      {"-", false, 0},        {"$100000000", false, 0}, {"abc", false, 0},
  };
  for (const auto& c : cases) {
    int32_t v = 0;
    EXPECT_EQ(rt::TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.v) << c.text;
    }
  }
  EXPECT_EQ(rt::StrToIntDef("x", 7), 7);
  EXPECT_THROW(rt::StrToInt("x"), rt::EConvertError);
  int64_t big;
  EXPECT_TRUE(rt::TryStrToInt64("9223372036854775807", big));
  EXPECT_EQ(big, INT64_MAX);
  EXPECT_EQ(rt::IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(rt::IntToHex(255, 4), "00FF");
}

TEST(NumText, FloatText) {
  struct Case { const char* text; bool ok; double v; };
  const Case cases[] = {
      {"1.5", true, 1.5},   {" -2.25 ", true, -2.25}, {".5", true, 0.5},   {"5.", true, 5},
      {"1e3", true, 1000},  {"1E-2", true, 0.01},     {"+7", true, 7},     {"1e400", false, 0},
      {"1e-400", true, 0},  {"inf", false, 0},        {"nan", false, 0},   {"1,5", false, 0},
      {"", false, 0},       {".", false, 0},          {"1e", false, 0},    {"0x10", false, 0},
      {"$1F", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(rt::TryStrToFloat(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.v) << c.text;
    }
  }
}

TEST(NumText, IgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
    EXPECT_EQ(rt::FloatToStr(1.5), "1.5");
    double v = 0;
    EXPECT_TRUE(rt::TryStrToFloat("2.5", v));
    EXPECT_EQ(v, 2.5);
  }
  std::setlocale(LC_ALL, saved.c_str());
}
