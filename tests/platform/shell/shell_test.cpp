// Command lines split into words, programs found along the path, and real programs started
// detached.
#include "platform/shell/shell.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace shell {
namespace {

TEST(SplitCommandLine, QuotesGroupAndNothingElseIsSpecial) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"prog", {"prog"}},
      {"  prog   a\tb  ", {"prog", "a", "b"}},
      {"prog \"two words\" x", {"prog", "two words", "x"}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"prog \"\"", {"prog", ""}},
      {"prog \\\"q\\\" a\\\\b c\\d", {"prog", "\"q\"", "a\\b", "c\\d"}},
      {"prog ;rm -rf / && $(x) `y` | z > f", {"prog", ";rm", "-rf", "/", "&&", "$(x)", "`y`", "|", "z", ">", "f"}},
      {"prog \"unclosed quote", {"prog", "unclosed quote"}},
      {"日本 語", {"日本", "語"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.words) << c.line;
}

TEST(FindProgram, LooksAlongThePathAndChecksFiles) {
  std::string sh = FindProgram("sh");
  ASSERT_FALSE(sh.empty());
  EXPECT_EQ(sh.back(), 'h');
  EXPECT_EQ(FindProgram(sh), sh);
  EXPECT_EQ(FindProgram("no-such-program-anywhere"), "");
  EXPECT_EQ(FindProgram(""), "");
  EXPECT_EQ(FindProgram("/etc/passwd"), "");  // not executable
  EXPECT_EQ(FindProgram("/usr/bin"), "");     // a folder
}

// What the programs started during `call` write to the standard output (read until they end),
// and what `call` answered.
std::string startedOutput(const std::function<bool()>& call, bool& answered) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  std::fflush(stdout);
  int saved = ::dup(1);
  ::dup2(fds[1], 1);
  ::close(fds[1]);
  answered = call();
  ::dup2(saved, 1);
  ::close(saved);
  std::string out;
  char buffer[256];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, size_t(n));
  ::close(fds[0]);
  return out;
}

// Starts `argv` and answers what it wrote to the standard output (read until it ends: the program
// is detached, so there is nothing to wait for but its output).
std::string runAndRead(const std::vector<std::string>& argv, const std::string& folder, bool& started) {
  return startedOutput([&] { return TPosixLauncher().Start(argv, folder); }, started);
}

TEST(PosixLauncher, StartsTheProgramWithItsArgumentsInTheFolder) {
  support_test::TempDir dir;
  bool started = false;
  std::string out = runAndRead({FindProgram("printf"), "%s|", "a b", ";x", "$(y)"}, "", started);
  EXPECT_TRUE(started);
  EXPECT_EQ(out, "a b|;x|$(y)|");
  out = runAndRead({FindProgram("pwd")}, dir.path(), started);
  EXPECT_TRUE(started);
  EXPECT_EQ(out, dir.path() + "\n");
  // Nothing starts: no such program, a file that is no program, a folder that cannot be entered.
  runAndRead({"/no/such/program"}, "", started);
  EXPECT_FALSE(started);
  std::string plain = dir.write("plain.txt", "not a program");
  runAndRead({plain}, "", started);
  EXPECT_FALSE(started);
  runAndRead({FindProgram("pwd")}, dir.file("missing"), started);
  EXPECT_FALSE(started);
  EXPECT_FALSE(TPosixLauncher().Start({}, ""));
}

TEST(ShellExecute, ProgramsStartDocumentsGoToTheOpener) {
  TRecordingLauncher launcher;
  SetLauncher(&launcher);
  std::string opener = FindProgram("xdg-open");
  EXPECT_TRUE(ShellExecute("OPEN", "sh", "-c 'echo hi'", "/tmp"));
  EXPECT_FALSE(ShellExecute("print", "readme.txt", "", ""));
  EXPECT_FALSE(ShellExecute("runas", "sh", "", ""));
  EXPECT_FALSE(ShellExecute("open", "", "", ""));
  support_test::TempDir docs;
  docs.write("readme.txt", "read me");
  EXPECT_EQ(ShellExecute("open", "readme.txt", "", docs.path()), !opener.empty());
  EXPECT_EQ(ShellExecute("explore", "/tmp", "", ""), !opener.empty());
  EXPECT_FALSE(ShellExecute("open", "readme.txt", "", "/no/such/folder"));  // not where it is looked for
  EXPECT_TRUE(Execute("sh -c \"exit 3\""));
  EXPECT_FALSE(Execute(""));
  SetLauncher(nullptr);
  ASSERT_GE(launcher.Calls.size(), 2u);
  EXPECT_EQ(launcher.Calls[0].argv, (std::vector<std::string>{FindProgram("sh"), "-c", "'echo", "hi'"}));
  EXPECT_EQ(launcher.Calls[0].folder, "/tmp");
  if (!opener.empty()) {
    ASSERT_EQ(launcher.Calls.size(), 4u);
    EXPECT_EQ(launcher.Calls[1].argv, (std::vector<std::string>{opener, "readme.txt"}));
    EXPECT_EQ(launcher.Calls[1].folder, docs.path());
  }
  EXPECT_EQ(launcher.Calls.back().argv, (std::vector<std::string>{FindProgram("sh"), "-c", "exit 3"}));
}

// The desktop's opener replaced by a stand-in on the path that tells what it was asked to open.
class StandInOpener : public testing::Test {
 protected:
  void SetUp() override {
    std::string script = bin.write("xdg-open", "#!/bin/sh\necho \"opened $* in $(pwd)\"\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
    ::setenv("PATH", (bin.path() + ":" + savedPath).c_str(), 1);
    ASSERT_EQ(FindProgram("xdg-open"), script);
  }
  void TearDown() override { ::setenv("PATH", savedPath.c_str(), 1); }

  std::string open(const std::string& operation, const std::string& file, const std::string& folder,
                   bool& answered) {
    return startedOutput([&] { return ShellExecute(operation, file, "", folder); }, answered);
  }

  support_test::TempDir bin, docs;
  std::string savedPath;
};

TEST_F(StandInOpener, MissingDocumentsAreNotFoundAndStartNothing) {
  bool answered = true;
  EXPECT_EQ(open("open", "missing.txt", docs.path(), answered), "");
  EXPECT_FALSE(answered);
  EXPECT_EQ(open("", docs.file("missing.txt"), "", answered), "");
  EXPECT_FALSE(answered);
  EXPECT_EQ(open("edit", docs.file("missing.txt"), "", answered), "");
  EXPECT_FALSE(answered);
  EXPECT_EQ(open("explore", docs.file("no-folder"), "", answered), "");
  EXPECT_FALSE(answered);
  // The part of a name before a NUL may exist: the name as given does not.
  docs.write("ten.txt", "10");
  EXPECT_EQ(open("open", docs.file("ten.txt") + std::string(1, '\0') + "x", "", answered), "");
  EXPECT_FALSE(answered);
}

TEST_F(StandInOpener, DocumentsFoldersAndUrlsReachTheOpener) {
  docs.write("notes.txt", "text");
  bool answered = false;
  EXPECT_EQ(open("open", "notes.txt", docs.path(), answered), "opened notes.txt in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
  EXPECT_EQ(open("edit", docs.file("notes.txt"), "", answered), "opened " + docs.file("notes.txt") + " in " +
                                                                      std::filesystem::current_path().string() + "\n");
  EXPECT_TRUE(answered);
  EXPECT_EQ(open("explore", docs.path(), docs.path(), answered), "opened " + docs.path() + " in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
  // URLs are not files: they go to the opener as they are.
  EXPECT_EQ(open("open", "https://example.invalid/a b", docs.path(), answered),
            "opened https://example.invalid/a b in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
  EXPECT_EQ(open("", "mailto:someone@example.invalid", docs.path(), answered),
            "opened mailto:someone@example.invalid in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
}

TEST_F(StandInOpener, DocumentNamesThatLookLikeOptionsOrUrlsGoAsPaths) {
  docs.write("-notes.txt", "text");
  docs.write("notes:v2.txt", "text");
  bool answered = false;
  EXPECT_EQ(open("open", "-notes.txt", docs.path(), answered), "opened ./-notes.txt in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
  EXPECT_EQ(open("open", "notes:v2.txt", docs.path(), answered), "opened ./notes:v2.txt in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
  // A full path is a path already; a missing document that only looks like a URL stays a URL.
  EXPECT_EQ(open("open", docs.file("-notes.txt"), "", answered),
            "opened " + docs.file("-notes.txt") + " in " + std::filesystem::current_path().string() + "\n");
  EXPECT_TRUE(answered);
  EXPECT_EQ(open("open", "-missing.txt", docs.path(), answered), "");
  EXPECT_FALSE(answered);
  EXPECT_EQ(open("open", "news:comp.lang", docs.path(), answered), "opened news:comp.lang in " + docs.path() + "\n");
  EXPECT_TRUE(answered);
}

}  // namespace
}  // namespace shell
