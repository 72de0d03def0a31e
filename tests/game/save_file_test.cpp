#include "game/save_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "support/replace_file.h"
#include "tests/support/temp_dir.h"

namespace {

// The test process's files go into one folder that is removed when the process ends.
support_test::TempDir& folder() {
  static support_test::TempDir dir;
  return dir;
}

std::string writeTemp(const std::string& name, const std::string& content) {
  return folder().write("save_" + name, content);
}

using support_test::readFile;

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
    std::string path = c.content ? writeTemp(c.name, c.content) : folder().file("save_does_not_exist");
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
  EXPECT_EQ(readFile(path), "900\r\n6\r\n0\r\n");
}

TEST(SaveFile, AWriteReplacesTheFileWholeOrLeavesItAsItWas) {
  std::string path = writeTemp("whole", "1\r\n2\r\n1\r\n");
  fw::TStringList lines;
  game::LoadSaveLines(lines, path);
  lines.Put(0, "4321");
  EXPECT_TRUE(game::WriteSaveLines(lines, path));
  EXPECT_EQ(readFile(path), "4321\r\n2\r\n1\r\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  // A save file that cannot be replaced (here a folder stands in its place): the write fails with a
  // line on standard error, nothing is thrown, and no temporary file is left behind.
  std::string blocked = folder().file("save_blocked");
  std::filesystem::create_directories(blocked + "/inside");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(game::WriteSaveLines(lines, blocked));
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("save_blocked"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
  EXPECT_FALSE(std::filesystem::exists(blocked + ".new"));

  // A folder that does not exist: the temporary file cannot even be made.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(game::WriteSaveLines(lines, folder().file("no_such_folder/sav.dat")));
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

// A game killed while it writes its scores leaves the previous file whole and nothing else.
TEST(SaveFile, AWriterKilledPartWayLeavesTheOldFileAlone) {
  support_test::TempDir dir;
  std::string path = dir.write("sav.dat", "100\r\n7\r\n1\r\n");
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    fw::TStringList lines;
    game::LoadSaveLines(lines, path);
    lines.Put(0, "123456789");
    support::testing::BlockSize = 4;
    support::testing::AfterBlockWritten = [](size_t written) {
      if (written >= 8) ::raise(SIGKILL);
    };
    game::WriteSaveLines(lines, path);
    ::_exit(0);  // not reached when the kill came
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(readFile(path), "100\r\n7\r\n1\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

}  // namespace
