// The music-player calls the game makes, by the names of the player library it was written for,
// on one process-wide `Player` rendering into the sound output.
//
// Argument values: the device number and the window are accepted as given (music always goes to
// the process's sound output); the list option 1 keeps the file's contents in memory (the only
// mode); play option 2 loops the tune forever, any other value plays it once; the third play
// argument is a starting position in MIDI ticks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/midi/player.h"

namespace midi {

enum GGSResult : int {
  kGGSOk = 0,
  kGGSNoSuchFile = -1,  // the file is missing or not a MIDI file
  kGGSNoSuchList = -2,  // no tune under that number
  kGGSNoDialog = -3,    // no configuration dialog is installed
};

constexpr int kGGSPlayLoop = 2;

// The player behind the calls (created on first use).
Player& player();

// The configuration dialog: shown modally over `window` and returning when closed. Installed by the
// program that links a window system.
using ConfigDialog = std::function<void(Player&, intptr_t window)>;
void setConfigDialog(ConfigDialog dialog);

int GGSSetDevice(int device, intptr_t window);
int GGSAddList(const std::string& fileName, int option, int listNumber);
int GGSPlay(int option, int listNumber, int startTick);
int GGSStop();
int GGSPause();
int GGSConfigDlg(intptr_t window);
int GGSFlushList();
int GGSFree();

}  // namespace midi
