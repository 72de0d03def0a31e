#include "platform/fw/filer_values.h"

#include <cmath>
#include <cstring>

#include "platform/rt/utf8.h"

namespace fw {

void DoubleToExtended(double value, uint8_t out[10]) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  uint16_t sign = (bits >> 63) ? 0x8000 : 0;
  int exp = int((bits >> 52) & 0x7FF);
  uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
  uint64_t mantissa = 0;
  uint16_t e = 0;
  if (exp == 0x7FF) {
    e = 0x7FFF;
    mantissa = (uint64_t(1) << 63) | (frac << 11);
  } else if (exp == 0) {
    if (frac != 0) {  // subnormal double: normalise
      int shift = 0;
      while (!(frac & (uint64_t(1) << 52))) {
        frac <<= 1;
        ++shift;
      }
      mantissa = frac << 11;
      e = uint16_t(1 - 1023 - shift + 16383);
    }
  } else {
    mantissa = (uint64_t(1) << 63) | (frac << 11);
    e = uint16_t(exp - 1023 + 16383);
  }
  std::memcpy(out, &mantissa, 8);
  uint16_t se = sign | e;
  std::memcpy(out + 8, &se, 2);
}

double ExtendedToDouble(const uint8_t in[10]) {
  uint64_t mantissa;
  uint16_t se;
  std::memcpy(&mantissa, in, 8);
  std::memcpy(&se, in + 8, 2);
  bool negative = se & 0x8000;
  int e = se & 0x7FFF;
  double v;
  if (e == 0x7FFF) {
    v = (mantissa << 1) == 0 ? INFINITY : NAN;
  } else if (mantissa == 0) {
    v = 0.0;
  } else {
    v = std::ldexp(double(mantissa), e - 16383 - 63);
  }
  return negative ? -v : v;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = 1;
    char32_t cp = rt::utf8::decode(text, pos, &len);
    if (len == 0) len = 1;
    pos += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    } else {
      out += char16_t(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    rt::utf8::append(out, c);
  }
  return out;
}

}  // namespace fw
