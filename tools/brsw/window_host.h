// The windowed script host's parts, shared by brsw and the script tests of the GUI classes: the
// engine's message pump running Qt's event loop, the script dialogs as the dialog forms, and
// running one script with its output routed to callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "script/core/message_pump.h"

namespace brsw {

// Pumps Qt's events; waiting between passes keeps handling them.
class TWindowPump : public engine::IMessagePump {
 public:
  bool IsTerminating() const override;
  void ProcessPending() override;
  void Sleep(uint32_t milliseconds) override;
};

// Installs the standard library, the host objects and the GUI classes (once), and makes the
// script dialogs windows: message boxes, and the prompt, text-area and check-list forms.
void InstallLibraries();

struct TScriptRun {
  std::string source;      // the program text ("#!" first line already removed)
  std::string scriptPath;  // empty for code from the command line
  std::vector<std::string> arguments;
  std::function<void(const std::string&)> out;
  std::function<void(const std::string&)> err;
  std::function<void(std::string& text, bool& success, int32_t count, bool line)> in;
};

// Compiles and runs the script with the windowed pump; the exit status as brs gives it (the
// script's code, 1 after an uncaught error, 2 after a syntax error).
int RunScript(const TScriptRun& run);

// Text with every CR LF as LF, also when a pair is split between writes.
class TLineEnds {
 public:
  std::string Convert(const std::string& text);
  std::string Finish();

 private:
  bool pendingCR_ = false;
};

}  // namespace brsw
