// The six sound effects, synthesised: mono 16-bit PCM at 22050 Hz in RIFF WAVE files.
#pragma once

#include <string>
#include <vector>

#include "tools/make-assets/riff_writer.h"

namespace assets {

constexpr int kEffectRate = 22050;

// Samples in -1..1 for the effect with this file name ("dam.wav", "tdam.wav", ...).
std::vector<float> makeEffect(const std::string& fileName);

// A RIFF WAVE file: a 16-byte "fmt " chunk (PCM, mono, 16 bit) followed by the "data" chunk.
Bytes toWav(const std::vector<float>& samples, int rate);

}  // namespace assets
