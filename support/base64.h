// Base64 with the standard alphabet and "=" padding, written without line breaks.
#pragma once

#include <string>
#include <string_view>

namespace support {

std::string EncodeBase64(std::string_view data);

// Decodes groups of four symbols: a group whose third symbol is "=" gives one byte, whose fourth is
// "=" two, else three. Line breaks and every other character outside the alphabet are skipped
// wherever they stand; a final group cut short gives what its symbols hold (two symbols one byte,
// three symbols two bytes), and a group starting with "=" gives nothing.
std::string DecodeBase64(std::string_view text);

}  // namespace support
