#include "tools/brsw/window_host.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>

#include "platform/fw/application.h"
#include "script/core/component.h"
#include "script/core/value_list.h"
#include "script/gui/registration.h"
#include "script/host/dialogs/form_host_ui.h"
#include "script/host/host.h"
#include "script/stdlib/global.h"
#include "script/stdlib/stdlib.h"

namespace brsw {

bool TWindowPump::IsTerminating() const { return fw::Application()->Terminated(); }

void TWindowPump::ProcessPending() {
  fw::Application()->ProcessMessages();
  // Nothing is pending now: the application is idle (showing forms update their actions).
  fw::Application()->Idle();
}

void TWindowPump::Sleep(uint32_t milliseconds) {
  // Waiting is handling events as they come, for at most that long.
  QEventLoop loop;
  QTimer::singleShot(int(milliseconds), &loop, &QEventLoop::quit);
  loop.exec();
}

void InstallLibraries() {
  static bool done = false;
  if (done) return;
  done = true;
  stdlib::Install();
  host::Install();
  gui::Install();
  hostdlg::InstallFormHostUI();
}

int RunScript(const TScriptRun& run) {
  InstallLibraries();
  TWindowPump pump;
  bool errorReported = false;
  int code = 0;
  {
    engine::TBrindle component;
    component.Engine().Pump = &pump;
    component.SetOnStdout([&](engine::TBrindle*, const std::string& s) { if (run.out) run.out(s); });
    component.SetOnStderr([&](engine::TBrindle*, const std::string& s) { if (run.err) run.err(s); });
    if (run.in)
      component.SetOnStdin([&](engine::TBrindle*, std::string& s, bool& success, int32_t count, bool line) {
        run.in(s, success, count, line);
      });
    component.SetOnError([&](engine::TBrindle*, int32_t, const std::string&) { errorReported = true; });
    if (!run.scriptPath.empty()) {
      std::error_code ec;
      std::filesystem::path folder = std::filesystem::absolute(run.scriptPath, ec).parent_path();
      if (!ec) component.LibraryPath().push_back(folder.string());
      component.Engine().ScriptFileName = run.scriptPath;
    }
    if (!component.Compile(run.source)) return errorReported ? 2 : 0;
    engine::TJValueList args;
    for (const std::string& a : run.arguments) args.AddString(a);
    code = component.Run(&args);
    if (errorReported) code = 1;
    // The script's objects go (and the windows it made with them) before the framework's loop ends.
    component.Clear();
  }
  fw::Application()->ProcessMessages();
  return code;
}

std::string TLineEnds::Convert(const std::string& text) {
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
  return converted;
}

std::string TLineEnds::Finish() {
  std::string rest = pendingCR_ ? "\r" : "";
  pendingCR_ = false;
  return rest;
}

}  // namespace brsw
