// Checksums of strings and files: CRC-16/MCRF4XX (polynomial 0x1021 reflected, start 0xFFFF, no final
// xor) and the standard CRC-32 (reflected 0xEDB88320, start and final xor 0xFFFFFFFF), both
// computed in one pass.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rt/exception.h"

namespace support {

// A file that opened but could not be read to its end.
class EReadError : public rt::Exception {
 public:
  using Exception::Exception;
  const char* className() const override;
};

void CalcStrCrc(uint16_t& crc16, uint32_t& crc32, std::string_view text);

// False, with both values all ones, when the file is missing or cannot be opened. Only a regular
// file is read (a folder has no bytes, a pipe may never end, nor may a device), and never through
// a name holding a NUL. A read failure after a successful open raises EReadError.
bool CalcFileCrc(uint16_t& crc16, uint32_t& crc32, const std::string& fileName);

}  // namespace support
