#include "platform/rt/clock.h"

#include <chrono>
#include <thread>

namespace rt {

static uint32_t monotonicMs() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint32_t timeGetTime() { return monotonicMs(); }
uint32_t GetTickCount() { return monotonicMs(); }

void Sleep(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace rt
