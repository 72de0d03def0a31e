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
