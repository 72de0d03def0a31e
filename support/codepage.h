// Conversions between our text (UTF-8) and Shift_JIS as Windows writes it (code page 932, through
// the system's iconv). Both directions keep bytes they cannot read: a byte that starts no valid
// sequence is carried over unchanged, so binary data survives a round trip. A valid character
// that the other side has no code for becomes "?".
#pragma once

#include <string>
#include <string_view>

namespace support {

std::string Utf8ToSjis(std::string_view text);
std::string SjisToUtf8(std::string_view text);

}  // namespace support
