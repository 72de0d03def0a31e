// Linked into every test program: before any test runs, Qt gets the offscreen platform and SDL the
// dummy audio driver unless the caller chose otherwise, and BR_SOURCE_DIR / BR_BINARY_DIR name
// the source and build folders.
#include <cstdlib>

namespace {

struct TestEnvironment {
  TestEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("BR_SOURCE_DIR", BR_SOURCE_DIR, 0);
    setenv("BR_BINARY_DIR", BR_BINARY_DIR, 0);
  }
} environment;

}  // namespace
