#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

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

// The one routine every number text starts from: exact digits when asked for a count, the fewest
// that read back otherwise, and the decimal rounding the formats apply on top.
TEST(DecimalDigits, CornerValues) {
  rt::DecimalDigits zero = rt::ToDecimalDigits(0.0), negativeZero = rt::ToDecimalDigits(-0.0, 17);
  EXPECT_EQ(zero.digits, "");
  EXPECT_EQ(zero.exponent, 0);
  EXPECT_EQ(negativeZero.digits, "");
  EXPECT_FALSE(negativeZero.negative) << "zero has no sign";

  rt::DecimalDigits big = rt::ToDecimalDigits(1e21);
  EXPECT_EQ(big.digits, "1");
  EXPECT_EQ(big.exponent, 22);

  rt::DecimalDigits sum = rt::ToDecimalDigits(0.1 + 0.2);
  EXPECT_EQ(sum.digits, "30000000000000004");
  EXPECT_EQ(sum.exponent, 0);
  EXPECT_EQ(rt::ToDecimalDigits(0.1 + 0.2, 15).digits, "3");

  rt::DecimalDigits large = rt::ToDecimalDigits(-123456789012345680000.0);
  EXPECT_TRUE(large.negative);
  EXPECT_EQ(large.digits, "12345678901234568");
  EXPECT_EQ(large.exponent, 21);
  EXPECT_EQ(rt::ToDecimalDigits(123456789012345680000.0, 21).digits, "123456789012345683968") << "exact";

  // The smallest subnormal: one digit is enough to read it back; its exact value has 751.
  double tiny = std::numeric_limits<double>::denorm_min();
  rt::DecimalDigits shortest = rt::ToDecimalDigits(tiny);
  EXPECT_EQ(shortest.digits, "5");
  EXPECT_EQ(shortest.exponent, -323);
  rt::DecimalDigits exact = rt::ToDecimalDigits(tiny, rt::kMaxSignificantDigits);
  EXPECT_EQ(exact.digits.size(), 751u);
  EXPECT_EQ(exact.digits.substr(0, 17), "49406564584124654");
  EXPECT_EQ(exact.digits.back(), '5');

  EXPECT_EQ(rt::ToDecimalDigits(0.1f).digits, "1") << "the float's own shortest digits";
  EXPECT_EQ(rt::ToDecimalDigits(std::numeric_limits<double>::infinity()).digits, "");
}

TEST(DecimalDigits, BinaryTiesGoToEvenDecimalTiesAwayFromZero) {
  // 0.125 is exact in binary: correctly rounded to two digits it is a tie and goes to the even 2;
  // the formats then round the decimal text half away from zero.
  EXPECT_EQ(rt::ToDecimalDigits(0.125, 2).digits, "12");
  rt::DecimalDigits d = rt::ToDecimalDigits(0.125);
  rt::RoundDecimalDigits(d, 2);
  EXPECT_EQ(d.digits, "13");

  rt::DecimalDigits nines = rt::ToDecimalDigits(-9.995);
  rt::RoundDecimalDigits(nines, 3);
  EXPECT_EQ(nines.digits, "1") << "the carry runs through every nine";
  EXPECT_EQ(nines.exponent, 2);
  EXPECT_TRUE(nines.negative);

  rt::DecimalDigits small = rt::ToDecimalDigits(-0.004);
  rt::RoundDecimalDigits(small, -1);
  EXPECT_EQ(small.digits, "");
  EXPECT_EQ(small.exponent, 0);
  EXPECT_TRUE(small.negative) << "the sign stays for a value rounded away";

  rt::DecimalDigits half = rt::ToDecimalDigits(0.5);
  rt::RoundDecimalDigits(half, 0);
  EXPECT_EQ(half.digits, "1");
  EXPECT_EQ(half.exponent, 1);
}

TEST(DecimalDigits, ShortestTextAsTheStandardLibraryWritesIt) {
  EXPECT_EQ(rt::ShortestText(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(rt::ShortestText(-0.0), "-0");
  EXPECT_EQ(rt::ShortestText(1e21), "1e+21");
  EXPECT_EQ(rt::ShortestText(5e-324), "5e-324");
  EXPECT_EQ(rt::ShortestText(123456789012345680000.0), "123456789012345683968");
  EXPECT_EQ(rt::ShortestText(1e-7), "1e-07");
  EXPECT_EQ(rt::ShortestText(0.001), "0.001");
  EXPECT_EQ(rt::ShortestText(16777216.0f), "16777216");
  // Beside std::to_chars on powers of two and ten and their neighbours, both widths.
  for (int e = -1074; e <= 1023; e += 7) {
    for (double v : {std::ldexp(1.0, e), std::nextafter(std::ldexp(1.0, e), 0.0), std::pow(10.0, e / 3.4)}) {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, v);
      EXPECT_EQ(rt::ShortestText(v), std::string(buf, r.ptr)) << v;
      float f = float(v);
      if (!std::isfinite(f)) continue;
      r = std::to_chars(buf, buf + sizeof buf, f);
      EXPECT_EQ(rt::ShortestText(f), std::string(buf, r.ptr)) << f;
    }
  }
}
