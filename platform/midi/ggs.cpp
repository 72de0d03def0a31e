#include "platform/midi/ggs.h"

#include <memory>

#include "platform/audio/output.h"

namespace midi {

namespace {

std::unique_ptr<Player>& slot() {
  audio::Output::instance();  // made first, so that it outlives the player registered in its mixer
  static std::unique_ptr<Player> p;
  return p;
}

ConfigDialog& dialog() {
  static ConfigDialog d;
  return d;
}

}  // namespace

Player& player() {
  auto& p = slot();
  if (!p) {
    audio::Output& out = audio::Output::instance();
    out.start();
    p = std::make_unique<Player>(out.mixer());
    p->loadSoundFont(defaultSoundFont());
  }
  return *p;
}

void setConfigDialog(ConfigDialog d) { dialog() = std::move(d); }

int GGSSetDevice(int, intptr_t) {
  player();
  return kGGSOk;
}

int GGSAddList(const std::string& fileName, int, int listNumber) {
  return player().add(listNumber, fileName) ? kGGSOk : kGGSNoSuchFile;
}

int GGSPlay(int option, int listNumber, int startTick) {
  return player().play(listNumber, option == kGGSPlayLoop, startTick) ? kGGSOk : kGGSNoSuchList;
}

int GGSStop() {
  player().stop();
  return kGGSOk;
}

int GGSPause() {
  player().pause();
  return kGGSOk;
}

int GGSConfigDlg(intptr_t window) {
  if (!dialog()) return kGGSNoDialog;
  dialog()(player(), window);
  return kGGSOk;
}

int GGSFlushList() {
  if (slot()) slot()->flush();
  return kGGSOk;
}

int GGSFree() {
  slot().reset();
  return kGGSOk;
}

}  // namespace midi
