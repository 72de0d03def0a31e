// brsw: runs a script file with windows: the same command line as brs, with the GUI classes
// ("new VCLForm(true)" and the rest), real dialogs, and Qt's event loop.
//
//   brsw FILE [ARGS...]     compiles and runs FILE (a first line starting with "#!" is skipped)
//   brsw -e CODE [ARGS...]  runs CODE
//   brsw --help
//   brsw --version          prints "BRScript 0.3.9"
//   brsw --list-classes     (not in the help) the constructor names the engine knows, one a line
//
// A script that opens windows keeps them working by calling eventLoop() after its body; the loop
// runs until the script calls terminate() or its main form closes. Output goes to standard output
// and errors to standard error (CR LF written as LF), as with brs. The exit status is the script's
// exit code, 1 after an uncaught error, 2 after a syntax error or when FILE cannot be read.
// Without a display brsw says so in one line and exits with 2.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QtGlobal>

#include "platform/qt/host.h"
#include "script/core/component.h"
#include "tools/brsw/window_host.h"
#include "tools/common/start_options.h"

namespace {

const char kUsage[] =
    "usage: brsw FILE [ARGS...]\n"
    "       brsw -e CODE [ARGS...]\n"
    "       brsw --version\n"
    "Runs a BRScript program that may open windows. The arguments after the program are the\n"
    "script's `arguments`. Exit status: the script's exit code; 1 after an uncaught error; 2 after\n"
    "a syntax error or when FILE cannot be read, or without a display.\n"
    "--version prints the engine's name and version (BRScript 0.3.9).\n";

const char kNoDisplay[] = "brsw needs a display: set DISPLAY, or QT_QPA_PLATFORM=offscreen\n";

// Qt's start-up reports a missing display as warnings and then a fatal message that aborts. While
// the application starts, its messages wait here; a fatal one becomes our one line and status 2,
// and once started the waiting warnings go out as Qt would have written them.
std::vector<std::pair<QtMsgType, std::string>> startMessages;
QtMessageHandler qtHandler = nullptr;

void StartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fflush(stdout);
    std::fputs(kNoDisplay, stderr);
    std::_Exit(2);
  }
  startMessages.emplace_back(type, text.toStdString());
  (void)context;
}

void StartQt(std::unique_ptr<qtfw::TQtHost>& qt, int& argc, char** argv) {
  qtHandler = qInstallMessageHandler(StartMessage);
  qt = std::make_unique<qtfw::TQtHost>(argc, argv);
  qInstallMessageHandler(qtHandler);
  for (const auto& [type, text] : startMessages) {
    if (qtHandler)
      qtHandler(type, QMessageLogContext(), QString::fromStdString(text));
    else
      std::fprintf(stderr, "%s\n", text.c_str());
  }
  startMessages.clear();
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
  if (args[0] == "--list-classes") {
    brsw::InstallLibraries();
    engine::TBrindle component;
    tools::ListClasses(component, stdout);
    return 0;
  }
  brsw::TScriptRun run;
  size_t first = 1;
  if (args[0] == "-e") {
    if (args.size() < 2) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    run.source = args[1];
    first = 2;
  } else {
    run.scriptPath = args[0];
    if (!tools::ReadScriptFile(run.scriptPath, run.source)) {
      std::fprintf(stderr, "brsw: cannot open %s: %s\n", run.scriptPath.c_str(), std::strerror(errno));
      return 2;
    }
    if (run.source.compare(0, 2, "#!") == 0) run.source.erase(0, std::min(run.source.find_first_of("\r\n"), run.source.size()));
  }
  run.arguments.assign(args.begin() + long(first), args.end());

  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  std::unique_ptr<qtfw::TQtHost> qt;
  StartQt(qt, qtArgc, qtArgv);

  brsw::TLineEnds outEnds, errEnds;
  run.out = [&](const std::string& s) {
    std::string t = outEnds.Convert(s);
    std::fwrite(t.data(), 1, t.size(), stdout);
  };
  run.err = [&](const std::string& s) {
    std::fflush(stdout);
    std::string t = errEnds.Convert(s) + errEnds.Finish();
    std::fwrite(t.data(), 1, t.size(), stderr);
    std::fflush(stderr);
  };
  run.in = [&](std::string& text, bool& success, int32_t count, bool line) {
    std::fflush(stdout);
    text.clear();
    int c = 0;
    if (line) {
      while ((c = std::getchar()) != EOF && c != '\n') text += char(c);
      if (!text.empty() && text.back() == '\r') text.pop_back();
      success = c != EOF || !text.empty();
      return;
    }
    while ((count < 0 || int32_t(text.size()) < count) && (c = std::getchar()) != EOF) text += char(c);
    success = true;
  };
  int code = brsw::RunScript(run);
  std::string rest = outEnds.Finish();
  std::fwrite(rest.data(), 1, rest.size(), stdout);
  std::fflush(stdout);
  return code;
}
