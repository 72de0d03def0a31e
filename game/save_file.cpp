#include "game/save_file.h"

#include <cstdio>
#include <filesystem>

#include "platform/rt/numtext.h"
#include "platform/rt/paths.h"
#include "support/replace_file.h"

namespace game {

std::string SaveFilePath() { return rt::exeDir() + "sav.dat"; }

void LoadSaveLines(fw::TStrings& lines, const std::string& path) {
  lines.Clear();
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) lines.LoadFromFile(path);
  const char* fresh[3] = {"0", "0", "1"};
  while (lines.Count() < 3) lines.Add(fresh[lines.Count()]);
}

bool WriteSaveLines(const fw::TStrings& lines, const std::string& path) {
  std::string error;
  if (support::ReplaceFileContents(path, lines.Text(), &error)) return true;
  std::fprintf(stderr, "mirufen: %s was not written: %s\n", path.c_str(), error.c_str());
  return false;
}

SaveData ReadSaveData(const fw::TStrings& lines) {
  SaveData d;
  auto number = [&](int i) { return i < lines.Count() ? rt::StrToIntDef(lines.Get(i), 0) : 0; };
  d.best = number(0);
  d.plays = number(1);
  d.music = lines.Count() > 2 && lines.Get(2) == "1";
  return d;
}

}  // namespace game
