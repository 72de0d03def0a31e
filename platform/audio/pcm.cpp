#include "platform/audio/pcm.h"

namespace audio {

std::optional<Pcm> toPcm(const WaveFile& wave) {
  const WaveFormat& f = wave.format;
  if (f.formatTag != 1 || f.channels < 1 || f.channels > 2 || f.samplesPerSec == 0 ||
      (f.bitsPerSample != 8 && f.bitsPerSample != 16))
    return std::nullopt;
  Pcm pcm;
  pcm.channels = f.channels;
  pcm.rate = static_cast<int>(f.samplesPerSec);
  const size_t bytesPerSample = f.bitsPerSample / 8;
  const size_t frameBytes = bytesPerSample * f.channels;
  const size_t count = wave.data.size() / frameBytes * f.channels;
  pcm.samples.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (bytesPerSample == 1) {
      pcm.samples[i] = (static_cast<int>(wave.data[i]) - 128) / 128.0f;
    } else {
      auto v = static_cast<int16_t>(wave.data[2 * i] | wave.data[2 * i + 1] << 8);
      pcm.samples[i] = v / 32768.0f;
    }
  }
  return pcm;
}

}  // namespace audio
