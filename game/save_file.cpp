#include "game/save_file.h"

#include <cstdio>
#include <filesystem>

#include "platform/rt/numtext.h"
#include "platform/rt/paths.h"

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
  const std::string temporary = path + ".new";
  std::error_code ec;
  try {
    lines.SaveToFile(temporary);
  } catch (const std::exception& e) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "mirufen: %s was not written: %s\n", path.c_str(), e.what());
    return false;
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "mirufen: %s was not written: %s\n", path.c_str(), ec.message().c_str());
    return false;
  }
  return true;
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
