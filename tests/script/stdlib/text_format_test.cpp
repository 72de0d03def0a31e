#include "script/stdlib/text_format.h"

#include <gtest/gtest.h>

#include "platform/rt/exception.h"

using namespace stdlib;

namespace {

TFormatCell Int(int32_t i) {
  TFormatCell c;
  c.kind = TFormatCell::Integer;
  c.integer = i;
  return c;
}
TFormatCell Float(double d) {
  TFormatCell c;
  c.kind = TFormatCell::Float;
  c.number = d;
  return c;
}
TFormatCell Text(std::string s) {
  TFormatCell c;
  c.text = std::move(s);
  return c;
}

std::string ErrorOf(std::string_view pattern, const std::vector<TFormatCell>& cells) {
  try {
    FormatText(pattern, cells);
  } catch (const rt::EConvertError& e) {
    return e.message();
  }
  return "no error";
}

}  // namespace

TEST(FormatText, Integers) {
  EXPECT_EQ(FormatText("%d|%D|%u|%x|%X", {Int(-42), Int(7), Int(-1), Int(-1), Int(255)}), "-42|7|4294967295|FFFFFFFF|FF");
  EXPECT_EQ(FormatText("%.5d|%.5d|%.2d|%.4x", {Int(42), Int(-42), Int(12345), Int(10)}), "00042|-00042|12345|000A");
  EXPECT_EQ(FormatText("%d", {Int(INT32_MIN)}), "-2147483648");
}

TEST(FormatText, WidthIndexAndStar) {
  EXPECT_EQ(FormatText("[%5d][%-5d][%05d][%2d]", {Int(42), Int(42), Int(42), Int(12345)}), "[   42][42   ][   42][12345]");
  EXPECT_EQ(FormatText("[%*d][%-*s][%.*f]", {Int(4), Int(7), Int(3), Text("ab"), Int(1), Float(2.25)}), "[   7][ab ][2.3]");
  EXPECT_EQ(FormatText("%1:s %0:s %s", {Text("a"), Text("b"), Text("c")}), "b a b");
  EXPECT_EQ(ErrorOf("%2:s%s", {Text("a"), Text("b"), Text("c")}), "No argument for format '%2:s%s'");
  // Width counts characters, not bytes.
  EXPECT_EQ(FormatText("[%4s]", {Text("日本")}), "[  日本]");
  EXPECT_EQ(FormatText("100%% %s%%", {Text("x")}), "100% x%");
}

TEST(FormatText, Floats) {
  EXPECT_EQ(FormatText("%f|%.1f|%.0f|%.2f|%.2f", {Float(3), Float(0.25), Float(2.5), Float(1.005), Float(-0.001)}),
            "3.00|0.3|3|1.00|-0.00");
  EXPECT_EQ(FormatText("%e|%.3e|%.1e", {Float(1000), Float(123456), Float(-0.00012)}),
            "1.00000000000000E+003|1.23E+005|-1E-004");
  EXPECT_EQ(FormatText("%g|%.3g|%g|%g", {Float(0.5), Float(1234.5), Float(1e20), Float(1.0 / 3)}),
            "0.5|1.23E3|1E20|0.333333333333333");
  EXPECT_EQ(FormatText("%n|%.0n|%.1n", {Float(1234567.891), Float(999.5), Float(-1234.56)}), "1,234,567.89|1,000|-1,234.6");
  EXPECT_EQ(FormatText("%m|%.2m|%m", {Float(1234.5), Float(-5), Float(0.4)}), "\xC2\xA5" "1,235|-\xC2\xA5" "5.00|\xC2\xA5" "0");
  EXPECT_EQ(FormatText("%f|%.2f", {Float(1e20), Float(123456789012345678.0)}), "1E20|123456789012345680.00");
}

TEST(FormatText, Texts) {
  EXPECT_EQ(FormatText("%s|%.2s|%.1s|%.0s|", {Text("abc"), Text("abc"), Text("日本"), Text("x")}), "abc|ab|日||");
}

TEST(FormatText, MismatchesAndMissingArgumentsAreConvertErrors) {
  const std::string invalid = "Format '%d' invalid or incompatible with argument";
  EXPECT_EQ(ErrorOf("%d", {Float(1.5)}), invalid);
  EXPECT_EQ(ErrorOf("%f", {Int(3)}), "Format '%f' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%s", {Int(5)}), "Format '%s' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%x", {Text("a")}), "Format '%x' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%p", {Int(1)}), "Format '%p' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%q", {Int(1)}), "Format '%q' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("ab%", {Int(1)}), "Format 'ab%' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%5.", {Int(1)}), "Format '%5.' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%*d", {Text("3"), Int(1)}), "Format '%*d' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%d and %d", {Int(1)}), "No argument for format '%d and %d'");
  EXPECT_EQ(ErrorOf("%s", {}), "No argument for format '%s'");
  // Sizes that would take unbounded memory are refused.
  EXPECT_EQ(ErrorOf("%999999999d", {Int(1)}), "Format '%999999999d' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf("%*d", {Int(100000000), Int(1)}), "Format '%*d' invalid or incompatible with argument");
  EXPECT_EQ(FormatText("plain", {}), "plain");
}

TEST(FormatFloatPattern, Placeholders) {
  EXPECT_EQ(FormatFloatPattern("#,##0.00", 1234.5), "1,234.50");
  EXPECT_EQ(FormatFloatPattern("0.###", 2), "2");
  EXPECT_EQ(FormatFloatPattern("0.###", 2.12345), "2.123");
  EXPECT_EQ(FormatFloatPattern("000", 7), "007");
  EXPECT_EQ(FormatFloatPattern("00.0", 123.456), "123.5");
  EXPECT_EQ(FormatFloatPattern("#.##", 0.5), ".5");
  EXPECT_EQ(FormatFloatPattern("#", 0), "");
  EXPECT_EQ(FormatFloatPattern("0.0#", 3), "3.0");
  EXPECT_EQ(FormatFloatPattern("#,##0", 1234567.5), "1,234,568");
  EXPECT_EQ(FormatFloatPattern("#,##0.00", -1234567.891), "-1,234,567.89");
  EXPECT_EQ(FormatFloatPattern("0.00", 0.125), "0.13");
  EXPECT_EQ(FormatFloatPattern("0.00", 1.005), "1.00");
  EXPECT_EQ(FormatFloatPattern("0", -2.5), "-3");
  EXPECT_EQ(FormatFloatPattern("'#'0 \"pts\"", 12), "#12 pts");
  EXPECT_EQ(FormatFloatPattern("x0.0y", 1.25), "x1.3y");
}

TEST(FormatFloatPattern, Sections) {
  EXPECT_EQ(FormatFloatPattern("0.00;(0.00)", -1.5), "(1.50)");
  EXPECT_EQ(FormatFloatPattern("0.00;(0.00)", 1.5), "1.50");
  EXPECT_EQ(FormatFloatPattern("0.00;(0.00);zero", 0), "zero");
  EXPECT_EQ(FormatFloatPattern("0.0;(0.0);zero", 0.04), "zero");    // shows as zero
  EXPECT_EQ(FormatFloatPattern("0.0;(0.0);zero", -0.04), "zero");
  EXPECT_EQ(FormatFloatPattern("0.0;(0.0)", -0.04), "0.0");
  EXPECT_EQ(FormatFloatPattern("0.0;;none", 0), "none");
  EXPECT_EQ(FormatFloatPattern("0.0;", -3), "-3.0");
  EXPECT_EQ(FormatFloatPattern("0.0", -0.04), "0.0");
  EXPECT_EQ(FormatFloatPattern("'a;b'0", 5), "a;b5");
}

TEST(FormatFloatPattern, Exponents) {
  EXPECT_EQ(FormatFloatPattern("0.0E+00", 12345), "1.2E+04");
  EXPECT_EQ(FormatFloatPattern("0.00E-0", 0.000123), "1.23E-4");
  EXPECT_EQ(FormatFloatPattern("0.00E-0", 12345), "1.23E4");
  EXPECT_EQ(FormatFloatPattern("0.0E+00", 0), "0.0E+00");
  EXPECT_EQ(FormatFloatPattern("00.0e+0", -98765), "-98.8e+3");
  EXPECT_EQ(FormatFloatPattern("0.0E+00 'x'", 5), "5.0E+00 x");
}

TEST(FormatFloatPattern, GeneralFormWhereNoPatternFits) {
  EXPECT_EQ(FormatFloatPattern("", 1.5), "1.5");
  EXPECT_EQ(FormatFloatPattern("", 1e20), "1E20");
  EXPECT_EQ(FormatFloatPattern("0", 1e25), "1E25");
  EXPECT_EQ(FormatFloatPattern("0", -1e25), "-1E25");
}
