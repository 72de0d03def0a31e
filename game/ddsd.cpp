#include "game/ddsd.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/audio/output.h"
#include "platform/audio/pcm.h"
#include "platform/rt/paths.h"

namespace game {

namespace {

// The three options also live process-wide, as the reporting routines read them.
struct Reporting {
  bool halt = true, debugMessage = false, except = false;
  int counter = 0;  // messages written in this run
} reporting;

std::string format(const char* pattern, long a, long b = 0, long c = 0) {
  char buf[256];
  std::snprintf(buf, sizeof buf, pattern, a, b, c);
  return buf;
}

}  // namespace

bool TDDSDParams3D::valid() const {
  return dwSize == 64 && dwInsideConeAngle <= 360 && dwOutsideConeAngle <= 360 &&
         dwInsideConeAngle <= dwOutsideConeAngle && flMinDistance > 0 && flMaxDistance >= flMinDistance &&
         dwMode <= 2 && lConeOutsideVolume <= 0 && lConeOutsideVolume >= -10000;
}

const rt::ClassInfo& TDDSD::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TDDSD>("TDDSD", &fw::TComponent::StaticClassInfo())
                                         .property("ChannelCount", &TDDSD::ChannelCount, &TDDSD::SetChannelCount)
                                         .defaultValue(8)
                                         .property("Use3D", &TDDSD::Use3D, &TDDSD::SetUse3D)
                                         .defaultValue(0)
                                         .property("StickyFocus", &TDDSD::StickyFocus, &TDDSD::SetStickyFocus)
                                         .defaultValue(1)
                                         .property("DebugOption", &TDDSD::DebugOption, &TDDSD::SetDebugOption)
                                         .defaultValue(1 << dsoHaltOnError)
                                         .create([](rt::TPersistent* owner) -> rt::TPersistent* {
                                           return new TDDSD(static_cast<fw::TComponent*>(owner));
                                         })
                                         .build();
  return info;
}

TDDSD::TDDSD(fw::TComponent* owner) : fw::TComponent(owner) {}

TDDSD::~TDDSD() {
  channels_.clear();
  listener_.reset();
}

std::function<void()>& TDDSD::HaltHandler() {
  static std::function<void()> halt = [] { std::_Exit(1); };
  return halt;
}

audio::Mixer& TDDSD::Mixer() { return (output_ ? *output_ : audio::Output::instance()).mixer(); }

void TDDSD::SetDebugOption(TDDSDDebugOption value) {
  debugOption_ = value;
  reporting.halt = value.has(dsoHaltOnError);
  reporting.debugMessage = value.has(dsoDebugMessage);
  reporting.except = value.has(dsoExceptOnError);
}

void TDDSD::Loaded() {
  fw::TComponent::Loaded();
  SetDebugOption(debugOption_);
  Initialise();
}

void TDDSD::Initialise() {
  channels_.clear();
  for (uint32_t i = 0; i < channelCount_; ++i) channels_.push_back(std::make_unique<TDDSDChannel>(*this));
  initialised_ = (output_ ? *output_ : audio::Output::instance()).start();
  if (!initialised_) return;
  if (use3D_) listener_ = std::make_unique<TDDSDListener>();
}

TDDSDChannel* TDDSD::GetChannel(int index) {
  if (index >= 0 && static_cast<size_t>(index) < channels_.size()) return channels_[index].get();
  ReportSoundError(format("チャンネル番号%ldは無効です、%ld～%ldの範囲で指定してください", index, 0,
                          static_cast<long>(channelCount_) - 1));
  if (reporting.halt) HaltHandler()();
  return nullptr;
}

void TDDSD::CheckSoundResult(int32_t result, const std::string& message) {
  if (result == 0) return;
  char code[32];
  std::snprintf(code, sizeof code, "(Error Code(%X))", static_cast<uint32_t>(result));
  ReportSoundError(message + code);
  if (reporting.halt) HaltHandler()();
}

void TDDSD::ReportSoundError(const std::string& text) {
  if (reporting.debugMessage) {
    const bool first = reporting.counter == 0;
    std::ofstream log(rt::exeDir() + "ddsd.debug", first ? std::ios::trunc : std::ios::app);
    log << format("debug#%.5ld ... ", ++reporting.counter) << text << "\r\n";
  }
  if (reporting.except) throw EDDSD(text);
}

TDDSDGenWave::TDDSDGenWave(TDDSD& owner, const std::string& fileName) : owner_(owner) {
  if (!owner.Initialised()) return;
  std::string failure;
  try {
    audio::WaveFile wave = audio::readWaveFile(fileName);
    format_ = wave.format;
    dataSize_ = static_cast<uint32_t>(wave.data.size());
    if (auto pcm = audio::toPcm(wave)) {
      buffer_ = std::make_shared<audio::Voice>(owner.Mixer(), std::make_shared<const audio::Pcm>(std::move(*pcm)));
      return;
    }
    failure = "サウンドバッファの作成に失敗しました";
  } catch (const audio::EWaveFile& e) {
    failure = e.message();
  }
  // The sound stays without a buffer and plays nothing; the game goes on.
  std::fprintf(stderr, "sound: %s\n", failure.c_str());
  owner.ReportSoundError(failure);
}

void TDDSDChannel::SetWaveData(TDDSDGenWave* sound) {
  if (!owner_.Initialised()) return;
  if (playsShared_) {
    if (sound == sound_) return;
    StopSound();
  }
  voice_.reset();
  playsShared_ = is3D_ = false;
  sound_ = sound;
  frequency_ = 0;
  if (!sound || !sound->Buffer()) return;  // nothing to play: the channel stays silent
  if (sound->Shared()) {
    voice_ = sound->Buffer();
    playsShared_ = true;
  } else {
    voice_ = sound->Buffer()->duplicate();
  }
  if (auto* wave3D = dynamic_cast<TDDSDWave3D*>(sound)) {
    is3D_ = true;
    Params3D = wave3D->Params3D;
    if (!Params3D.valid()) owner_.CheckSoundResult(-2147024809 /* invalid parameter */,
                                                   "Params3Dに指定されたパラメータが不適切です");
  }
  frequency_ = voice_->frequency();
}

void TDDSDChannel::StopSound() {
  if (voice_) voice_->stop();
}

void TDDSDChannel::PlayFromStart() {
  if (!voice_) return;
  voice_->setPosition(0);
  voice_->play();
}

bool TDDSDChannel::Playing() const { return voice_ && voice_->isPlaying(); }

void TDDSDChannel::SetVolume(int hundredthsDb) {
  if (voice_) voice_->setVolume(hundredthsDb);
}

void TDDSDChannel::SetPan(int pan) {
  if (voice_) voice_->setPan(pan);
}

void TDDSDChannel::SetFrequency(int hz) {
  if (!voice_) return;
  voice_->setFrequency(hz);
  frequency_ = voice_->frequency();
}

}  // namespace game
