#include "tools/make-assets/riff_writer.h"

#include <fstream>
#include <stdexcept>

namespace assets {

void Bytes::varLen(uint32_t v) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = v & 0x7F;
    v >>= 7;
  } while (v != 0);
  while (n > 1) u8(groups[--n] | 0x80);
  u8(groups[0]);
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data().data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace assets
