// Reading RIFF WAVE files: the format record and the sample bytes, unconverted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rt/exception.h"

namespace audio {

// The format record of a WAVE file (the fields of a WAVEFORMATEX).
struct WaveFormat {
  uint16_t formatTag = 0;  // 1: PCM
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
};

struct WaveFile {
  WaveFormat format;
  std::vector<uint8_t> data;  // the "data" chunk as stored
};

// A WAVE file that cannot be read; the message names the file and the fault.
class EWaveFile : public rt::Exception {
 public:
  using rt::Exception::Exception;
  const char* className() const override { return "EWaveFile"; }
};

// Reads `path`: a RIFF form of type "WAVE" holding a "fmt " chunk and, after it, a "data" chunk
// (other chunks are skipped). A "fmt " chunk longer than the format record is read in part; a data
// chunk cut short by the end of the file keeps what is there.
WaveFile readWaveFile(const std::string& path);

}  // namespace audio
