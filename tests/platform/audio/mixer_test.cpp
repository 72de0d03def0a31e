#include "platform/audio/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::shared_ptr<const audio::Pcm> ramp(int frames, int rate, int channels = 1) {
  auto p = std::make_shared<audio::Pcm>();
  p->channels = channels;
  p->rate = rate;
  for (int i = 0; i < frames * channels; ++i) p->samples.push_back(static_cast<float>(i + 1) / 1000.0f);
  return p;
}

std::vector<float> pull(audio::Mixer& m, int frames) {
  std::vector<float> out(2 * frames, 99.0f);
  m.mix(out.data(), frames);
  return out;
}

TEST(Mixer, VoiceAtTheMixRatePlaysItsSamplesOnceOnBothSides) {
  audio::Mixer m;
  audio::Voice v(m, ramp(4, audio::Mixer::kRate));
  EXPECT_EQ(pull(m, 2), std::vector<float>(4, 0.0f));  // not started
  v.play();
  auto out = pull(m, 6);
  EXPECT_FLOAT_EQ(out[0], 0.001f);
  EXPECT_FLOAT_EQ(out[1], 0.001f);
  EXPECT_FLOAT_EQ(out[6], 0.004f);
  EXPECT_FLOAT_EQ(out[8], 0.0f);  // ended: silence after the last sample
  EXPECT_FALSE(v.isPlaying());
}

TEST(Mixer, FrequencyResamplesLinearly) {
  audio::Mixer m;
  audio::Voice v(m, ramp(3, audio::Mixer::kRate / 2));
  v.play();
  auto out = pull(m, 6);
  const float expected[] = {0.001f, 0.0015f, 0.002f, 0.0025f, 0.003f, 0.003f};  // the last frame holds
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(out[2 * i], expected[i], 1e-6) << i;

  audio::Voice fast(m, ramp(8, audio::Mixer::kRate));
  fast.setFrequency(2 * audio::Mixer::kRate);
  fast.play();
  out = pull(m, 2);
  EXPECT_NEAR(out[0], 0.001f, 1e-6);
  EXPECT_NEAR(out[2], 0.003f, 1e-6);
}

TEST(Mixer, DuplicatesShareDataButPlayIndependently) {
  audio::Mixer m;
  audio::Voice original(m, ramp(4, audio::Mixer::kRate));
  original.setVolume(-600);
  auto a = original.duplicate();
  auto b = original.duplicate();
  EXPECT_EQ(a->volume(), -600);
  EXPECT_EQ(&a->pcm(), &original.pcm());
  a->setVolume(0);
  a->play();
  pull(m, 2);
  b->setVolume(0);
  b->play();
  auto out = pull(m, 1);
  EXPECT_NEAR(out[0], 0.003f + 0.001f, 1e-6);  // a at its third sample, b at its first
  EXPECT_FALSE(original.isPlaying());
}

TEST(Mixer, RestartStopAndPosition) {
  audio::Mixer m;
  audio::Voice v(m, ramp(10, audio::Mixer::kRate));
  v.play();
  pull(m, 3);
  v.stop();
  EXPECT_EQ(v.position(), 3u);
  EXPECT_EQ(pull(m, 1)[0], 0.0f);
  v.setPosition(0);
  v.play();
  EXPECT_FLOAT_EQ(pull(m, 1)[0], 0.001f);
  v.setPosition(1000);  // past the end: stays at the end and plays nothing
  v.play();
  EXPECT_FALSE(v.isPlaying());
}

TEST(Mixer, VolumePanAndClamping) {
  audio::Mixer m;
  auto loud = std::make_shared<audio::Pcm>();
  loud->rate = audio::Mixer::kRate;
  loud->samples = {0.8f, 0.8f, 0.8f};
  audio::Voice a(m, loud), b(m, loud);
  a.play();
  b.play();
  EXPECT_FLOAT_EQ(pull(m, 1)[0], 1.0f);  // 1.6 clamped

  a.stop();
  b.setVolume(-2000);  // -20 dB: a tenth
  b.setPan(2000);      // right: the left side loses another 20 dB
  auto out = pull(m, 1);
  EXPECT_NEAR(out[0], 0.008f, 1e-6);
  EXPECT_NEAR(out[1], 0.08f, 1e-6);
  b.setVolume(-10000);
  b.setPosition(0);
  b.play();
  EXPECT_EQ(pull(m, 1)[1], 0.0f);
  b.setVolume(500);
  EXPECT_EQ(b.volume(), 0);
}

TEST(Mixer, StereoDataKeepsItsSidesAndSourcesAddIn) {
  struct Constant : audio::Source {
    void render(float* out, int frames) override {
      for (int i = 0; i < 2 * frames; ++i) out[i] += 0.25f;
    }
  } source;
  audio::Mixer m;
  audio::Voice v(m, ramp(2, audio::Mixer::kRate, 2));
  v.play();
  m.addSource(&source);
  auto out = pull(m, 1);
  EXPECT_FLOAT_EQ(out[0], 0.251f);
  EXPECT_FLOAT_EQ(out[1], 0.252f);
  m.removeSource(&source);
  EXPECT_FLOAT_EQ(pull(m, 1)[0], 0.003f);
}

}  // namespace
