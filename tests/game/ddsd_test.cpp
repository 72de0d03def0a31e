#include "game/ddsd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "platform/rt/paths.h"

namespace {

std::string dat(const std::string& name) { return rt::exeDir() + "dat/" + name; }

double energy(audio::Mixer& mixer, int frames) {
  std::vector<float> buf(2 * frames);
  mixer.mix(buf.data(), frames);
  double sum = 0;
  for (float v : buf) sum += v * v;
  return sum;
}

class DDSDTest : public ::testing::Test {
 protected:
  void SetUp() override {
    output.startPulled();
    ddsd.UseOutput(output);
    halted = 0;
    game::TDDSD::HaltHandler() = [this] { ++halted; };
  }
  void TearDown() override { game::TDDSD::HaltHandler() = [] { std::_Exit(1); }; }

  audio::Output output;
  game::TDDSD ddsd{nullptr};
  int halted = 0;
};

TEST_F(DDSDTest, PublishedDefaults) {
  const rt::ClassInfo& cls = game::TDDSD::StaticClassInfo();
  EXPECT_EQ(cls.findProperty("ChannelCount")->getOrd(&ddsd), 8);
  EXPECT_EQ(cls.findProperty("StickyFocus")->getOrd(&ddsd), 1);
  EXPECT_EQ(cls.findProperty("Use3D")->getOrd(&ddsd), 0);
  EXPECT_EQ(cls.findProperty("DebugOption")->setType->toText(cls.findProperty("DebugOption")->getOrd(&ddsd)),
            "dsoHaltOnError");
}

TEST_F(DDSDTest, OneSoundPlaysOnSeveralChannelsIndependently) {
  ddsd.Loaded();
  ASSERT_TRUE(ddsd.Initialised());
  game::TDDSDWaveData sound(ddsd, dat("crash.wav"));
  ASSERT_TRUE(sound.Buffer());
  EXPECT_EQ(sound.Format().samplesPerSec, 22050u);
  game::TDDSDChannel* a = ddsd.GetChannel(0);
  game::TDDSDChannel* b = ddsd.GetChannel(2);
  a->SetWaveData(&sound);
  b->SetWaveData(&sound);
  EXPECT_EQ(a->Frequency(), 22050);
  EXPECT_EQ(energy(output.mixer(), 256), 0.0);
  a->PlayFromStart();
  double one = energy(output.mixer(), 2048);
  EXPECT_GT(one, 0.0);
  b->PlayFromStart();
  EXPECT_TRUE(a->Playing());
  EXPECT_TRUE(b->Playing());
  a->StopSound();
  EXPECT_FALSE(a->Playing());
  EXPECT_TRUE(b->Playing());
  b->PlayFromStart();  // again: from the beginning
  a->PlayFromStart();
  std::vector<float> both(2 * 512);
  output.mixer().mix(both.data(), 512);
  b->StopSound();
  a->PlayFromStart();
  std::vector<float> single(2 * 512);
  output.mixer().mix(single.data(), 512);
  for (int i = 0; i < 512; ++i) EXPECT_NEAR(both[2 * i], std::clamp(2 * single[2 * i], -1.0f, 1.0f), 1e-5f);
  a->SetWaveData(nullptr);
  a->PlayFromStart();
  EXPECT_FALSE(a->Playing());
}

TEST_F(DDSDTest, AMissingOrUnplayableFileLeavesThatSoundSilentAndTheGameRunning) {
  ddsd.Loaded();
  std::string bad = testing::TempDir() + "ddsd_bad.wav";
  std::ofstream(bad) << "RIFF....WAVEfmt ";
  for (const std::string& path : {dat("nothing.wav"), bad}) {
    testing::internal::CaptureStderr();
    game::TDDSDWaveData sound(ddsd, path);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_FALSE(sound.Buffer());
    game::TDDSDChannel* c = ddsd.GetChannel(3);
    c->SetWaveData(&sound);
    c->PlayFromStart();
    EXPECT_FALSE(c->Playing());
  }
  EXPECT_EQ(halted, 0);
}

TEST_F(DDSDTest, ABadChannelNumberIsReportedByTheDebugOptions) {
  ddsd.Loaded();
  EXPECT_EQ(ddsd.GetChannel(8), nullptr);
  EXPECT_EQ(halted, 1);
  ddsd.SetDebugOption({game::dsoExceptOnError, game::dsoDebugMessage});
  try {
    ddsd.GetChannel(-1);
    ADD_FAILURE();
  } catch (const game::EDDSD& e) {
    EXPECT_EQ(e.message(), "チャンネル番号-1は無効です、0～7の範囲で指定してください");
  }
  try {
    ddsd.CheckSoundResult(0x88780096, "一次バッファの解放に失敗しました");
    ADD_FAILURE();
  } catch (const game::EDDSD& e) {
    EXPECT_EQ(e.message(), "一次バッファの解放に失敗しました(Error Code(88780096))");
  }
  EXPECT_EQ(halted, 1);
  ddsd.CheckSoundResult(0, "never reported");
  // The log beside the program: the run's first message rewrote it, later ones append.
  std::ifstream log(rt::exeDir() + "ddsd.debug");
  std::string first, second, more;
  std::getline(log, first);
  std::getline(log, second);
  EXPECT_EQ(first.rfind("debug#", 0), 0u);
  EXPECT_NE(second.find(" ... 一次バッファの解放に失敗しました(Error Code(88780096))\r"), std::string::npos) << second;
  EXPECT_FALSE(std::getline(log, more));
}

TEST(DDSDWithoutDevice, EverythingIsHarmless) {
  const char* before = getenv("SDL_AUDIODRIVER");
  std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  audio::Output output;
  game::TDDSD ddsd(nullptr);
  ddsd.UseOutput(output);
  ddsd.Loaded();
  EXPECT_FALSE(ddsd.Initialised());
  game::TDDSDWaveData sound(ddsd, dat("dam.wav"));
  EXPECT_FALSE(sound.Buffer());
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(ddsd.GetChannel(i), nullptr);
    ddsd.GetChannel(i)->SetWaveData(&sound);
    ddsd.GetChannel(i)->PlayFromStart();
    ddsd.GetChannel(i)->StopSound();
  }
  if (before) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
