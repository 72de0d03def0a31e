// The value tags of binary form data ("TPF0" streams) and the helpers shared by the reader, the
// writer and the text converters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

enum TValueType : uint8_t {
  vaNull = 0x00,  // end of a list
  vaList = 0x01,
  vaInt8 = 0x02,
  vaInt16 = 0x03,
  vaInt32 = 0x04,
  vaExtended = 0x05,
  vaString = 0x06,
  vaIdent = 0x07,
  vaFalse = 0x08,
  vaTrue = 0x09,
  vaBinary = 0x0A,
  vaSet = 0x0B,
  vaLString = 0x0C,
  vaNil = 0x0D,
  vaCollection = 0x0E,
  vaSingle = 0x0F,
  vaCurrency = 0x10,
  vaDate = 0x11,
  vaWString = 0x12,
  vaInt64 = 0x13,
  vaUTF8String = 0x14,
};

// Flags of a component header (the prefix byte 0xF0 | flags).
enum TFilerFlag : uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};

// Deepest nesting of objects, lists and collections that the readers accept; deeper data is
// refused as malformed instead of exhausting the stack.
inline constexpr int MaxFilerNesting = 200;

// The 80-bit extended float of the binary form (little-endian: 8 bytes mantissa with explicit
// integer bit, then sign and 15-bit exponent).
void DoubleToExtended(double value, uint8_t out[10]);
double ExtendedToDouble(const uint8_t in[10]);

// UTF-16 code units <-> our UTF-8 text. Invalid bytes travel as the lone surrogates 0xDC80..0xDCFF
// and come back unchanged.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace fw
