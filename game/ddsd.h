// TDDSD: the sound-effect component. It owns a fixed number of channels (voices); a loaded sound
// (a RIFF WAVE file) is attached to a channel as a duplicate of its buffer, so one sound can play on
// several channels at once. It plays through the process's sound output (platform/audio); with no
// output device it turns into a silent component on which every call is harmless.
//
// Failures are reported as the DebugOption set says: a line in "ddsd.debug" beside the program
// (dsoDebugMessage), an EDDSD exception (dsoExceptOnError), and ending the program
// (dsoHaltOnError). A sound file that is missing or cannot be played is the exception to the last:
// it is reported, written to standard error, and leaves that one sound silent, so a bad data file
// never ends the game (nor loses its save file).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/output.h"
#include "platform/audio/wave_file.h"
#include "platform/fw/component.h"
#include "platform/rt/exception.h"

namespace game {

FW_ENUM(TDDSDDebugOptions, dsoHaltOnError, dsoDebugMessage, dsoExceptOnError)
FW_SET(TDDSDDebugOption, TDDSDDebugOptions)

class EDDSD : public rt::Exception {
 public:
  using rt::Exception::Exception;
  const char* className() const override { return "EDDSD"; }
};

struct TD3DVector {
  float x = 0, y = 0, z = 0;
};

// 3D placement of a sound (the DS3DBUFFER record).
struct TDDSDParams3D {
  uint32_t dwSize = 64;
  TD3DVector vPosition, vVelocity;
  uint32_t dwInsideConeAngle = 360, dwOutsideConeAngle = 360;
  TD3DVector vConeOrientation{0, 0, 1};
  int32_t lConeOutsideVolume = 0;
  float flMinDistance = 5.0f, flMaxDistance = 100.0f;
  uint32_t dwMode = 0;
  bool valid() const;
};

// The listener of 3D sounds (the DS3DLISTENER record).
struct TDDSDListener {
  uint32_t dwSize = 64;
  TD3DVector vPosition, vVelocity;
  TD3DVector vOrientFront{0, 0, 1}, vOrientTop{0, 1, 0};
  float flDistanceFactor = 1.0f, flRolloffFactor = 1.0f, flDopplerFactor = 1.0f;
};

class TDDSD;

// A loaded sound: its buffer (the sample data in a voice of the mixer) and its format.
class TDDSDGenWave {
 public:
  virtual ~TDDSDGenWave() = default;
  TDDSD& Owner() const { return owner_; }
  const audio::WaveFormat& Format() const { return format_; }
  uint32_t DataSize() const { return dataSize_; }
  // True when channels play this sound's own buffer instead of duplicates of it.
  bool Shared() const { return shared_; }
  void SetShared(bool shared) { shared_ = shared; }
  // The buffer; null when the file could not be loaded or the component is silent.
  const std::shared_ptr<audio::Voice>& Buffer() const { return buffer_; }

 protected:
  TDDSDGenWave(TDDSD& owner, const std::string& fileName);

 private:
  TDDSD& owner_;
  audio::WaveFormat format_;
  uint32_t dataSize_ = 0;
  bool shared_ = false;
  std::shared_ptr<audio::Voice> buffer_;
};

class TDDSDWaveData : public TDDSDGenWave {
 public:
  TDDSDWaveData(TDDSD& owner, const std::string& fileName) : TDDSDGenWave(owner, fileName) {}
};

class TDDSDWave3D : public TDDSDGenWave {
 public:
  TDDSDWave3D(TDDSD& owner, const std::string& fileName) : TDDSDGenWave(owner, fileName) {}
  TDDSDParams3D Params3D;
};

class TDDSDChannel {
 public:
  explicit TDDSDChannel(TDDSD& owner) : owner_(owner) {}

  // Attaches a loaded sound (null detaches); the channel gets its own duplicate of the sound's buffer.
  void SetWaveData(TDDSDGenWave* sound);
  TDDSDGenWave* WaveData() const { return sound_; }
  void StopSound();
  // From the beginning, once.
  void PlayFromStart();
  bool Playing() const;

  // Volume and pan in hundredths of a decibel, frequency in samples per second.
  void SetVolume(int hundredthsDb);
  void SetPan(int pan);
  void SetFrequency(int hz);
  int Frequency() const { return frequency_; }

  bool Is3D() const { return is3D_; }
  TDDSDParams3D Params3D;

 private:
  TDDSD& owner_;
  std::shared_ptr<audio::Voice> voice_;
  TDDSDGenWave* sound_ = nullptr;
  bool playsShared_ = false, is3D_ = false;
  int frequency_ = 0;
};

class TDDSD : public fw::TComponent {
  RT_CLASS(TDDSD)
 public:
  explicit TDDSD(fw::TComponent* owner);
  ~TDDSD() override;

  uint32_t ChannelCount() const { return channelCount_; }
  void SetChannelCount(uint32_t count) { channelCount_ = count; }
  bool Use3D() const { return use3D_; }
  void SetUse3D(bool on) { use3D_ = on; }
  bool StickyFocus() const { return stickyFocus_; }
  void SetStickyFocus(bool on) { stickyFocus_ = on; }
  TDDSDDebugOption DebugOption() const { return debugOption_; }
  void SetDebugOption(TDDSDDebugOption value);

  // After streaming: applies the debug option and initialises.
  void Loaded() override;
  // Creates the channels and opens the sound output; without one the component stays silent.
  void Initialise();
  bool Initialised() const { return initialised_; }

  // The channel for 0 <= index < ChannelCount; otherwise reported, and null.
  TDDSDChannel* GetChannel(int index);
  TDDSDListener* Listener() { return listener_.get(); }

  // Reporting (see the file comment). `CheckSoundResult` passes 0 and reports anything else as
  // message + "(Error Code(%x))".
  void CheckSoundResult(int32_t result, const std::string& message);
  void ReportSoundError(const std::string& text);

  // What ending the program means (tests replace it); by default the process exits at once.
  static std::function<void()>& HaltHandler();

  // The sound output the component plays through: the process's own unless set before initialising.
  void UseOutput(audio::Output& output) { output_ = &output; }
  audio::Mixer& Mixer();

 private:
  audio::Output* output_ = nullptr;
  uint32_t channelCount_ = 8;
  bool use3D_ = false, stickyFocus_ = true;
  TDDSDDebugOption debugOption_{dsoHaltOnError};
  bool initialised_ = false;
  std::vector<std::unique_ptr<TDDSDChannel>> channels_;
  std::unique_ptr<TDDSDListener> listener_;
};

}  // namespace game
