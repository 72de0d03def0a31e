// The save file "sav.dat" beside the program: three lines, the best score, the number of games
// played, and "1" when music is on ("0" when off), kept in the lines of the main form's hidden memo.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/strings.h"

namespace game {

std::string SaveFilePath();

// Reads the file into `lines`. The program expects three numeric lines; a file that is missing or
// short is completed with the fresh values 0, 0 and "1", so a first run (or a damaged file) starts
// normally and the lines are there to be written back.
void LoadSaveLines(fw::TStrings& lines, const std::string& path);

struct SaveData {
  int32_t best = 0, plays = 0;
  bool music = true;
};
// Writes the lines to the file whole or not at all: into a new unnamed file that takes the save
// file's name only when it is complete, so a failed or interrupted write keeps the previous scores
// and leaves nothing else behind. A failure is told on standard error and answered false; it never
// ends the program.
bool WriteSaveLines(const fw::TStrings& lines, const std::string& path);

// The values of the lines; a line that is not a number counts as 0.
SaveData ReadSaveData(const fw::TStrings& lines);

}  // namespace game
