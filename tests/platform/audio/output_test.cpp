#include "platform/audio/output.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

namespace {

TEST(Output, PulledOutputHasNoDeviceAndStaysPulled) {
  audio::Output out;
  out.startPulled();
  EXPECT_TRUE(out.start());
  EXPECT_FALSE(out.hasDevice());
  float buf[8];
  out.mixer().mix(buf, 4);
  EXPECT_EQ(buf[7], 0.0f);
}

TEST(Output, NoUsableDriverMeansSilenceNotFailure) {
  const char* before = getenv("SDL_AUDIODRIVER");
  std::string saved = before ? before : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  audio::Output out;
  EXPECT_FALSE(out.start());
  EXPECT_FALSE(out.start());  // asked again: the same answer, no retry
  EXPECT_FALSE(out.hasDevice());
  out.close();
  if (before) setenv("SDL_AUDIODRIVER", saved.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");
}

// Under the test environment's dummy driver a device opens and runs; closing it leaves silence.
TEST(Output, DummyDriverOpensAndCloses) {
  if (std::string(getenv("SDL_AUDIODRIVER") ? getenv("SDL_AUDIODRIVER") : "") != "dummy") GTEST_SKIP();
  audio::Output out;
  EXPECT_TRUE(out.start());
  EXPECT_TRUE(out.hasDevice());
  // Interrupt and terminate still end the program: the sound library took neither signal over.
  for (int signal : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
  }
  out.close();
  EXPECT_FALSE(out.hasDevice());
  EXPECT_FALSE(out.start());
}

}  // namespace
