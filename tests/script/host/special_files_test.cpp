// Named pipes reached by scripts: nothing waits for a writer that is not there, the readers that
// take a file whole refuse them, and File reads a pipe line by line without losing what came after
// a line.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/script/host/script_runner.h"
#include "tests/support/temp_dir.h"

namespace hosttest {
namespace {

using support_test::TempDir;

// The pipe's name as a script literal, defined as `pipe` ahead of `body`.
std::string withPipe(const std::string& pipe, const std::string& body) {
  return "var pipe = \"" + pipe + "\";\n" + body;
}

TEST(SpecialFiles, APipeWithoutAWriterIsNeverWaitedFor) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ScriptOutcome o = RunScriptText(withPipe(
      pipe,
      "function t(what, f) {\n"
      "  try { println(what + \": [\" + f() + \"]\"); } catch (e) { println(what + \": \" + e); }\n"
      "}\n"
      "var f = new File(pipe);\n"
      "t(\"open\", function () { return f.open(); });\n"
      "t(\"read\", function () { return f.read(); });\n"
      "t(\"readln\", function () { return f.readln(); });\n"
      "t(\"eof\", function () { return f.eof(); });\n"
      "f.close();\n"
      "t(\"open w\", function () { return new File(pipe).open(\"w\"); });\n"
      "t(\"loadFromFile\", function () { return new Strings().loadFromFile(pipe); });\n"
      "t(\"Ini\", function () { return new Ini(pipe).readSections().count; });\n"
      "t(\"calcFile\", function () { return new CRC().calcFile(pipe).CRC32; });\n"
      "t(\"copyTo\", function () { return new File(pipe).copyTo(pipe + \".copy\"); });\n"
      "var h = new HtmlParser(\"<p>\");\n"
      "t(\"parseFile\", function () { h.parseFile(pipe); return h.html; });\n"));
  EXPECT_EQ(o.out,
            "open: [true]\nread: []\nreadln: []\neof: [true]\nopen w: EFileError\nloadFromFile: EStringsError\n"
            "Ini: EIniError\ncalcFile: ECRCError\ncopyTo: EFileError\nparseFile: [<p>]\n")
      << o.err;
  EXPECT_EQ(o.code, 0);
}

// Lines come as the writer wrote them; what followed a line in the same read waits for the next
// read, and the writer's going away is the end.
TEST(SpecialFiles, APipeIsReadLineByLineWithNothingLost) {
  TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // This end both writes and keeps the pipe open, so the script finds a writer there.
  int writer = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  const std::string data = "one  \r\ntwo\nthe rest\nof it";
  ASSERT_EQ(::write(writer, data.data(), data.size()), ssize_t(data.size()));
  // Once the script has taken everything, the writer goes: then the script reads the end.
  std::thread closer([writer] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int waiting = 1;
    while (std::chrono::steady_clock::now() < deadline && ::ioctl(writer, FIONREAD, &waiting) == 0 && waiting > 0)
      std::this_thread::yield();
    ::close(writer);
  });
  ScriptOutcome o = RunScriptText(withPipe(pipe,
                                           "var f = new File(pipe);\n"
                                           "f.open();\n"
                                           "println(\"[\" + f.readln() + \"]\");\n"
                                           "println(\"[\" + f.readln() + \"]\");\n"
                                           "println(f.eof());\n"
                                           "println(\"[\" + f.read(3) + \"]\");\n"
                                           "println(\"[\" + f.read() + \"]\");\n"
                                           "println(f.eof() + \" [\" + f.readln() + \"]\");\n"));
  closer.join();
  EXPECT_EQ(o.out, "[one]\n[two]\nfalse\n[the]\n[ rest\nof it]\ntrue []\n") << o.err;
}

}  // namespace
}  // namespace hosttest
