// Number <-> text conversions that never depend on the process locale: "." is the only decimal
// separator, and digits are ASCII.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

std::string IntToStr(int64_t value);
// Upper-case hexadecimal, at least `digits` digits.
std::string IntToHex(uint64_t value, int digits);

// Integer text: optional leading blanks, an optional sign, then decimal digits or "$" and
// hexadecimal digits, and nothing after. Decimal text must fit; hexadecimal text may use all 32
// (or 64) bits. Returns false on anything else.
bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);
int32_t StrToIntDef(std::string_view text, int32_t fallback);
// Throws EConvertError ("'<text>' is not a valid integer value").
int32_t StrToInt(std::string_view text);

// Decimal float text: optional blanks around, optional sign, digits with an optional "." and an
// optional exponent "E"/"e" with optional sign. At least one mantissa digit. No "inf" or "nan".
// Returns false on anything else or when the value overflows a double.
bool TryStrToFloat(std::string_view text, double& value);
// Throws EConvertError ("'<text>' is not a valid floating point value").
double StrToFloat(std::string_view text);

// A double's decimal digits: value = ±0.d1 d2 d3 ... × 10^exponent, without trailing zeros; zero
// (of either sign) has no digits, exponent 0 and no sign. Every number text starts from these.
struct DecimalDigits {
  bool negative = false;
  int exponent = 0;
  std::string digits;
};
// The digits of a finite value: with a `significant` of 1..kMaxSignificantDigits, that many
// significant digits of its exact binary value, correctly rounded (an exact tie goes to the even
// digit); with 0, the fewest digits that read back as the same double. Not finite: no digits.
inline constexpr int kMaxSignificantDigits = 800;
DecimalDigits ToDecimalDigits(double value, int significant = 0);
// The fewest digits that read back as the same float.
DecimalDigits ToDecimalDigits(float value);
// Keeps the first `keep` digits, rounding half away from zero on the decimal digits themselves
// (not on the binary value); a carry past the first digit puts a "1" one place up. No digits are
// left when `keep` is below 0; a `keep` of 0 leaves that "1" when the first digit is 5 or more.
// The sign stays, so that a value rounded away can still show it.
void RoundDecimalDigits(DecimalDigits& d, long keep);

// The shortest text that reads back as the same value, as std::to_chars writes it without a
// format: plain notation or "1.5e+22", whichever is shorter (plain on a tie); a plain integer
// shows its exact digits. Not finite: "nan", "inf", "-inf".
std::string ShortestText(double value);
std::string ShortestText(float value);

// The general format: at most `precision` significant digits, no trailing zeros; scientific form
// ("1.5E-7", "1E15") when the decimal exponent is above `precision` or the value is below 1E-4.
// NaN gives "NAN", infinities "INF" and "-INF"; negative zero gives "0".
std::string FloatToStrGeneral(double value, int precision);
// The runtime's FloatToStr: the general format with 15 digits.
inline std::string FloatToStr(double value) { return FloatToStrGeneral(value, 15); }
// Fixed notation with exactly `decimals` digits after the point (halves rounded away from zero
// on the decimal value that the double shows with 15 significant digits).
std::string FloatToStrFixed(double value, int decimals);

}  // namespace rt
