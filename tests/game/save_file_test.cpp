#include "game/save_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string writeTemp(const std::string& name, const std::string& content) {
  std::string path = testing::TempDir() + "save_" + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SaveFile, ReadsTheThreeLinesAndCompletesMissingOnes) {
  struct Case {
    const char* name;
    const char* content;  // nullptr: no file
    int32_t best, plays;
    bool music;
  };
  const Case cases[] = {
      {"full", "1234\r\n56\r\n1\r\n", 1234, 56, true},
      {"off", "10\n2\n0\n", 10, 2, false},
      {"short", "777\r\n", 777, 0, true},
      {"empty", "", 0, 0, true},
      {"missing", nullptr, 0, 0, true},
      {"garbage", "high\r\n-3\r\nyes\r\n", 0, -3, false},
  };
  for (const Case& c : cases) {
    std::string path = c.content ? writeTemp(c.name, c.content) : testing::TempDir() + "save_does_not_exist";
    fw::TStringList lines;
    game::LoadSaveLines(lines, path);
    EXPECT_GE(lines.Count(), 3) << c.name;
    game::SaveData d = game::ReadSaveData(lines);
    EXPECT_EQ(d.best, c.best) << c.name;
    EXPECT_EQ(d.plays, c.plays) << c.name;
    EXPECT_EQ(d.music, c.music) << c.name;
  }
}

TEST(SaveFile, WritesBackLineByLineWithCrLf) {
  std::string path = writeTemp("write", "5\r\n6\r\n");
  fw::TStringList lines;
  game::LoadSaveLines(lines, path);
  lines.Put(0, "900");
  lines.Put(2, "0");
  lines.SaveToFile(path);
  EXPECT_EQ(readAll(path), "900\r\n6\r\n0\r\n");
}

}  // namespace
