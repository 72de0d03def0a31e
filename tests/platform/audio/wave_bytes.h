// Builds WAVE files byte by byte for the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace audio_test {

struct Bytes {
  std::vector<uint8_t> b;
  Bytes& tag(const char* s) {
    b.insert(b.end(), s, s + 4);
    return *this;
  }
  Bytes& u16(uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
    return *this;
  }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& raw(std::vector<uint8_t> more) {
    b.insert(b.end(), more.begin(), more.end());
    return *this;
  }
};

inline std::vector<uint8_t> fmtChunk(int channels, int rate, int bits, int size = 16) {
  Bytes f;
  f.tag("fmt ").u32(size).u16(1).u16(channels).u32(rate).u32(rate * channels * bits / 8).u16(channels * bits / 8).u16(bits);
  for (int i = 16; i < size + size % 2; ++i) f.b.push_back(0);
  return f.b;
}

inline std::vector<uint8_t> chunk(const char* id, std::vector<uint8_t> body) {
  Bytes c;
  c.tag(id).u32(static_cast<uint32_t>(body.size())).raw(body);
  if (body.size() % 2) c.b.push_back(0);
  return c.b;
}

inline std::vector<uint8_t> riffWave(std::vector<std::vector<uint8_t>> chunks) {
  Bytes body;
  body.tag("WAVE");
  for (auto& c : chunks) body.raw(c);
  Bytes file;
  file.tag("RIFF").u32(static_cast<uint32_t>(body.b.size())).raw(body.b);
  return file.b;
}

inline std::vector<uint8_t> pcm16(std::vector<int16_t> samples) {
  Bytes d;
  for (int16_t s : samples) d.u16(static_cast<uint16_t>(s));
  return d.b;
}

// The test process's files go into one folder that is removed when the process ends.
inline std::string writeTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  static support_test::TempDir folder;
  return folder.write(name, std::string(bytes.begin(), bytes.end()));
}

}  // namespace audio_test
