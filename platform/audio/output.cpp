#include "platform/audio/output.h"

#include <SDL.h>

#include <cstdio>

namespace audio {

namespace {

// Runs on SDL's audio thread; nothing may escape it.
void SDLCALL feed(void* userdata, Uint8* stream, int len) {
  auto* mixer = static_cast<Mixer*>(userdata);
  try {
    mixer->mix(reinterpret_cast<float*>(stream), len / static_cast<int>(2 * sizeof(float)));
  } catch (...) {
    SDL_memset(stream, 0, static_cast<size_t>(len));
  }
}

}  // namespace

Output& Output::instance() {
  static Output output;
  return output;
}

Output::~Output() { close(); }

bool Output::start() {
  if (state_ != State::kIdle) return state_ != State::kNone;
  state_ = State::kNone;
  // SDL would take over SIGINT and SIGTERM and turn them into quit events that nobody reads: the
  // program could then not be stopped from its terminal. The signals keep their usual meaning.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "sound: no audio output (%s)\n", SDL_GetError());
    return false;
  }
  SDL_AudioSpec want{}, have{};
  want.freq = Mixer::kRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 512;  // about 12 ms: effects restarted every frame stay in step with the picture
  want.callback = feed;
  want.userdata = &mixer_;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    std::fprintf(stderr, "sound: cannot open the audio device (%s)\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  state_ = State::kDevice;
  return true;
}

void Output::startPulled() {
  if (state_ == State::kIdle) state_ = State::kPulled;
}

void Output::close() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_ = 0;
  }
  if (state_ == State::kDevice) state_ = State::kNone;
}

}  // namespace audio
