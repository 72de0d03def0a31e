// The runtime's one random generator, shared by the game, the network routines and scripts.
// Linear congruential: every draw first advances the state: RandSeed := RandSeed * 134775813 + 1 (mod 2^32).
#pragma once

#include <cstdint>

namespace rt {

extern uint32_t RandSeed;

// A number in 0..n-1: the high 32 bits of RandSeed * n (n taken as unsigned 32-bit).
int32_t Random(int32_t n);

// A number in [0, 1): RandSeed / 2^32.
double Random();

// Starts the generator from the clock.
void Randomize();

}  // namespace rt
