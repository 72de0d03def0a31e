#include "script/stdlib/number_format.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/rt/numtext.h"

namespace stdlib {

namespace {

constexpr int kMaxDigits = 18;

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-infinity" : "infinity";
}

}  // namespace

TFloatDigits FloatDigits(double value, int maxSignificant, int maxDecimals) {
  TFloatDigits r = rt::ToDecimalDigits(value, kMaxDigits);
  rt::RoundDecimalDigits(r, std::min<long>(maxSignificant, long(r.exponent) + maxDecimals));
  return r;
}

std::string FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return nonFinite(value);
  decimals = std::clamp(decimals, 0, kMaxDigits);
  TFloatDigits d = FloatDigits(value, 15, decimals);
  if (d.exponent > 15) return rt::FloatToStrGeneral(value, 15);
  std::string out = d.negative ? "-" : "";
  if (d.exponent <= 0) {
    out += '0';
  } else {
    out.append(d.digits, 0, std::min<size_t>(d.digits.size(), size_t(d.exponent)));
    if (int(d.digits.size()) < d.exponent) out.append(size_t(d.exponent) - d.digits.size(), '0');
  }
  if (decimals > 0) {
    out += '.';
    std::string fraction;
    if (d.exponent < 0) fraction.assign(size_t(-d.exponent), '0');
    if (int(d.digits.size()) > std::max(d.exponent, 0)) fraction.append(d.digits, size_t(std::max(d.exponent, 0)));
    fraction.resize(size_t(decimals), '0');
    out += fraction;
  }
  return out;
}

std::string FormatExponent(double value, int significant, int minExponentDigits) {
  if (!std::isfinite(value)) return nonFinite(value);
  TFloatDigits d;
  if (significant <= 0) {
    d = FloatDigits(value, 15, INT_MAX / 2);
    significant = std::max<int>(1, int(d.digits.size()));
  } else {
    significant = std::min(significant, kMaxDigits);
    d = FloatDigits(value, significant, INT_MAX / 2);
  }
  std::string digits = d.digits;
  digits.resize(size_t(significant), '0');
  int exponent = d.digits.empty() ? 0 : d.exponent - 1;
  std::string out = d.negative ? "-" : "";
  out += digits[0];
  if (significant > 1) {
    out += '.';
    out.append(digits, 1);
  }
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
  if (int(e.size()) < minExponentDigits) out.append(size_t(minExponentDigits) - e.size(), '0');
  out += e;
  return out;
}

namespace {

std::string unsignedDigits(uint32_t value, int bitsPerDigit) {
  if (value == 0) return "0";
  std::string out;
  uint32_t mask = (1u << bitsPerDigit) - 1;
  for (; value; value >>= bitsPerDigit) out.insert(out.begin(), char('0' + (value & mask)));
  return out;
}

}  // namespace

std::string IntToBin(int32_t value) { return unsignedDigits(uint32_t(value), 1); }
std::string IntToOct(int32_t value) { return unsignedDigits(uint32_t(value), 3); }

}  // namespace stdlib
