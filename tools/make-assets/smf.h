// A song as timed MIDI events, written as a Standard MIDI File (format 0, 480 ticks per quarter).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/make-assets/riff_writer.h"

namespace assets {

constexpr uint32_t kTicksPerQuarter = 480;
constexpr uint32_t kStep = kTicksPerQuarter / 4;  // a sixteenth note
constexpr uint32_t kBar = 16 * kStep;             // a 4/4 bar
constexpr int kDrumChannel = 9;

class Song {
 public:
  explicit Song(double beatsPerMinute) : bpm_(beatsPerMinute) {}

  // The loop length; every note is cut to end by then, and the track ends exactly there so that
  // a looping player comes back to the start in time.
  void setBars(int bars) { length_ = static_cast<uint32_t>(bars) * kBar; }
  uint32_t length() const { return length_; }

  // Instrument set-up at the start: General MIDI program, channel volume, pan and reverb send.
  void instrument(int channel, int program, int volume, int pan = 64, int reverb = 40);
  void note(int channel, uint32_t tick, uint32_t ticks, int pitch, int velocity);

  Bytes toSmf(const std::string& trackName) const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // at one tick: set-up first, then note-offs, then note-ons
    std::vector<uint8_t> bytes;
  };
  double bpm_;
  uint32_t length_ = 0;
  std::vector<Event> events_;
};

}  // namespace assets
