#include "platform/rt/random.h"

#include <chrono>

namespace rt {

uint32_t RandSeed = 0;

static uint32_t advance() {
  RandSeed = RandSeed * 134775813u + 1u;
  return RandSeed;
}

int32_t Random(int32_t n) {
  uint64_t state = advance();
  return static_cast<int32_t>((state * static_cast<uint32_t>(n)) >> 32);
}

double Random() { return static_cast<double>(advance()) * (1.0 / 4294967296.0); }

void Randomize() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  RandSeed = static_cast<uint32_t>(ns ^ (ns >> 32));
}

}  // namespace rt
