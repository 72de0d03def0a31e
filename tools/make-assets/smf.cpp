#include "tools/make-assets/smf.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assets {

void Song::instrument(int channel, int program, int volume, int pan, int reverb) {
  auto ch = static_cast<uint8_t>(channel);
  if (channel != kDrumChannel) events_.push_back({0, 0, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(program)}});
  events_.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), 7, static_cast<uint8_t>(volume)}});
  events_.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), 10, static_cast<uint8_t>(pan)}});
  events_.push_back({0, 0, {static_cast<uint8_t>(0xB0 | ch), 91, static_cast<uint8_t>(reverb)}});
}

void Song::note(int channel, uint32_t tick, uint32_t ticks, int pitch, int velocity) {
  if (tick >= length_) return;
  uint32_t end = std::min(tick + ticks, length_ - 1);
  if (end <= tick || pitch < 0 || pitch > 127) return;
  auto ch = static_cast<uint8_t>(channel);
  auto p = static_cast<uint8_t>(pitch);
  events_.push_back({tick, 2, {static_cast<uint8_t>(0x90 | ch), p, static_cast<uint8_t>(std::clamp(velocity, 1, 127))}});
  events_.push_back({end, 1, {static_cast<uint8_t>(0x80 | ch), p, 0}});
}

Bytes Song::toSmf(const std::string& trackName) const {
  if (length_ == 0) throw std::logic_error("song without length: " + trackName);
  std::vector<Event> events = events_;
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });

  Bytes track;
  track.varLen(0);
  track.u8(0xFF);
  track.u8(0x03);
  track.varLen(static_cast<uint32_t>(trackName.size()));
  track.text(trackName);
  track.varLen(0);
  track.u8(0xFF);
  track.u8(0x51);
  track.u8(3);
  auto microsPerQuarter = static_cast<uint32_t>(std::lround(60000000.0 / bpm_));
  track.u8(microsPerQuarter >> 16);
  track.u8(microsPerQuarter >> 8);
  track.u8(microsPerQuarter);
  track.varLen(0);
  track.text(std::string("\xFF\x58\x04\x04\x02\x18\x08", 7));  // 4/4

  uint32_t now = 0;
  for (const Event& e : events) {
    track.varLen(e.tick - now);
    now = e.tick;
    for (uint8_t b : e.bytes) track.u8(b);
  }
  track.varLen(length_ - now);
  track.u8(0xFF);
  track.u8(0x2F);
  track.u8(0);

  Bytes file;
  file.text("MThd");
  file.u32be(6);
  file.u16be(0);
  file.u16be(1);
  file.u16be(kTicksPerQuarter);
  file.text("MTrk");
  file.u32be(static_cast<uint32_t>(track.size()));
  file.append(track);
  return file;
}

}  // namespace assets
