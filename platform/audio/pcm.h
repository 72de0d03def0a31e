// Sample data ready for the mixer: float samples, interleaved when stereo.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/audio/wave_file.h"

namespace audio {

struct Pcm {
  int channels = 1;  // 1 or 2
  int rate = 0;      // frames per second as recorded
  std::vector<float> samples;

  size_t frames() const { return channels ? samples.size() / channels : 0; }
};

// Converts PCM WAVE data (8-bit unsigned or 16-bit signed, mono or stereo); nothing for any other
// format, which the mixer cannot play.
std::optional<Pcm> toPcm(const WaveFile& wave);

}  // namespace audio
