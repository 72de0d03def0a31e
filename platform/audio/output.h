// The process's one sound output: an SDL2 audio device (audio subsystem only) fed by one mixer.
// The sound component and the music player share it.
#pragma once

#include <cstdint>

#include "platform/audio/mixer.h"

namespace audio {

class Output {
 public:
  // The process's output, which the sound component and the music player use.
  static Output& instance();

  Output() = default;
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Mixer& mixer() { return mixer_; }

  // Opens the default device the first time (later calls answer the same); false when the machine has
  // no usable device, in which case sound stays silent.
  bool start();
  // The mixer runs with no device: whoever started it pulls `mixer().mix` itself. For drivers that
  // must control time (tests, benchmarks); takes effect before `start`.
  void startPulled();
  bool started() const { return state_ != State::kIdle; }
  bool hasDevice() const { return device_ != 0; }

  // Closes the device (at shut-down); sound stays silent afterwards.
  void close();

 private:
  enum class State { kIdle, kDevice, kPulled, kNone };
  Mixer mixer_;
  State state_ = State::kIdle;
  uint32_t device_ = 0;
};

}  // namespace audio
