#include "platform/rt/numtext.h"

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

std::string FloatToStrGeneral(double value, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
  std::string_view sci(buf, size_t(r.ptr - buf));
  bool negative = sci[0] == '-';
  if (negative) sci.remove_prefix(1);
  auto epos = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, epos))
    if (c != '.') digits += c;
  int exponent = 0;
  std::from_chars(sci.data() + epos + 1 + (sci[epos + 1] == '+'), sci.data() + sci.size(), exponent);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  // The decimal point sits after `point` digits.
  int point = exponent + 1;
  std::string out = negative ? "-" : "";
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
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string_view sci(buf, size_t(r.ptr - buf));
  bool negative = sci[0] == '-';
  if (negative) sci.remove_prefix(1);
  auto epos = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, epos))
    if (c != '.') digits += c;
  int exponent = 0;
  std::from_chars(sci.data() + epos + 1 + (sci[epos + 1] == '+'), sci.data() + sci.size(), exponent);
  // Integer part has (exponent + 1) digits; keep digits up to `decimals` after the point.
  int keep = exponent + 1 + decimals;
  std::string kept;
  if (keep < 0) {
    kept = "0";
    keep = 0;
  } else {
    kept = digits.substr(0, size_t(std::min<int>(keep, int(digits.size()))));
    while (int(kept.size()) < keep) kept += '0';
    bool roundUp = size_t(keep) < digits.size() && digits[size_t(keep)] >= '5';
    if (roundUp) {
      int k = int(kept.size()) - 1;
      while (k >= 0 && kept[size_t(k)] == '9') kept[size_t(k--)] = '0';
      if (k >= 0) {
        kept[size_t(k)]++;
      } else {
        kept.insert(kept.begin(), '1');
        ++keep;
        ++exponent;
      }
    }
  }
  // kept holds the digits of round(value * 10^decimals).
  if (kept.empty()) kept = "0";
  while (int(kept.size()) < decimals + 1) kept.insert(kept.begin(), '0');
  std::string intPart = kept.substr(0, kept.size() - size_t(decimals));
  std::string frac = kept.substr(kept.size() - size_t(decimals));
  size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
  bool allZero = intPart == "0" && frac.find_first_not_of('0') == std::string::npos;
  std::string out = (negative && !allZero) ? "-" : "";
  out += intPart;
  if (decimals > 0) out += "." + frac;
  return out;
}

}  // namespace rt
