// Our mixer: voices playing shared sample data, plus sources (the music synthesizer) that render
// into the same output. The output is interleaved stereo float at `Mixer::kRate`.
//
// The audio device's thread pulls `mix`; every other operation comes from the GUI thread. One mutex
// guards the voices and sources for the short time each operation takes; `mix` allocates nothing.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/pcm.h"

namespace audio {

class Mixer;

// Renders into the mix; called with the mixer's lock held, from the audio thread.
class Source {
 public:
  virtual ~Source() = default;
  // Adds `frames` stereo frames to `out`.
  virtual void render(float* out, int frames) = 0;
};

// One playing instance of sample data, with its own position, volume, pan and frequency (a sound
// buffer, in the terms the game's sound component uses).
class Voice {
 public:
  Voice(Mixer& mixer, std::shared_ptr<const Pcm> pcm);
  ~Voice();
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  // A new voice on the same data, starting stopped at the beginning with this one's settings.
  std::unique_ptr<Voice> duplicate() const;

  void play();  // from the current position, once
  void stop();  // keeps the position
  void setPosition(size_t frame);
  bool isPlaying() const;
  size_t position() const;

  // Volume in hundredths of a decibel (0 full, -10000 silent), pan likewise (-10000 left only,
  // 10000 right only), frequency in frames per second (100..200000).
  void setVolume(int hundredthsDb);
  void setPan(int pan);
  void setFrequency(int hz);
  int volume() const;
  int pan() const;
  int frequency() const;

  const Pcm& pcm() const { return *pcm_; }

 private:
  friend class Mixer;
  void renderLocked(float* out, int frames);
  void updateGainsLocked();

  Mixer& mixer_;
  std::shared_ptr<const Pcm> pcm_;
  double position_ = 0;  // in frames of the data
  bool playing_ = false;
  int volume_ = 0, pan_ = 0, frequency_;
  float left_ = 1, right_ = 1;
};

class Mixer {
 public:
  static constexpr int kRate = 44100;

  Mixer() = default;
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Fills `frames` stereo frames: every playing voice and every source, summed and clamped to -1..1.
  void mix(float* out, int frames);

  void addSource(Source* source);
  void removeSource(Source* source);

  // Held by callers that change what a source renders.
  std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

 private:
  friend class Voice;
  std::mutex mutex_;
  std::vector<Voice*> voices_;
  std::vector<Source*> sources_;
};

}  // namespace audio
