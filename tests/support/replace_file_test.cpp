#include "support/replace_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace support {
namespace {

using support_test::readFile;
using support_test::TempDir;
namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Both ways of making the new file: unnamed, and named where the file system has no unnamed files.
class ReplacingWriter : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { testing::NoUnnamedFiles = GetParam(); }
  void TearDown() override { testing::NoUnnamedFiles = false; }
};

TEST_P(ReplacingWriter, ReplacesWholeKeepsModesAndLeavesNothingElse) {
  TempDir dir;
  std::string name = dir.write("a.txt", "old");
  ::chmod(name.c_str(), 0640);
  std::string error;
  ASSERT_TRUE(ReplaceFileContents(name, "new contents", &error)) << error;
  EXPECT_EQ(readFile(name), "new contents");
  EXPECT_EQ(fs::status(name).permissions() & fs::perms::all, fs::perms(0640));

  // A new file gets the ordinary mode under the umask.
  mode_t old = ::umask(022);
  ASSERT_TRUE(ReplaceFileContents(dir.file("b.txt"), "b", &error)) << error;
  ::umask(old);
  EXPECT_EQ(fs::status(dir.file("b.txt")).permissions() & fs::perms::all, fs::perms(0644));
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt", "b.txt"}));

  // Written in many blocks, and an empty new contents.
  testing::BlockSize = 7;
  std::string big(10000, 'x');
  ASSERT_TRUE(ReplaceFileContents(name, big, &error)) << error;
  testing::BlockSize = 1 << 16;
  EXPECT_EQ(readFile(name), big);
  ASSERT_TRUE(ReplaceFileContents(name, "", &error)) << error;
  EXPECT_EQ(readFile(name), "");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_P(ReplacingWriter, AbandonedOrFailedWritesLeaveTheTargetAsItWas) {
  TempDir dir;
  std::string name = dir.write("keep.txt", "old");
  {
    TReplacingWriter writer;
    ASSERT_TRUE(writer.Open(name));
    ASSERT_TRUE(writer.Write("half of the new"));
  }  // never committed
  {
    TReplacingWriter writer;
    ASSERT_TRUE(writer.Open(name));
    ASSERT_TRUE(writer.Write("more"));
    writer.Abandon();
    EXPECT_FALSE(writer.Commit());
  }
  EXPECT_EQ(readFile(name), "old");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"keep.txt"}));

  // Names that cannot be written: a folder, a missing folder, a name holding NUL (the name before
  // the NUL is not touched), no name.
  std::string error;
  fs::create_directory(dir.file("sub"));
  EXPECT_FALSE(ReplaceFileContents(dir.file("sub"), "x", &error));
  EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
  EXPECT_FALSE(ReplaceFileContents(dir.file("none/x.txt"), "x", &error));
  EXPECT_FALSE(ReplaceFileContents(name + std::string(1, '\0') + "x", "x", &error));
  EXPECT_FALSE(ReplaceFileContents("", "x", &error));
  EXPECT_EQ(readFile(name), "old");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"keep.txt", "sub"}));
}

TEST_P(ReplacingWriter, ALinkKeepsPointingAtTheReplacedFile) {
  TempDir dir;
  std::string real = dir.write("real.txt", "old");
  fs::create_symlink("real.txt", dir.file("link.txt"));
  ASSERT_TRUE(ReplaceFileContents(dir.file("link.txt"), "new"));
  EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
  EXPECT_EQ(readFile(real), "new");
  // A dangling link: the file is made where it points.
  fs::create_symlink("made.txt", dir.file("dangling.txt"));
  ASSERT_TRUE(ReplaceFileContents(dir.file("dangling.txt"), "made"));
  EXPECT_TRUE(fs::is_symlink(dir.file("dangling.txt")));
  EXPECT_EQ(readFile(dir.file("made.txt")), "made");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"real.txt", "link.txt", "dangling.txt", "made.txt"}));
}

// A copy takes every byte from the source's position on, whether the kernel copies (a file) or the
// bytes pass through the writer (a pipe).
TEST_P(ReplacingWriter, CopiesWholeFilesAndPipes) {
  TempDir dir;
  std::string data;
  for (int i = 0; i < 300000; ++i) data += char('a' + i % 23);
  std::string source = dir.write("source.bin", "skip" + data);
  std::string target = dir.write("target.bin", "old");
  int in = ::open(source.c_str(), O_RDONLY);
  ASSERT_GE(in, 0);
  ASSERT_EQ(::lseek(in, 4, SEEK_SET), 4);
  TReplacingWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(target, &error) && writer.CopyFrom(in, &error) && writer.Commit(&error)) << error;
  ::close(in);
  EXPECT_EQ(readFile(target), data);

  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ASSERT_EQ(::write(pipeEnds[1], "through a pipe", 14), 14);
  ::close(pipeEnds[1]);
  ASSERT_TRUE(writer.Open(target, &error) && writer.CopyFrom(pipeEnds[0], &error) && writer.Commit(&error)) << error;
  ::close(pipeEnds[0]);
  EXPECT_EQ(readFile(target), "through a pipe");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"source.bin", "target.bin"}));
}

INSTANTIATE_TEST_SUITE_P(Files, ReplacingWriter, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

// A writer killed at any point before the commit leaves the old file and nothing beside it.
TEST(ReplacingWriterKilled, LeavesOnlyTheOldFile) {
  TempDir dir;
  std::string name = dir.write("data.bin", "old");
  for (size_t killAt : {size_t(4096), size_t(1 << 20)}) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      testing::BlockSize = 4096;
      testing::AfterBlockWritten = [killAt](size_t written) {
        if (written >= killAt) ::raise(SIGKILL);
      };
      ReplaceFileContents(name, std::string(1 << 20, 'n'));
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << killAt;
    EXPECT_EQ(readFile(name), "old");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"data.bin"})) << killAt;
  }
}

// Devices and pipes have nothing to replace: they take the bytes in place, and a pipe that nobody
// reads is an error at once rather than a wait.
TEST(ReplacingWriterSpecialFiles, DevicesAreWrittenInPlaceAndLonePipesRefused) {
  std::string error;
  ASSERT_TRUE(ReplaceFileContents("/dev/null", "gone", &error)) << error;
  struct stat st;
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));

  TempDir dir;
  std::string fifo = dir.file("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReplaceFileContents(fifo, "x", &error));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));

  // With a reader the bytes go through the pipe.
  int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(ReplaceFileContents(fifo, "through", &error)) << error;
  char buf[16] = {};
  EXPECT_EQ(::read(reader, buf, sizeof buf), 7);
  EXPECT_STREQ(buf, "through");
  ::close(reader);
}

}  // namespace
}  // namespace support
