// brs: runs a script file with the script component on the console.
//
//   brs FILE [ARGS...]     compiles and runs FILE (a first line starting with "#!" is skipped); the
//                          arguments become the script's `arguments`
//   brs -e CODE [ARGS...]  runs CODE
//   brs --help
//   brs --version          prints "BRScript 0.3.9"
//   brs --list-classes     (not in the help) the constructor names the engine knows, one a line
//
// The script's output goes to standard output, its error reports to standard error (CR LF written
// as LF on both), its input comes from standard input. The exit status is the script's exit code,
// 1 after an uncaught error, 2 after a syntax error or when the file cannot be read.
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "script/core/component.h"
#include "script/host/host.h"
#include "script/host/wscript_object.h"
#include "script/stdlib/global.h"
#include "script/stdlib/host_ui.h"
#include "script/stdlib/stdlib.h"
#include "tools/brs/console_ui.h"
#include "tools/brs/no_windows.h"
#include "tools/common/start_options.h"

namespace {

const char kUsage[] =
    "usage: brs FILE [ARGS...]\n"
    "       brs -e CODE [ARGS...]\n"
    "       brs --version\n"
    "Runs a BRScript program. The arguments after the program are the script's `arguments`.\n"
    "Exit status: the script's exit code; 1 after an uncaught error; 2 after a syntax error\n"
    "or when FILE cannot be read.\n"
    "--version prints the engine's name and version (BRScript 0.3.9).\n";

// Writes text to a stream with every CR LF as LF, also when the pair is split between writes.
class LineEndWriter {
 public:
  explicit LineEndWriter(FILE* out) : out_(out) {}
  void Write(const std::string& text) {
    std::string converted;
    converted.reserve(text.size() + 1);
    for (char c : text) {
      if (pendingCR_) {
        pendingCR_ = false;
        if (c != '\n') converted += '\r';
      }
      if (c == '\r')
        pendingCR_ = true;
      else
        converted += c;
    }
    std::fwrite(converted.data(), 1, converted.size(), out_);
  }
  void Flush() {
    if (pendingCR_) std::fputc('\r', out_);
    pendingCR_ = false;
    std::fflush(out_);
  }

 private:
  FILE* out_;
  bool pendingCR_ = false;
};

// Input for read(count), read() and readln(). From a pipe, a terminal or a device, read() and a
// line stop with a failure (the script's "read error") past support::kUnboundedReadLimit instead of
// taking all memory.
void ReadInput(std::string& text, bool& success, int32_t count, bool line) {
  text.clear();
  const size_t limit = support::IsRegularFile(fileno(stdin)) ? SIZE_MAX : support::kUnboundedReadLimit;
  int c = 0;
  if (line) {
    while ((c = std::getchar()) != EOF && c != '\n') {
      text += char(c);
      if (text.size() > limit) {
        success = false;
        return;
      }
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    success = c != EOF || !text.empty();
    return;
  }
  if (count < 0) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
      text.append(buffer, n);
      if (text.size() > limit) {
        success = false;
        return;
      }
    }
    success = true;
    return;
  }
  // `count` characters: whole UTF-8 sequences.
  for (int32_t n = 0; n < count && (c = std::getchar()) != EOF; ++n) {
    text += char(c);
    int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
    while (extra-- > 0) {
      int d = std::getchar();
      if (d == EOF) break;
      if ((d & 0xC0) != 0x80) {
        std::ungetc(d, stdin);
        break;
      }
      text += char(d);
    }
  }
  success = true;
}

void InstallLibraries() {
  stdlib::Install();
  host::Install();
  brs::InstallNoWindowClasses();
  stdlib::SetHostUI(std::make_shared<brs::TConsoleHostUI>());
  stdlib::ConsoleApplication() = true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::fputs(tools::VersionLine().c_str(), stdout);
    return 0;
  }

  std::string source;
  std::string scriptPath;
  size_t firstArgument = 1;
  if (args[0] == "--list-classes") {
    InstallLibraries();
    engine::TBrindle component;
    tools::ListClasses(component, stdout);
    return 0;
  }
  if (args[0] == "-e") {
    if (args.size() < 2) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    source = args[1];
    firstArgument = 2;
  } else {
    scriptPath = args[0];
    if (!tools::ReadScriptFile(scriptPath, source)) {
      std::fprintf(stderr, "brs: cannot open %s: %s\n", scriptPath.c_str(), std::strerror(errno));
      return 2;
    }
    // "#!/usr/bin/env brs": the line goes, its line end stays so that line numbers hold.
    if (source.compare(0, 2, "#!") == 0) source.erase(0, source.find_first_of("\r\n") == std::string::npos
                                                             ? source.size()
                                                             : source.find_first_of("\r\n"));
  }

  InstallLibraries();

  LineEndWriter out(stdout);
  LineEndWriter err(stderr);
  bool errorReported = false;

  // WScript.Echo prints a line, as a console host does.
  host::SetEchoHandler([&](const std::string& text) { out.Write(text + "\n"); });

  engine::TBrindle component;
  component.SetOnStdout([&](engine::TBrindle*, const std::string& s) { out.Write(s); });
  component.SetOnStderr([&](engine::TBrindle*, const std::string& s) {
    out.Flush();
    err.Write(s);
    err.Flush();
  });
  component.SetOnStdin([&](engine::TBrindle*, std::string& s, bool& success, int32_t count, bool line) {
    out.Flush();
    ReadInput(s, success, count, line);
  });
  component.SetOnError([&](engine::TBrindle*, int32_t, const std::string&) { errorReported = true; });
  if (!scriptPath.empty()) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(scriptPath, ec).parent_path();
    if (!ec) component.LibraryPath().push_back(folder.string());
    component.Engine().ScriptFileName = scriptPath;
  }

  try {
    if (!component.Compile(source)) {
      out.Flush();
      return errorReported ? 2 : 0;
    }
    engine::TJValueList scriptArgs;
    for (size_t i = firstArgument; i < args.size(); ++i) scriptArgs.AddString(args[i]);
    int32_t code = component.Run(&scriptArgs);
    out.Flush();
    err.Flush();
    return errorReported ? 1 : code;
  } catch (const std::exception& e) {
    // A failure the engine does not turn into a script error (the component lets those through).
    out.Flush();
    std::fprintf(stderr, "brs: %s\n", e.what());
    return 1;
  }
}
