#include "platform/audio/wave_file.h"

#include <cstring>
#include <fstream>

namespace audio {

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct ChunkHeader {
  char id[4];
  uint32_t size;
};

bool readHeader(std::istream& in, ChunkHeader& h) {
  uint8_t b[8];
  if (!in.read(reinterpret_cast<char*>(b), 8)) return false;
  std::memcpy(h.id, b, 4);
  h.size = le32(b + 4);
  return true;
}

// Moves to the body of the next chunk called `id` before `end`, skipping others (chunks are padded to
// an even size). False when there is none.
bool findChunk(std::istream& in, const char* id, uint64_t end, ChunkHeader& h) {
  while (static_cast<uint64_t>(in.tellg()) + 8 <= end) {
    if (!readHeader(in, h)) return false;
    if (std::memcmp(h.id, id, 4) == 0) return true;
    in.seekg(static_cast<std::streamoff>(h.size + (h.size & 1)), std::ios::cur);
    if (!in) return false;
  }
  return false;
}

}  // namespace

WaveFile readWaveFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EWaveFile(path + "が、見つかりません");
  in.seekg(0, std::ios::end);
  const uint64_t fileSize = static_cast<uint64_t>(in.tellg());
  in.seekg(0);

  ChunkHeader riff;
  char form[4];
  if (!readHeader(in, riff) || std::memcmp(riff.id, "RIFF", 4) != 0 || !in.read(form, 4) ||
      std::memcmp(form, "WAVE", 4) != 0)
    throw EWaveFile(path + "は、WAVEファイルではありません");
  const uint64_t formEnd = std::min<uint64_t>(fileSize, 8ull + riff.size);

  ChunkHeader fmt;
  if (!findChunk(in, "fmt ", formEnd, fmt)) throw EWaveFile(path + "には、fmtチャンクが有りません");
  // The format record holds 18 bytes; a plain PCM record has 16. Anything beyond is skipped.
  const uint32_t wanted = std::min<uint32_t>(fmt.size, 18);
  uint8_t rec[18] = {};
  if (wanted < 16 || !in.read(reinterpret_cast<char*>(rec), wanted)) throw EWaveFile(path + "のfmtチャンクが不正です");
  WaveFile wave;
  wave.format.formatTag = le16(rec);
  wave.format.channels = le16(rec + 2);
  wave.format.samplesPerSec = le32(rec + 4);
  wave.format.avgBytesPerSec = le32(rec + 8);
  wave.format.blockAlign = le16(rec + 12);
  wave.format.bitsPerSample = le16(rec + 14);
  in.seekg(static_cast<std::streamoff>(fmt.size - wanted + (fmt.size & 1)), std::ios::cur);

  ChunkHeader data;
  if (!in || !findChunk(in, "data", formEnd, data)) throw EWaveFile(path + "には、dataチャンクが有りません");
  const uint64_t available = fileSize - static_cast<uint64_t>(in.tellg());
  wave.data.resize(static_cast<size_t>(std::min<uint64_t>(data.size, available)));
  in.read(reinterpret_cast<char*>(wave.data.data()), static_cast<std::streamsize>(wave.data.size()));
  return wave;
}

}  // namespace audio
