// The music player: standard MIDI files registered under numbers, played one at a time by fluidsynth
// with a General MIDI SoundFont, rendered into the sound output's mixer.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace midi {

// Where the SoundFont is looked for when none is set.
std::string defaultSoundFont();

class Player : public audio::Source {
 public:
  // The player renders into `mixer` once it has a SoundFont; until then (and when it cannot load
  // one) it stays silent.
  explicit Player(audio::Mixer& mixer);
  ~Player() override;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Loads a SoundFont in place of the current one; false (and silence) when it cannot be loaded.
  // The tune playing starts again from its beginning with the new sounds.
  bool loadSoundFont(const std::string& path);
  const std::string& soundFont() const { return soundFont_; }
  bool ready() const { return fontId_ >= 0; }

  // Registers the file's contents under `number`, replacing an earlier one; false when the file cannot
  // be read or is not a standard MIDI file.
  bool add(int number, const std::string& path);
  // Starts tune `number` from its beginning (or `startTick`) in place of the one playing; false when
  // no such tune is registered.
  bool play(int number, bool loop, int startTick = 0);
  void stop();
  // Pauses the tune playing; called again, resumes it where it stopped.
  void pause();
  void flush();  // forgets every registered tune (and stops)

  bool isPlaying() const;
  bool isPaused() const { return paused_; }
  int playingNumber() const { return playing_; }
  // Where the tune playing stands, in MIDI ticks from its start (0 when none).
  int tick() const;

  // Output level, 0..100 (percent of full gain).
  void setVolume(int percent);
  int volume() const { return volume_; }

  void render(float* out, int frames) override;

 private:
  void dropPlayerLocked();

  audio::Mixer& mixer_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  int fontId_ = -1;
  std::string soundFont_;
  std::map<int, std::vector<uint8_t>> tunes_;
  int playing_ = 0;
  bool paused_ = false;
  bool looping_ = false;
  int volume_ = 80;
  std::vector<float> left_, right_;
};

}  // namespace midi
