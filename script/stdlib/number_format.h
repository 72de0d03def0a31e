// Number texts of the Number object: fixed and exponent formats, binary and octal digits.
//
// Every format starts from the same decimal digits: the 18 significant digits of the double,
// correctly rounded, then cut to the digits the format keeps and rounded half away from zero on
// that decimal text (never the binary value: 1.005 shows as 1.00499999999999989, so it rounds to
// 1.00, while 0.125 rounds to 0.13). No format depends on the C locale.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rt/numtext.h"

namespace stdlib {

// value = 0.d1 d2 d3 ... x 10^exponent; no trailing zeros; empty digits for zero.
using TFloatDigits = rt::DecimalDigits;

// The digits of a finite value, keeping at most `maxSignificant` significant digits and at most
// `maxDecimals` digits after the decimal point.
TFloatDigits FloatDigits(double value, int maxSignificant, int maxDecimals);

// Fixed notation with `decimals` (0..18) digits after the point, at most 15 significant digits;
// a value with more than 15 digits before the point is written in the general format ("1E20").
// A negative value keeps its sign when it rounds to zero ("-0.00").
std::string FormatFixed(double value, int decimals);
// One digit, the point and the further digits (`significant` in all, 1..18), "E", the sign of
// the exponent always, then the exponent with at least `minExponentDigits` digits: "1.23E+2".
// A `significant` of 0 or less takes the digits the general format shows (at least one).
std::string FormatExponent(double value, int significant, int minExponentDigits = 1);

// The unsigned 32-bit pattern in base 2 or 8, most significant digit first; "0" for zero.
std::string IntToBin(int32_t value);
std::string IntToOct(int32_t value);

}  // namespace stdlib
