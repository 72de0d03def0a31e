// The script engine's dialogs in a windowed program: message boxes through the framework's dialog
// service, and the prompt and text-area forms shown modally over the main form. A program with
// windows installs it once at start-up; the console host keeps its terminal version.
#pragma once

#include <string>
#include <vector>

#include "platform/fw/dialogs.h"
#include "script/stdlib/host_ui.h"

namespace hostdlg {

class TFormHostUI : public stdlib::IHostUI {
 public:
  int MessageBox(const std::string& text, const std::string& caption, int flags) override;
  bool InputLine(const std::string& message, std::string& text, char32_t passwordChar, const std::string& caption,
                 int width) override;
  bool InputText(const std::string& message, std::string& text, const std::string& caption, int width,
                 int height) override;
  std::string ApplicationTitle() override;
  bool CheckList(const std::string& caption, const std::string& text, const std::vector<std::string>& items,
                 std::vector<bool>& marks, int32_t& index, int width, int height) override;
};

// The request a message box with these flags makes: the buttons of the low four bits and the
// kind of the icon bits.
fw::TMessageRequest MessageBoxRequest(const std::string& text, const std::string& caption, int flags);
// The answer for a box with these flags: the dialog's result when it names one of the box's
// buttons; else Cancel when the box has one, else its first button.
int MessageBoxAnswer(int flags, int32_t modalResult);

// Makes the script engine ask through the framework's dialogs.
void InstallFormHostUI();

}  // namespace hostdlg
