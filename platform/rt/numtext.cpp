#include "platform/rt/numtext.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <cmath>
#include <limits>

#include "platform/rt/exception.h"

namespace rt {

std::string IntToStr(int64_t value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string IntToHex(uint64_t value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), hex[value & 15]);
    value >>= 4;
  } while (value);
  while (static_cast<int>(s.size()) < digits) s.insert(s.begin(), '0');
  return s;
}

namespace {

bool parseInteger(std::string_view text, int bits, int64_t& out) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size()) return false;
  const uint64_t limit = bits == 32 ? 0xFFFFFFFFull : ~0ull;
  uint64_t v = 0;
  if (text[i] == '$') {
    if (++i >= text.size()) return false;
    for (; i < text.size(); ++i) {
      char c = text[i];
      int d = (c >= '0' && c <= '9') ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
      if (d < 0 || v > (limit >> 4)) return false;
      v = (v << 4) | uint64_t(d);
    }
    // Hexadecimal text may fill every bit: $FFFFFFFF is -1.
    int64_t s = bits == 32 ? int64_t(int32_t(uint32_t(v))) : int64_t(v);
    out = negative ? int64_t(0 - uint64_t(s)) : s;
    if (bits == 32) out = int32_t(uint32_t(uint64_t(out)));
    return true;
  }
  const uint64_t maxMagnitude = bits == 32 ? (negative ? 0x80000000ull : 0x7FFFFFFFull)
                                           : (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull);
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    uint64_t d = uint64_t(c - '0');
    if (v > (maxMagnitude - d) / 10) return false;
    v = v * 10 + d;
  }
  out = negative ? int64_t(0 - v) : int64_t(v);
  return true;
}

}  // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
  int64_t v;
  if (!parseInteger(text, 32, v)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool TryStrToInt64(std::string_view text, int64_t& value) { return parseInteger(text, 64, value); }

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  int32_t v;
  return TryStrToInt(text, v) ? v : fallback;
}

int32_t StrToInt(std::string_view text) {
  int32_t v;
  if (!TryStrToInt(text, v)) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  return v;
}

bool TryStrToFloat(std::string_view text, double& value) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  std::string_view t = text.substr(b, e - b);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  size_t start = i, digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (!digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    size_t expStart = j;
    while (j < t.size() && t[j] >= '0' && t[j] <= '9') ++j;
    if (j == expStart) return false;
    i = j;
  }
  if (i != t.size()) return false;
  std::string body(t.substr(start));
  if (!body.empty() && body[0] == '.') body.insert(body.begin(), '0');
  // The text is checked above; the C locale's strtod reads it (overflow gives infinity,
  // underflow zero), whatever locale the process runs in.
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  double v = strtod_l(body.c_str(), nullptr, cLocale);
  if (std::isinf(v)) return false;
  value = negative ? -v : v;
  return true;
}

double StrToFloat(std::string_view text) {
  double v;
  if (!TryStrToFloat(text, v))
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  return v;
}

namespace {

template <class F>
DecimalDigits digitsOf(F value, int significant) {
  DecimalDigits d;
  if (value == 0 || !std::isfinite(value)) return d;
  d.negative = value < 0;
  char buf[kMaxSignificantDigits + 32];
  F magnitude = std::fabs(value);
  auto r = significant > 0
               ? std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                               std::min(significant, kMaxSignificantDigits) - 1)
               : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  std::string_view sci(buf, size_t(r.ptr - buf));
  size_t e = sci.find('e');
  for (char c : sci.substr(0, e))
    if (c != '.') d.digits += c;
  int exp10 = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exp10);
  d.exponent = exp10 + 1;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

template <class F>
std::string shortestText(F value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  std::string out = std::signbit(value) ? "-" : "";
  if (value == 0) return out + "0";
  DecimalDigits d = ToDecimalDigits(value);
  int n = int(d.digits.size());
  int x = d.exponent - 1;  // the exponent of the scientific form
  int exponentDigits = std::abs(x) >= 100 ? 3 : 2;
  int scientificLength = n + (n > 1 ? 1 : 0) + 2 + exponentDigits;
  int plainLength = x >= 0 ? std::max(x + 1, n + (n > x + 1 ? 1 : 0)) : 2 + (-x - 1) + n;
  if (plainLength > scientificLength) {
    out += d.digits[0];
    if (n > 1) {
      out += '.';
      out.append(d.digits, 1);
    }
    out += x < 0 ? "e-" : "e+";
    std::string e = IntToStr(std::abs(x));
    if (e.size() < 2) out += '0';
    return out + e;
  }
  if (x < 0) return out + "0." + std::string(size_t(-x - 1), '0') + d.digits;
  if (n <= x + 1) {
    // An integer: all of its digits, exactly.
    DecimalDigits exact = ToDecimalDigits(double(value), x + 1);
    out += exact.digits;
    return out.append(size_t(x + 1) - exact.digits.size(), '0');
  }
  out.append(d.digits, 0, size_t(x + 1));
  out += '.';
  return out.append(d.digits, size_t(x + 1));
}

}  // namespace

DecimalDigits ToDecimalDigits(double value, int significant) { return digitsOf(value, significant); }
DecimalDigits ToDecimalDigits(float value) { return digitsOf(value, 0); }

void RoundDecimalDigits(DecimalDigits& d, long keep) {
  if (keep < 0) {
    d.digits.clear();
  } else if (keep < long(d.digits.size())) {
    bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (up) {
      long k = long(d.digits.size()) - 1;
      while (k >= 0 && d.digits[size_t(k)] == '9') d.digits[size_t(k--)] = '0';
      if (k >= 0) {
        ++d.digits[size_t(k)];
      } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
      }
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.exponent = 0;
}

std::string ShortestText(double value) { return shortestText(value); }
std::string ShortestText(float value) { return shortestText(value); }

std::string FloatToStrGeneral(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  DecimalDigits d = ToDecimalDigits(value, precision);
  const std::string& digits = d.digits;
  int exponent = d.exponent - 1;
  // The decimal point sits after `point` digits.
  int point = d.exponent;
  std::string out = d.negative ? "-" : "";
  if (point > precision || point < -3) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += IntToStr(exponent);
  } else if (point <= 0) {
    out += "0.";
    out.append(size_t(-point), '0');
    out += digits;
  } else if (size_t(point) >= digits.size()) {
    out += digits;
    out.append(size_t(point) - digits.size(), '0');
  } else {
    out.append(digits, 0, size_t(point));
    out += '.';
    out.append(digits, size_t(point));
  }
  return out;
}

std::string FloatToStrFixed(double value, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  // Digits as the double shows them with 15 significant digits, then decimal rounding.
  DecimalDigits d = ToDecimalDigits(value, 15);
  RoundDecimalDigits(d, long(d.exponent) + decimals);
  std::string out = d.negative && !d.digits.empty() ? "-" : "";
  if (d.exponent > 0) {
    out.append(d.digits, 0, std::min<size_t>(d.digits.size(), size_t(d.exponent)));
    if (d.digits.size() < size_t(d.exponent)) out.append(size_t(d.exponent) - d.digits.size(), '0');
  } else {
    out += '0';
  }
  if (decimals > 0) {
    std::string fraction;
    if (d.exponent < 0) fraction.assign(size_t(-d.exponent), '0');
    if (int(d.digits.size()) > std::max(d.exponent, 0)) fraction.append(d.digits, size_t(std::max(d.exponent, 0)));
    fraction.resize(size_t(decimals), '0');
    out += '.';
    out += fraction;
  }
  return out;
}

}  // namespace rt
