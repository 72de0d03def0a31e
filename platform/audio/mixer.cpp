#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

float decibelGain(int hundredthsDb) { return hundredthsDb <= -10000 ? 0.0f : std::pow(10.0f, hundredthsDb / 2000.0f); }

}  // namespace

Voice::Voice(Mixer& mixer, std::shared_ptr<const Pcm> pcm)
    : mixer_(mixer), pcm_(std::move(pcm)), frequency_(pcm_->rate) {
  auto lock = mixer_.lock();
  mixer_.voices_.push_back(this);
}

Voice::~Voice() {
  auto lock = mixer_.lock();
  auto& v = mixer_.voices_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

std::unique_ptr<Voice> Voice::duplicate() const {
  auto copy = std::make_unique<Voice>(mixer_, pcm_);
  auto lock = mixer_.lock();
  copy->volume_ = volume_;
  copy->pan_ = pan_;
  copy->frequency_ = frequency_;
  copy->updateGainsLocked();
  return copy;
}

void Voice::play() {
  auto lock = mixer_.lock();
  playing_ = position_ < pcm_->frames();
}

void Voice::stop() {
  auto lock = mixer_.lock();
  playing_ = false;
}

void Voice::setPosition(size_t frame) {
  auto lock = mixer_.lock();
  position_ = static_cast<double>(std::min(frame, pcm_->frames()));
}

bool Voice::isPlaying() const {
  auto lock = mixer_.lock();
  return playing_;
}

size_t Voice::position() const {
  auto lock = mixer_.lock();
  return static_cast<size_t>(position_);
}

void Voice::setVolume(int hundredthsDb) {
  auto lock = mixer_.lock();
  volume_ = std::clamp(hundredthsDb, -10000, 0);
  updateGainsLocked();
}

void Voice::setPan(int pan) {
  auto lock = mixer_.lock();
  pan_ = std::clamp(pan, -10000, 10000);
  updateGainsLocked();
}

void Voice::setFrequency(int hz) {
  auto lock = mixer_.lock();
  frequency_ = std::clamp(hz, 100, 200000);
}

int Voice::volume() const {
  auto lock = mixer_.lock();
  return volume_;
}

int Voice::pan() const {
  auto lock = mixer_.lock();
  return pan_;
}

int Voice::frequency() const {
  auto lock = mixer_.lock();
  return frequency_;
}

// Pan attenuates the far side only, as the volume does both.
void Voice::updateGainsLocked() {
  left_ = decibelGain(volume_ - std::max(pan_, 0));
  right_ = decibelGain(volume_ + std::min(pan_, 0));
}

// Linear interpolation from the data's rate (as set by the frequency) to the mixer's.
void Voice::renderLocked(float* out, int frames) {
  const Pcm& p = *pcm_;
  const size_t total = p.frames();
  const double step = static_cast<double>(frequency_) / Mixer::kRate;
  for (int i = 0; i < frames && playing_; ++i) {
    size_t a = static_cast<size_t>(position_);
    if (a >= total) {
      playing_ = false;
      break;
    }
    size_t b = std::min(a + 1, total - 1);
    float t = static_cast<float>(position_ - a);
    float l, r;
    if (p.channels == 1) {
      l = r = p.samples[a] + (p.samples[b] - p.samples[a]) * t;
    } else {
      l = p.samples[2 * a] + (p.samples[2 * b] - p.samples[2 * a]) * t;
      r = p.samples[2 * a + 1] + (p.samples[2 * b + 1] - p.samples[2 * a + 1]) * t;
    }
    out[2 * i] += l * left_;
    out[2 * i + 1] += r * right_;
    position_ += step;
  }
  if (position_ >= total) playing_ = false;
}

void Mixer::mix(float* out, int frames) {
  std::fill(out, out + 2 * frames, 0.0f);
  auto lock = this->lock();
  for (Voice* v : voices_)
    if (v->playing_) v->renderLocked(out, frames);
  for (Source* s : sources_) s->render(out, frames);
  for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void Mixer::addSource(Source* source) {
  auto lock = this->lock();
  sources_.push_back(source);
}

void Mixer::removeSource(Source* source) {
  auto lock = this->lock();
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

}  // namespace audio
