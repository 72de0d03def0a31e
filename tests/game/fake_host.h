// A frame host for driving the game without a window: scripted keys, recorded effects.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/world.h"

namespace game_test {

struct FakeHost : game::FrameHost {
  std::set<int> keys;  // held down
  bool music = true;
  std::map<int, int> channelPlays;
  std::vector<int> tunes;
  std::vector<std::string> texts;  // drawn during the last frame
  int newBest = 0, saves = 0, debugMemo = 0, titles = 0, presents = 0;
  game::Game* game = nullptr;  // BackToTitle stops it, as the form does

  bool KeyDown(int vk) override { return keys.count(vk) > 0; }
  void PlayChannel(int channel) override { ++channelPlays[channel]; }
  bool MusicOn() override { return music; }
  void PlayTune(int tune) override { tunes.push_back(tune); }
  void SmoothText(int, int, const std::string& text, int) override { texts.push_back(text); }
  void NewBestScore() override { ++newBest; }
  void SaveScores() override { ++saves; }
  void ShowDebugMemo() override { ++debugMemo; }
  void BackToTitle() override {
    ++titles;
    if (game) game->Running = 0;
  }
  void Present() override { ++presents; }

  bool shown(const std::string& text) const {
    for (const auto& t : texts)
      if (t == text) return true;
    return false;
  }
};

}  // namespace game_test
