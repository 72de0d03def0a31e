// The console host's dialogs: asked on the terminal when there is one; without one (a pipe, a
// service, a test run) a message box answers its default button and an input is cancelled.
#pragma once

#include <cstdio>
#include <string>

#include "script/stdlib/host_ui.h"

namespace brs {

class TConsoleHostUI : public stdlib::IHostUI {
 public:
  TConsoleHostUI();
  ~TConsoleHostUI() override;
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  bool InputLine(const std::string& message, std::string& text, char32_t passwordChar, const std::string& caption,
                 int width) override;
  bool InputText(const std::string& message, std::string& text, const std::string& caption, int width,
                 int height) override;
  std::string ApplicationTitle() override { return "brs"; }

 private:
  bool Ask(const std::string& prompt, std::string& answer);
  FILE* tty_ = nullptr;
};

}  // namespace brs
