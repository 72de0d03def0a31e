// Starting programs and opening documents, never through a command interpreter: a command line is
// split into words here and the program is started with exactly those arguments, so quotes, ";",
// "$(...)" and the like in a text reach the program as text and run nothing else. Documents and
// URLs are opened with the desktop's opener (xdg-open).
//
// Started programs run on their own: they are not children the caller must wait for, and they
// outlive it.
#pragma once

#include <string>
#include <vector>

namespace shell {

// Splits a command line into words: blanks separate words; a double quote starts or ends a quoted
// part (blanks inside it belong to the word); a backslash escapes a following double quote or
// backslash, and is kept as it is before any other character.
std::vector<std::string> SplitCommandLine(const std::string& line);

// The full path of the program: a name holding "/" as it is (when it is an executable file), any
// other name searched along $PATH. Empty when there is none.
std::string FindProgram(const std::string& name);

// Starts programs.
class IProcessLauncher {
 public:
  virtual ~IProcessLauncher() = default;
  // Starts argv[0] (a full path) with the arguments, in `folder` (the current folder when empty).
  // True when the program started.
  virtual bool Start(const std::vector<std::string>& argv, const std::string& folder) = 0;
};

// fork and exec, detached (the program is reparented, so no zombie is left behind); a program that
// cannot be executed, or a folder that cannot be entered, answers false.
class TPosixLauncher : public IProcessLauncher {
 public:
  bool Start(const std::vector<std::string>& argv, const std::string& folder) override;
};

// Records what would start; answers `Result`.
class TRecordingLauncher : public IProcessLauncher {
 public:
  struct Call {
    std::vector<std::string> argv;
    std::string folder;
  };
  bool Start(const std::vector<std::string>& argv, const std::string& folder) override {
    Calls.push_back({argv, folder});
    return Result;
  }
  std::vector<Call> Calls;
  bool Result = true;
};

// The launcher in use (a TPosixLauncher until another is installed; null restores it).
IProcessLauncher& Launcher();
void SetLauncher(IProcessLauncher* launcher);

// Starts the program the command line names (its first word, found as FindProgram finds it) with
// the other words as arguments. False for an empty line, a program not found, or one that did not
// start.
bool Execute(const std::string& commandLine);

// Carries out `operation` on `file`: "open" (or an empty operation) starts a program file with the
// parameters split into words, and opens anything else (a document, a folder, a URL) with the
// desktop's opener; "edit" and "explore" open with the opener too. Other operations ("print" ...)
// have no counterpart and answer false. `folder` is the folder the program or opener starts in,
// and where a relative document name is looked for: a document that is not there (file not
// found) answers false without starting anything.
bool ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                  const std::string& folder);

}  // namespace shell
