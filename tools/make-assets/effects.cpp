#include "tools/make-assets/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace assets {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic noise source, so that every build makes the same files.
class Noise {
 public:
  float next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_) / 2147483648.0f - 1.0f;
  }

 private:
  uint32_t state_ = 0x9E3779B9u;
};

// One-pole low-pass filter; `cutoff` in Hz.
class LowPass {
 public:
  float step(float x, double cutoff) {
    double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kEffectRate);
    y_ += static_cast<float>(a * (x - y_));
    return y_;
  }

 private:
  float y_ = 0;
};

std::vector<float> buffer(double seconds) {
  return std::vector<float>(static_cast<size_t>(seconds * kEffectRate));
}

double timeOf(size_t i) { return static_cast<double>(i) / kEffectRate; }

// A fade over the last few milliseconds so the sound never ends on a click.
void fadeTail(std::vector<float>& s, double seconds = 0.01) {
  size_t n = std::min(s.size(), static_cast<size_t>(seconds * kEffectRate));
  for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / n;
}

// Scales the sound so its loudest sample sits at half of full scale (-6 dB): several effects
// overlap in the mixer without clipping.
void normalise(std::vector<float>& s) {
  float peak = 0;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  if (peak > 0)
    for (float& v : s) v *= 0.5f / peak;
}

// Body hit: a low thud falling in pitch, with a burst of dull noise.
std::vector<float> thud() {
  auto s = buffer(0.4);
  Noise noise;
  LowPass lp;
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = timeOf(i);
    phase += 2 * kPi * (40 + 110 * std::exp(-t * 12)) / kEffectRate;
    double body = std::sin(phase) * std::exp(-t * 9);
    double hit = lp.step(noise.next(), 900) * std::exp(-t * 30) * 2.5;
    s[i] = static_cast<float>(body + hit);
  }
  return s;
}

// Bullet hit: a short bright tick.
std::vector<float> tick() {
  auto s = buffer(0.15);
  Noise noise;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = timeOf(i);
    double square = std::sin(2 * kPi * 1320 * t) > 0 ? 1.0 : -1.0;
    double tone = (0.6 * square + 0.4 * std::sin(2 * kPi * 660 * t)) * std::exp(-t * 40);
    s[i] = static_cast<float>(tone + noise.next() * 0.8 * std::exp(-t * 120));
  }
  return s;
}

// Item pickup: a rising four-note chime (C, E, G, C) of bell-like tones.
std::vector<float> chime() {
  auto s = buffer(0.6);
  const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
  for (int n = 0; n < 4; ++n) {
    double start = n * 0.07;
    for (size_t i = static_cast<size_t>(start * kEffectRate); i < s.size(); ++i) {
      double t = timeOf(i) - start;
      double f = notes[n];
      double bell = std::sin(2 * kPi * f * t + 1.5 * std::sin(2 * kPi * f * 2.01 * t) * std::exp(-t * 8));
      s[i] += static_cast<float>(bell * std::exp(-t * 6) * std::min(1.0, t * 400));
    }
  }
  return s;
}

// Shield discharge: a long roaring noise burst whose brightness falls away.
std::vector<float> blast() {
  auto s = buffer(1.0);
  Noise noise;
  LowPass lp1, lp2;
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = timeOf(i);
    double cutoff = 200 + 5000 * std::exp(-t * 4);
    double roar = lp2.step(lp1.step(noise.next(), cutoff), cutoff) * 3.0;
    phase += 2 * kPi * (35 + 60 * std::exp(-t * 5)) / kEffectRate;
    double rumble = std::sin(phase) * 0.7;
    s[i] = static_cast<float>((roar + rumble) * std::exp(-t * 3.2) * std::min(1.0, t * 300));
  }
  return s;
}

// Enemy destroyed: a short crackling explosion.
std::vector<float> crash() {
  auto s = buffer(0.3);
  Noise noise;
  LowPass lp;
  float held = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = timeOf(i);
    if (i % 3 == 0) held = noise.next();  // a coarser, crunchier noise
    double crackle = lp.step(held, 3000 * std::exp(-t * 6) + 300);
    double pop = std::sin(2 * kPi * (90 + 200 * std::exp(-t * 25)) * t) * std::exp(-t * 20);
    s[i] = static_cast<float>((crackle * 2.0 + pop) * std::exp(-t * 11));
  }
  return s;
}

// Graze lightning: an electric buzz. It is restarted every frame while grazing, so it starts at
// full strength with no fade-in.
std::vector<float> buzz() {
  auto s = buffer(0.2);
  Noise noise;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = timeOf(i);
    double saw = std::fmod(t * 110, 1.0) * 2 - 1;
    double fm = std::sin(2 * kPi * 1760 * t + 4 * std::sin(2 * kPi * 55 * t));
    double v = 0.6 * saw + 0.4 * fm + 0.35 * noise.next();
    s[i] = static_cast<float>(std::clamp(v * 1.6, -1.0, 1.0) * std::exp(-t * 9));
  }
  return s;
}

}  // namespace

std::vector<float> makeEffect(const std::string& fileName) {
  std::vector<float> s;
  if (fileName == "dam.wav") s = thud();
  else if (fileName == "tdam.wav") s = tick();
  else if (fileName == "med.wav") s = chime();
  else if (fileName == "bomb.wav") s = blast();
  else if (fileName == "crash.wav") s = crash();
  else if (fileName == "plzm.wav") s = buzz();
  else throw std::invalid_argument("no sound effect named " + fileName);
  normalise(s);
  fadeTail(s);
  return s;
}

Bytes toWav(const std::vector<float>& samples, int rate) {
  Bytes data;
  for (float v : samples) {
    long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
    data.u16le(static_cast<uint16_t>(static_cast<int16_t>(q)));
  }
  Bytes b;
  b.text("RIFF");
  b.u32le(static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size()));
  b.text("WAVE");
  b.text("fmt ");
  b.u32le(16);
  b.u16le(1);  // PCM
  b.u16le(1);  // mono
  b.u32le(rate);
  b.u32le(rate * 2);
  b.u16le(2);
  b.u16le(16);
  b.text("data");
  b.u32le(static_cast<uint32_t>(data.size()));
  b.append(data);
  return b;
}

}  // namespace assets
