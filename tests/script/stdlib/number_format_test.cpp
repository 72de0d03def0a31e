#include "script/stdlib/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace stdlib;

TEST(NumberFormat, FixedRoundsTheDecimalTextHalfAwayFromZero) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1.005, 2, "1.00"},   // the double is 1.00499999999999989...
      {0.125, 2, "0.13"},   // exactly half: away from zero
      {2.5, 0, "3"},
      {-1.5, 0, "-2"},
      {5, 0, "5"},
      {0, 2, "0.00"},
      {-0.001, 2, "-0.00"},
      {123.456, 1, "123.5"},
      {0.000123, 5, "0.00012"},
      {0.0009, 3, "0.001"},
      {0.5, 0, "1"},
      {99.996, 2, "100.00"},
      {1.0 / 3, 18, "0.333333333333333000"},  // 15 significant digits at most
      {0.1, 25, "0.100000000000000000"},      // at most 18 decimals
      {-5, -3, "-5"},
      {123456789012345, 2, "123456789012345.00"},
      {1234567890123456, 2, "1.23456789012346E15"},  // more than 15 digits before the point
      {1e20, 2, "1E20"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NaN");
  EXPECT_EQ(FormatFixed(-HUGE_VAL, 2), "-infinity");
}

TEST(NumberFormat, ExponentAlwaysSignsTheExponent) {
  struct Case {
    double value;
    int significant, minDigits;
    const char* text;
  } cases[] = {
      {123.456, 3, 1, "1.23E+2"},
      {0, 3, 1, "0.00E+0"},
      {-0.00012345, 2, 1, "-1.2E-4"},
      {1e100, 1, 1, "1E+100"},
      {9.99, 2, 1, "1.0E+1"},
      {1000, 15, 3, "1.00000000000000E+003"},
      {123.456, 0, 1, "1.23456E+2"},  // no count: the digits the value needs
      {5, 0, 1, "5E+0"},
      {0, 0, 1, "0E+0"},
      {1.0 / 3, 40, 1, "3.33333333333333315E-1"},  // 18 significant digits at most
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatExponent(c.value, c.significant, c.minDigits), c.text) << c.value << " " << c.significant;
}

TEST(NumberFormat, DigitsKeepSignificantAndDecimalLimits) {
  TFloatDigits d = FloatDigits(-1234.5678, 15, 2);
  EXPECT_TRUE(d.negative);
  EXPECT_EQ(d.exponent, 4);
  EXPECT_EQ(d.digits, "123457");
  d = FloatDigits(0.0456, 1, 10);
  EXPECT_EQ(d.exponent, -1);
  EXPECT_EQ(d.digits, "5");
  d = FloatDigits(0.0004, 15, 2);
  EXPECT_EQ(d.digits, "");
  EXPECT_EQ(d.exponent, 0);
}

TEST(NumberFormat, BinaryAndOctalAreUnsigned32Bit) {
  EXPECT_EQ(IntToBin(5), "101");
  EXPECT_EQ(IntToBin(0), "0");
  EXPECT_EQ(IntToBin(-1), std::string(32, '1'));
  EXPECT_EQ(IntToBin(INT32_MIN), "1" + std::string(31, '0'));
  EXPECT_EQ(IntToOct(8), "10");
  EXPECT_EQ(IntToOct(0), "0");
  EXPECT_EQ(IntToOct(-1), "37777777777");
}
