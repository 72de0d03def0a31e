#include "platform/midi/player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/audio/output.h"
#include "platform/midi/ggs.h"
#include "platform/rt/paths.h"
#include "tests/support/temp_dir.h"

namespace {

// The tests run from the build's bin folder, where the game's data is generated.
std::string datFile(const std::string& name) { return rt::exeDir() + "dat/" + name; }

// A one-bar tune at 240 beats a minute (one second): C, D, E and F as quarter notes.
std::string writeShortTune() {
  std::vector<unsigned char> track;
  auto add = [&](std::initializer_list<unsigned char> bytes) {
    for (unsigned char b : bytes) track.push_back(b);
  };
  add({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90});  // 250000 us per quarter
  const unsigned char notes[] = {60, 62, 64, 65};
  for (int i = 0; i < 4; ++i) {
    track.push_back(i == 0 ? 0x00 : 0x40);  // the quarter's last 64 ticks are silent
    add({0x90, notes[i], 100, 0x83, 0x20, 0x80, notes[i], 0});  // off after 416 ticks
  }
  add({0x40, 0xFF, 0x2F, 0x00});
  const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0,
                                  static_cast<unsigned char>(track.size())};
  static support_test::TempDir dir;  // removed when the tests end
  auto path = std::filesystem::path(dir.file("tune.mid"));
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out.write(reinterpret_cast<const char*>(track.data()), static_cast<std::streamsize>(track.size()));
  return path.string();
}

// Root mean square of `seconds` of the mix.
double loudness(audio::Mixer& mixer, double seconds) {
  std::vector<float> buf(2 * 1024);
  double sum = 0;
  long n = 0;
  for (long done = 0; done < seconds * audio::Mixer::kRate; done += 1024) {
    mixer.mix(buf.data(), 1024);
    for (float v : buf) sum += v * v;
    n += static_cast<long>(buf.size());
  }
  return std::sqrt(sum / n);
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(midi::defaultSoundFont())) GTEST_SKIP() << "no SoundFont installed";
    ASSERT_TRUE(player.loadSoundFont(midi::defaultSoundFont()));
  }
  audio::Mixer mixer;
  midi::Player player{mixer};
};

TEST_F(PlayerTest, EveryGameTuneLoadsAndSounds) {
  const char* names[] = {"giss.mid", "giss_old.mid", "run.mid", "op.mid",
                         "noiz.mid", "nagi.mid",     "night.MID", "cl.MID"};
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(player.add(i + 1, datFile(names[i]))) << names[i];
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(player.play(i + 1, true)) << names[i];
    EXPECT_GT(loudness(mixer, 3.0), 0.01) << names[i];
    EXPECT_EQ(player.playingNumber(), i + 1);
  }
}

TEST_F(PlayerTest, StopSilencesAndUnknownTunesAreRefused) {
  ASSERT_TRUE(player.add(1, writeShortTune()));
  EXPECT_FALSE(player.play(2, true));
  ASSERT_TRUE(player.play(1, true));
  EXPECT_GT(loudness(mixer, 0.5), 0.01);
  player.stop();
  EXPECT_FALSE(player.isPlaying());
  loudness(mixer, 1.5);  // reverb tail
  EXPECT_LT(loudness(mixer, 0.5), 0.0005);
  EXPECT_FALSE(player.add(3, "/nonexistent.mid"));
  EXPECT_FALSE(player.add(3, midi::defaultSoundFont()));  // not a MIDI file
}

TEST_F(PlayerTest, PauseHoldsThePlaceAndASecondPauseResumes) {
  ASSERT_TRUE(player.add(1, writeShortTune()));
  ASSERT_TRUE(player.play(1, false));
  loudness(mixer, 0.3);
  player.pause();
  EXPECT_TRUE(player.isPaused());
  int held = player.tick();
  EXPECT_GT(held, 400);
  loudness(mixer, 1.5);
  EXPECT_LT(loudness(mixer, 0.5), 0.0005);  // a paused tune neither sounds nor advances
  EXPECT_EQ(player.tick(), held);
  player.pause();
  EXPECT_FALSE(player.isPaused());
  EXPECT_GT(loudness(mixer, 0.4), 0.005);  // the next notes come
  EXPECT_GT(player.tick(), held);
  EXPECT_TRUE(player.isPlaying());
}

TEST_F(PlayerTest, LoopingTuneKeepsGoingAndASingleRunEnds) {
  ASSERT_TRUE(player.add(1, writeShortTune()));
  ASSERT_TRUE(player.play(1, false));
  loudness(mixer, 1.5);
  EXPECT_FALSE(player.isPlaying());
  ASSERT_TRUE(player.play(1, true));
  loudness(mixer, 2.5);
  EXPECT_TRUE(player.isPlaying());
  EXPECT_GT(loudness(mixer, 0.5), 0.005);
}

TEST_F(PlayerTest, VolumeScalesTheOutput) {
  ASSERT_TRUE(player.add(1, writeShortTune()));
  ASSERT_TRUE(player.play(1, true));
  double full = loudness(mixer, 0.5);
  player.setVolume(0);
  loudness(mixer, 0.2);
  EXPECT_LT(loudness(mixer, 0.3), full / 50);
  player.setVolume(250);
  EXPECT_EQ(player.volume(), 100);
}

TEST_F(PlayerTest, ChangingTheSoundFontRestartsTheTunePlaying) {
  ASSERT_TRUE(player.add(1, writeShortTune()));
  ASSERT_TRUE(player.play(1, true));
  loudness(mixer, 0.6);
  EXPECT_FALSE(player.loadSoundFont("/nonexistent.sf2"));
  EXPECT_EQ(player.playingNumber(), 1);
  EXPECT_EQ(loudness(mixer, 0.3), 0.0);
  EXPECT_TRUE(player.loadSoundFont(midi::defaultSoundFont()));
  EXPECT_EQ(player.playingNumber(), 1);
  EXPECT_LT(player.tick(), 100);  // from the beginning
  EXPECT_GT(loudness(mixer, 0.3), 0.005);
}

TEST(PlayerWithoutSoundFont, StaysSilentButKeepsItsState) {
  audio::Mixer mixer;
  midi::Player player(mixer);
  EXPECT_FALSE(player.loadSoundFont("/nonexistent.sf2"));
  EXPECT_FALSE(player.ready());
  ASSERT_TRUE(player.add(1, writeShortTune()));
  EXPECT_TRUE(player.play(1, true));
  EXPECT_EQ(player.playingNumber(), 1);
  player.pause();
  EXPECT_TRUE(player.isPaused());
  player.pause();
  EXPECT_TRUE(player.isPlaying());
  EXPECT_EQ(loudness(mixer, 0.2), 0.0);
}

TEST(GGS, CallsWorkInOrderWithoutADialog) {
  audio::Output::instance().startPulled();
  EXPECT_EQ(midi::GGSSetDevice(-1000, 0), midi::kGGSOk);
  EXPECT_EQ(midi::GGSAddList(writeShortTune(), 1, 3), midi::kGGSOk);
  EXPECT_EQ(midi::GGSAddList("/nonexistent.mid", 1, 4), midi::kGGSNoSuchFile);
  EXPECT_EQ(midi::GGSPlay(2, 3, 0), midi::kGGSOk);
  EXPECT_EQ(midi::player().playingNumber(), 3);
  EXPECT_EQ(midi::GGSPlay(2, 4, 0), midi::kGGSNoSuchList);
  EXPECT_EQ(midi::GGSConfigDlg(0), midi::kGGSNoDialog);
  int shown = 0;
  midi::setConfigDialog([&](midi::Player&, intptr_t) { ++shown; });
  EXPECT_EQ(midi::GGSConfigDlg(0), midi::kGGSOk);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(midi::GGSPause(), midi::kGGSOk);
  EXPECT_EQ(midi::GGSStop(), midi::kGGSOk);
  EXPECT_EQ(midi::GGSFlushList(), midi::kGGSOk);
  EXPECT_EQ(midi::GGSPlay(2, 3, 0), midi::kGGSNoSuchList);
  EXPECT_EQ(midi::GGSFree(), midi::kGGSOk);
  midi::setConfigDialog(nullptr);
}

}  // namespace
