// Millisecond clocks and sleeping. Both clocks count from an arbitrary start and wrap at 2^32.
#pragma once

#include <cstdint>

namespace rt {

// The multimedia clock (1 ms resolution).
uint32_t timeGetTime();
// The system tick count (milliseconds since an arbitrary start).
uint32_t GetTickCount();
void Sleep(uint32_t milliseconds);

}  // namespace rt
