// The runtime's two text formatters that scripts reach through the global functions format,
// sprintf, printf and formatFloat:
//
// FormatText: "%" [index ":"] ["-"] [width] ["." precision] type, where index, width and precision
// are digits or "*" (the next argument, which must be an integer). Types: d (signed; the precision
// is the least number of digits), u (unsigned 32-bit), x (upper-case hexadecimal of the 32-bit
// pattern), e (exponent form, precision 15 by default), f (fixed, 2 decimals by default), g
// (general, 15 digits by default), n (fixed with thousands separators), m (currency), s (text; the
// precision cuts it to that many characters), and "%%" for "%". "0" is not a flag: zeros come from
// the precision. The width pads with blanks (on the left, on the right after "-") and never cuts.
// Integer types take integer arguments only, float types float arguments only; a mismatch, an
// unknown type or a missing argument raises EConvertError.
//
// FormatFloatPattern: up to three sections split by ";" (positive; negative, written without a
// sign; zero). "0" is a digit or a zero, "#" a digit or nothing, the first "." the decimal point
// (left out when no digit follows), a "," among the integer placeholders groups the digits by
// three, "E+", "E-", "e+" or "e-" followed by one to four zeros writes an exponent; quoted texts
// and every other character are copied. Digits round half away from zero on the decimal digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stdlib {

// One argument of FormatText: an integer, a float or a text.
struct TFormatCell {
  enum Kind { Integer, Float, Text } kind = Text;
  int32_t integer = 0;
  double number = 0;
  std::string text;
};

std::string FormatText(std::string_view pattern, const std::vector<TFormatCell>& cells);
std::string FormatFloatPattern(std::string_view pattern, double value);

// The number texts of the local conventions: "." decimal point, "," between groups of three, the
// yen sign before amounts without decimals.
inline constexpr char kDecimalSeparator = '.';
inline constexpr char kThousandSeparator = ',';
inline constexpr const char* kCurrencySymbol = "\xC2\xA5";
inline constexpr int kCurrencyDecimals = 0;

}  // namespace stdlib
