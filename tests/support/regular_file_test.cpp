// Whole-file reading of names from scripts: only regular files are read, nothing waits on a pipe
// or reads a device without end, and a name holding a NUL reaches no file at all.
#include "support/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "support/crc.h"
#include "support/file_system.h"
#include "support/ini_file.h"
#include "support/safe_file_stream.h"
#include "tests/support/temp_dir.h"

namespace {

using support_test::readFile;
using support_test::TempDir;
namespace fs = std::filesystem;

const std::string kNul(1, '\0');

TEST(RegularFile, ReadsRegularFilesWholeAndNothingElse) {
  TempDir dir;
  std::string big(200000, 'x');
  big[123456] = '\n';
  dir.write("big", big);
  dir.write("empty", "");
  std::string contents = "before", error;
  EXPECT_TRUE(support::ReadRegularFile(dir.file("big"), contents, &error)) << error;
  EXPECT_EQ(contents, big);
  EXPECT_TRUE(support::ReadRegularFile(dir.file("empty"), contents));
  EXPECT_EQ(contents, "");
  // A file whose size says 0 but which has contents.
  EXPECT_TRUE(support::ReadRegularFile("/proc/self/status", contents));
  EXPECT_NE(contents.find("Pid:"), std::string::npos);

  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
  struct Case {
    std::string name;
    int code;
  };
  const Case refused[] = {
      {dir.file("pipe"), ENODEV},
      {"/dev/zero", ENODEV},
      {dir.path(), EISDIR},
      {dir.file("missing"), ENOENT},
      {dir.file("big") + kNul + "x", EINVAL},
      {dir.file("big/x"), ENOTDIR},
  };
  for (const Case& c : refused) {
    contents = "kept";
    error.clear();
    EXPECT_FALSE(support::ReadRegularFile(c.name, contents, &error)) << c.name;
    EXPECT_EQ(contents, "kept") << c.name;
    EXPECT_NE(error.find(c.name.substr(0, c.name.find('\0'))), std::string::npos) << error;
    errno = 0;
    EXPECT_EQ(support::OpenRegularFile(c.name), -1) << c.name;
    EXPECT_EQ(errno, c.code) << c.name;
  }
  EXPECT_TRUE(support::IsSystemPath("a/b c"));
  EXPECT_TRUE(support::IsSystemPath(""));
  EXPECT_FALSE(support::IsSystemPath("a" + kNul));
}

// The readers built on it: CRC, ini files.
TEST(RegularFile, WholeFileReadersRefuseWhatTheyCannotReadWhole) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
  dir.write("keep.ini", "[a]\r\nk=v\r\n");
  for (const std::string& name : {dir.file("pipe"), std::string("/dev/zero"), dir.file("keep.ini") + kNul + "x"}) {
    uint16_t c16 = 1;
    uint32_t c32 = 1;
    EXPECT_FALSE(support::CalcFileCrc(c16, c32, name)) << name;
    EXPECT_EQ(c16, 0xFFFF);
    EXPECT_EQ(c32, 0xFFFFFFFFu);
    EXPECT_THROW(support::TMemIniFile ini(name), support::EIniFileError) << name;
  }
  EXPECT_EQ(support::TMemIniFile(dir.file("keep.ini")).ReadString("a", "k", ""), "v");
}

// A NUL in a name reaches nothing: not the file or folder named by what comes before it.
TEST(RegularFile, FolderRoutinesTakeNoNameHoldingANul) {
  TempDir dir;
  fs::create_directory(dir.file("keep"));
  dir.write("keep/a.txt", "aaa");
  const std::string cut = dir.file("keep") + kNul + "x";
  EXPECT_FALSE(support::FolderExists(cut));
  EXPECT_EQ(support::FileSizeOf(dir.file("keep/a.txt") + kNul), 0);
  std::vector<std::string> folders, files{"untouched"};
  support::ListFolderEntries(cut, "*.*", 4, &folders, files);
  EXPECT_EQ(files, std::vector<std::string>{"untouched"});
  EXPECT_TRUE(support::FindFolderEntries(cut, "*.*", support::faAnyFile).empty());
  EXPECT_FALSE(support::DeleteFolderItems(0, cut, false, true, false));
  EXPECT_FALSE(support::DeleteFolderItems(0, cut, false, true, true));
  EXPECT_FALSE(support::ShellDelete(0, {cut, cut + "/a.txt"}, false, true));
  EXPECT_EQ(readFile(dir.file("keep/a.txt")), "aaa");

  support::TSafeFileStream s;
  EXPECT_FALSE(s.Open(dir.file("keep/a.txt") + kNul + "x", support::TSafeFileStream::fmOpenWrite, false));
  EXPECT_FALSE(s.Open(dir.file("new") + kNul + "x", support::TSafeFileStream::fmOpenWrite, false));
  EXPECT_FALSE(fs::exists(dir.file("new")));
  EXPECT_EQ(readFile(dir.file("keep/a.txt")), "aaa");
}

// A pipe opens without waiting for the other end: with no writer it reads as ended, with no
// reader it does not open for writing. With a writer, ReadSome hands over what came so far.
TEST(RegularFile, StreamsOpenPipesWithoutWaiting) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  support::TSafeFileStream s;
  ASSERT_TRUE(s.Open(pipe, support::TSafeFileStream::fmOpenRead, false));
  EXPECT_FALSE(s.IsRegularFile());
  char buffer[16];
  EXPECT_EQ(s.Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(s.ReadSome(buffer, sizeof buffer), 0);
  s.Close(false);
  EXPECT_FALSE(s.Open(pipe, support::TSafeFileStream::fmOpenWrite, false));

  // With somebody reading, writing works.
  int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(s.Open(pipe, support::TSafeFileStream::fmOpenWrite, false));
  EXPECT_EQ(s.Write("line\n", 5), 5);
  s.Close(false);
  EXPECT_EQ(::read(reader, buffer, sizeof buffer), 5);
  ::close(reader);

  // A writer's bytes come in one ReadSome however many were asked for (Read would wait for
  // more); its going away reads as the end.
  ASSERT_TRUE(s.Open(pipe, support::TSafeFileStream::fmOpenRead, false));
  int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, "abc", 3), 3);
  EXPECT_EQ(s.ReadSome(buffer, sizeof buffer), 3);
  ::close(writer);
  EXPECT_EQ(s.ReadSome(buffer, sizeof buffer), 0);

  dir.write("plain", "p");
  ASSERT_TRUE(s.Open(dir.file("plain"), support::TSafeFileStream::fmOpenRead, false));
  EXPECT_TRUE(s.IsRegularFile());
}

}  // namespace
