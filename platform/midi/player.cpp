#include "platform/midi/player.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace midi {

namespace {

constexpr int kChunk = 1024;  // frames rendered per synth call

// fluidsynth reports through its own logger; keep its chatter out of the game's terminal and
// pass on only real errors.
void quietLog(int level, const char* message, void*) {
  if (level <= FLUID_ERR) std::fprintf(stderr, "music: %s\n", message);
}

// Gain at 100 %: loud enough next to the effects, with headroom for a full General MIDI arrangement.
constexpr float kFullGain = 0.6f;

}  // namespace

std::string defaultSoundFont() {
  for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                           "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
    if (std::filesystem::exists(path)) return path;
  return "/usr/share/sounds/sf2/TimGM6mb.sf2";
}

Player::Player(audio::Mixer& mixer) : mixer_(mixer), left_(kChunk), right_(kChunk) {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, quietLog, nullptr);
  settings_ = new_fluid_settings();
  fluid_settings_setnum(settings_, "synth.sample-rate", audio::Mixer::kRate);
  fluid_settings_setstr(settings_, "player.timing-source", "sample");  // the tune advances as it is rendered
  fluid_settings_setint(settings_, "synth.reverb.active", 1);
  fluid_settings_setint(settings_, "synth.chorus.active", 1);
  synth_ = new_fluid_synth(settings_);
  fluid_synth_set_gain(synth_, kFullGain * volume_ / 100.0f);
  mixer_.addSource(this);
}

Player::~Player() {
  mixer_.removeSource(this);
  auto lock = mixer_.lock();
  dropPlayerLocked();
  delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}

bool Player::loadSoundFont(const std::string& path) {
  const int tune = playing_;
  const bool loop = looping_;
  bool loaded;
  {
    auto lock = mixer_.lock();
    dropPlayerLocked();
    if (fontId_ >= 0) fluid_synth_sfunload(synth_, fontId_, 1);
    fontId_ = -1;
    soundFont_ = path;
    loaded = std::filesystem::is_regular_file(path) && (fontId_ = fluid_synth_sfload(synth_, path.c_str(), 1)) != FLUID_FAILED;
    if (!loaded) {
      fontId_ = -1;
      std::fprintf(stderr, "music: cannot load the SoundFont %s; music stays silent\n", path.c_str());
    }
  }
  if (tune != 0) play(tune, loop);
  return loaded;
}

bool Player::add(int number, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes;
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
    std::fprintf(stderr, "music: cannot use %s as a MIDI file\n", path.c_str());
    return false;
  }
  auto lock = mixer_.lock();
  tunes_[number] = std::move(bytes);
  return true;
}

void Player::dropPlayerLocked() {
  if (player_) {
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
  }
  paused_ = false;
  fluid_synth_all_sounds_off(synth_, -1);
}

bool Player::play(int number, bool loop, int startTick) {
  auto lock = mixer_.lock();
  auto it = tunes_.find(number);
  if (it == tunes_.end()) return false;
  dropPlayerLocked();
  fluid_synth_system_reset(synth_);
  playing_ = number;
  if (fontId_ < 0) return true;  // silent, but the tune counts as playing
  player_ = new_fluid_player(synth_);
  if (!player_ || fluid_player_add_mem(player_, it->second.data(), it->second.size()) != FLUID_OK) {
    std::fprintf(stderr, "music: cannot play tune %d\n", number);
    if (player_) delete_fluid_player(player_);
    player_ = nullptr;
    return false;
  }
  looping_ = loop;
  fluid_player_set_loop(player_, loop ? -1 : 1);
  fluid_player_play(player_);
  if (startTick > 0) fluid_player_seek(player_, startTick);
  return true;
}

void Player::stop() {
  auto lock = mixer_.lock();
  dropPlayerLocked();
  playing_ = 0;
}

void Player::pause() {
  auto lock = mixer_.lock();
  if (!player_) {
    paused_ = playing_ != 0 && !paused_;
    return;
  }
  if (paused_) {
    fluid_player_play(player_);
    paused_ = false;
  } else {
    fluid_player_stop(player_);  // keeps its place in the tune
    fluid_synth_all_notes_off(synth_, -1);
    paused_ = true;
  }
}

void Player::flush() {
  auto lock = mixer_.lock();
  dropPlayerLocked();
  playing_ = 0;
  tunes_.clear();
}

bool Player::isPlaying() const {
  auto lock = mixer_.lock();
  if (playing_ == 0 || paused_) return false;
  if (!player_) return true;  // silent for want of a SoundFont, but playing as far as the game can tell
  if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING) return false;
  // A tune played once keeps the player's clock running after its end; it has ended all the same.
  return looping_ || fluid_player_get_current_tick(player_) < fluid_player_get_total_ticks(player_);
}

int Player::tick() const {
  auto lock = mixer_.lock();
  return player_ ? fluid_player_get_current_tick(player_) : 0;
}

void Player::setVolume(int percent) {
  auto lock = mixer_.lock();
  volume_ = std::clamp(percent, 0, 100);
  fluid_synth_set_gain(synth_, kFullGain * volume_ / 100.0f);
}

// Called by the mixer with its lock held.
void Player::render(float* out, int frames) {
  if (fontId_ < 0) return;
  while (frames > 0) {
    int n = std::min(frames, kChunk);
    fluid_synth_write_float(synth_, n, left_.data(), 0, 1, right_.data(), 0, 1);
    for (int i = 0; i < n; ++i) {
      out[2 * i] += left_[i];
      out[2 * i + 1] += right_[i];
    }
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace midi
