// The in-memory ini file: reading, case rules, kept comments, and whole-file replacement that
// survives a writer killed part-way.
#include "support/ini_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "support/replace_file.h"
#include "tests/support/temp_dir.h"

namespace support {
namespace {

using support_test::readFile;
using support_test::TempDir;

TEST(MemIniFile, ReadsSectionsKeysAndKeepsCommentsThroughUpdate) {
  TempDir dir;
  std::string path = dir.write("a.ini",
                               "; top comment\r\n[Main]\nName = Taro\r\nEmpty=\n; inner\nnot a key\rPath=C:=x\n"
                               "name=second\n\n[Other]\nk=v\n[main]\nlate=1\n");
  TMemIniFile ini(path);
  EXPECT_EQ(ini.ReadString("MAIN", "name", "-"), "Taro");  // first of two wins, case ignored
  EXPECT_EQ(ini.ReadString("Main", "Empty", "-"), "");
  EXPECT_EQ(ini.ReadString("Main", "Path", "-"), "C:=x");  // split at the first "="
  EXPECT_EQ(ini.ReadString("Main", "late", "-"), "1");     // a repeated header continues the section
  EXPECT_EQ(ini.ReadString("Main", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Nope", "k", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Main", "Other"}));
  EXPECT_EQ(ini.ReadSection("main"), (std::vector<std::string>{"Name", "Empty", "Path", "late"}));
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists(""));
  EXPECT_FALSE(ini.SectionExists("x"));

  ini.WriteString("Other", "K", "w");  // same key in another case: replaced, old case kept
  ini.WriteString("New", "a", "b");
  ini.DeleteKey("main", "EMPTY");
  ini.UpdateFile();
  EXPECT_EQ(readFile(path),
            "; top comment\r\n\r\n[Main]\r\nName=Taro\r\n; inner\r\nnot a key\r\nPath=C:=x\r\nname=second\r\n"
            "late=1\r\n\r\n[Other]\r\nk=w\r\n\r\n[New]\r\na=b\r\n\r\n");
  TMemIniFile again(path);
  EXPECT_EQ(again.Text(), ini.Text());
}

TEST(MemIniFile, ChangesStayInMemoryUntilUpdate) {
  TempDir dir;
  std::string path = dir.write("b.ini", "[s]\nk=1\n");
  TMemIniFile ini(path);
  ini.WriteString("s", "k", "2");
  ini.EraseSection("gone");  // no such section: nothing happens
  EXPECT_EQ(ini.ReadString("s", "k", ""), "2");
  EXPECT_EQ(readFile(path), "[s]\nk=1\n");
  ini.EraseSection("S");
  EXPECT_FALSE(ini.SectionExists("s"));
  ini.UpdateFile();
  EXPECT_EQ(readFile(path), "");
  TMemIniFile missing(dir.file("new.ini"));  // no file: empty, made by the first update
  EXPECT_TRUE(missing.ReadSections().empty());
  missing.WriteString("日本語", "キー", "値 with = sign");
  missing.UpdateFile();
  EXPECT_EQ(TMemIniFile(dir.file("new.ini")).ReadString("日本語", "キー", ""), "値 with = sign");
}

TEST(MemIniFile, RefusesWhatWouldReadBackAsOtherSectionsOrKeys) {
  TempDir dir;
  TMemIniFile ini(dir.file("c.ini"));
  EXPECT_THROW(ini.WriteString("s", "k", "1\r\n[evil]\r\nx=2"), EIniFileError);
  EXPECT_THROW(ini.WriteString("s]x", "k", "1"), EIniFileError);
  EXPECT_THROW(ini.WriteString("s", "a=b", "1"), EIniFileError);
  EXPECT_THROW(ini.WriteString("s", " ", "1"), EIniFileError);
  EXPECT_THROW(ini.WriteString("s", ";k", "1"), EIniFileError);
  EXPECT_FALSE(ini.SectionExists("s"));
  // A file that exists but cannot be read, and a file that cannot be written.
  EXPECT_THROW(TMemIniFile bad(dir.path()), EIniFileError);
  TMemIniFile nowhere(dir.file("no/such/folder/x.ini"));
  nowhere.WriteString("s", "k", "v");
  EXPECT_THROW(nowhere.UpdateFile(), EIniFileError);
}

// Runs `write` in a child that is killed once `killAt` bytes of the new file are written (in
// blocks of 4096); answers the child's status.
int killedWriter(size_t killAt, const std::function<void()>& write) {
  pid_t child = ::fork();
  if (child == 0) {
    testing::BlockSize = 4096;
    testing::AfterBlockWritten = [killAt](size_t written) {
      if (written >= killAt) ::raise(SIGKILL);
    };
    write();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return status;
}

TEST(MemIniFile, AWriterKilledPartWayLeavesThePreviousFileWhole) {
  TempDir dir;
  std::string before = "[s]\r\nk=old\r\n\r\n";
  std::string path = dir.write("d.ini", before);
  // In the middle of the new file, and with all of it written but not yet in place.
  for (size_t stage : {4096, 100000}) {
    int status = killedWriter(stage, [&] {
      TMemIniFile ini(path);
      ini.WriteString("s", "k", std::string(100000, 'n'));
      ini.UpdateFile();
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << stage;
    EXPECT_EQ(readFile(path), before) << stage;
    EXPECT_EQ(TMemIniFile(path).ReadString("s", "k", ""), "old");
    // Nothing of the killed writer is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1)
        << stage;
  }
  // The next writer finishes the job over whatever the killed one left behind.
  TMemIniFile ini(path);
  ini.WriteString("s", "k", "new");
  ini.UpdateFile();
  EXPECT_EQ(TMemIniFile(path).ReadString("s", "k", ""), "new");
}

}  // namespace
}  // namespace support
