// brs and brsw started with their own options: the version line, the help, the hidden class list,
// and brsw where there is no display.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/run_program.h"

namespace {

using testing_tools::ProgramOutcome;
using testing_tools::ProgramRun;
using testing_tools::RunProgram;

const char* const kHosts[] = {BRS_PATH, BRSW_PATH};

// The version line is the one a script reads from the engine, and both hosts give it.
TEST(HostOptions, VersionIsTheEnginesOwnAndHelpTellsOfIt) {
  ProgramOutcome fromScript =
      RunProgram({{BRS_PATH, "-e", "println(scriptEngine() + \" \" + scriptEngineVersion());"}});
  ASSERT_TRUE(fromScript.Exited(0)) << fromScript.err;
  EXPECT_EQ(fromScript.out, "BRScript 0.3.9\n");
  for (const char* host : kHosts) {
    ProgramOutcome version = RunProgram({{host, "--version"}, {}, {"DISPLAY", "QT_QPA_PLATFORM"}});
    EXPECT_TRUE(version.Exited(0)) << host << ": " << version.Describe() << " " << version.err;
    EXPECT_EQ(version.out, fromScript.out) << host;
    EXPECT_EQ(version.err, "") << host;
    ProgramOutcome help = RunProgram({{host, "--help"}});
    EXPECT_TRUE(help.Exited(0)) << host;
    EXPECT_NE(help.out.find("--version"), std::string::npos) << host << ": " << help.out;
    EXPECT_EQ(help.out.find("--list-classes"), std::string::npos) << host << ": the class list is no user option";
  }
}

// Without any display brsw says so in one line and ends with 2, instead of Qt's abort.
TEST(HostOptions, BrswWithoutADisplaySaysSoInOneLine) {
  for (const char* display : {"", ":97"}) {
    ProgramRun run{{BRSW_PATH, "-e", "println(1);"}, {}, {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"}};
    if (*display)
      run.setEnv.emplace_back("DISPLAY", display);
    else
      run.unsetEnv.push_back("DISPLAY");
    ProgramOutcome o = RunProgram(run);
    EXPECT_TRUE(o.Exited(2)) << "DISPLAY=" << display << ": " << o.Describe();
    EXPECT_EQ(o.err, "brsw needs a display: set DISPLAY, or QT_QPA_PLATFORM=offscreen\n") << "DISPLAY=" << display;
    EXPECT_EQ(o.out, "") << "DISPLAY=" << display;
  }
  ProgramOutcome offscreen = RunProgram({{BRSW_PATH, "-e", "println(1);"}, {{"QT_QPA_PLATFORM", "offscreen"}}});
  EXPECT_TRUE(offscreen.Exited(0)) << offscreen.Describe() << " " << offscreen.err;
  EXPECT_EQ(offscreen.out, "1\n");
}

// The class list names what scripts can construct: the console host's and the windowed host's
// lists are the same names, the standard and host classes among them, each with its kind.
TEST(HostOptions, ClassListNamesTheConstructors) {
  ProgramOutcome console = RunProgram({{BRS_PATH, "--list-classes"}});
  ProgramOutcome windowed = RunProgram({{BRSW_PATH, "--list-classes"}});
  ASSERT_TRUE(console.Exited(0)) << console.err;
  ASSERT_TRUE(windowed.Exited(0)) << windowed.err;
  EXPECT_EQ(console.out, windowed.out);
  for (const char* line : {"\nFile\tinstance\n", "\nVCLForm\tclass\n", "\nWScript\tinstance\n", "\nIni\tclass\n"})
    EXPECT_NE(("\n" + console.out).find(line), std::string::npos) << line;
}

// The runner these tests start the hosts with gives up on a program that does not end, instead of
// waiting for it with the test.
TEST(HostOptions, AProgramThatDoesNotEndIsStoppedAtItsDeadline) {
  ProgramRun run{{"/usr/bin/tail", "-f", "/dev/null"}};
  run.seconds = 1;
  ProgramOutcome o = RunProgram(run);
  EXPECT_TRUE(o.timedOut);
  EXPECT_FALSE(o.Exited(0));
  EXPECT_TRUE(WIFSIGNALED(o.status) && WTERMSIG(o.status) == SIGKILL) << o.Describe();
  EXPECT_EQ(o.Describe(), "still running at its deadline, killed");
}

}  // namespace
