#include "script/stdlib/number_format.h"

#include <algorithm>
#include <charconv>
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

void stripZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

}  // namespace

TFloatDigits FloatDigits(double value, int maxSignificant, int maxDecimals) {
  TFloatDigits r;
  if (value == 0 || !std::isfinite(value)) return r;
  r.negative = value < 0;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, kMaxDigits - 1);
  std::string_view sci(buf, size_t(res.ptr - buf));
  size_t e = sci.find('e');
  std::string all;
  for (char c : sci.substr(0, e))
    if (c != '.') all += c;
  int exp10 = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exp10);
  r.exponent = exp10 + 1;

  long keep = std::min<long>(maxSignificant, long(r.exponent) + maxDecimals);
  if (keep >= long(all.size())) {
    r.digits = all;
  } else if (keep < 0) {
    r.digits.clear();
  } else {
    bool up = all[size_t(keep)] >= '5';
    r.digits = all.substr(0, size_t(keep));
    if (up) {
      long k = long(r.digits.size()) - 1;
      while (k >= 0 && r.digits[size_t(k)] == '9') r.digits[size_t(k--)] = '0';
      if (k >= 0) {
        ++r.digits[size_t(k)];
      } else {
        r.digits.insert(r.digits.begin(), '1');
        ++r.exponent;
      }
    }
  }
  stripZeros(r.digits);
  if (r.digits.empty()) r.exponent = 0;
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
