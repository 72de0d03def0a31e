// The traditional DES-based crypt(3) password hash: 13 characters, the two salt characters followed
// by 11 characters of the 25-fold DES encryption of a zero block under the key.
//
// Unlike the system library this accepts any salt: a character outside the crypt alphabet counts as
// 0 but is echoed as given, and a one-character salt is written twice. An empty salt gives "".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace support {

class TCrypt3 {
 public:
  TCrypt3() = default;

  // Key: its first 8 bytes (shorter keys padded with zero bytes), 7 bits of each.
  std::string Crypt(std::string_view key, std::string_view salt);

 private:
  // The salt is remembered so that a repeated salt skips working out its bits again.
  char saltChars_[2] = {0, 0};
  bool haveSalt_ = false;
  uint32_t saltMask_ = 0;
};

}  // namespace support
