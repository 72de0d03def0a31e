#include "support/crc.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

#include "support/regular_file.h"

namespace support {

const char* EReadError::className() const { return "EReadError"; }

namespace {

// Both tables are complete before any code runs: they are computed by the compiler.
constexpr std::array<uint32_t, 256> makeTable(uint32_t poly, int width) {
  std::array<uint32_t, 256> t{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ poly : c >> 1;
    t[n] = width == 16 ? (c & 0xFFFF) : c;
  }
  return t;
}

constexpr std::array<uint32_t, 256> kCrc16Table = makeTable(0x8408, 16);
constexpr std::array<uint32_t, 256> kCrc32Table = makeTable(0xEDB88320, 32);

// Running state of both checksums; CRC-32 gets its final xor only in finish().
struct CrcState {
  uint32_t c16 = 0xFFFF;
  uint32_t c32 = 0xFFFFFFFF;

  void update(const unsigned char* p, size_t n) {
    uint32_t a = c16, b = c32;
    for (size_t i = 0; i < n; ++i) {
      a = (a >> 8) ^ kCrc16Table[(a ^ p[i]) & 0xFF];
      b = (b >> 8) ^ kCrc32Table[(b ^ p[i]) & 0xFF];
    }
    c16 = a;
    c32 = b;
  }
  void finish(uint16_t& crc16, uint32_t& crc32) const {
    crc16 = static_cast<uint16_t>(c16);
    crc32 = c32 ^ 0xFFFFFFFFu;
  }
};

}  // namespace

void CalcStrCrc(uint16_t& crc16, uint32_t& crc32, std::string_view text) {
  CrcState s;
  s.update(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  s.finish(crc16, crc32);
}

bool CalcFileCrc(uint16_t& crc16, uint32_t& crc32, const std::string& fileName) {
  crc16 = 0xFFFF;
  crc32 = 0xFFFFFFFF;
  int fd = OpenRegularFile(fileName);
  if (fd < 0) return false;
  constexpr size_t kChunk = 65535;
  std::vector<unsigned char> buffer(kChunk);
  CrcState s;
  for (;;) {
    ssize_t n = ::read(fd, buffer.data(), kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      throw EReadError("Stream read error: " + fileName);
    }
    if (n == 0) break;
    s.update(buffer.data(), static_cast<size_t>(n));
  }
  ::close(fd);
  s.finish(crc16, crc32);
  return true;
}

}  // namespace support
