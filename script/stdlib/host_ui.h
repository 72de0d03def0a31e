// The dialogs that global functions and host objects show (message boxes, input lines, text
// areas), as one interface the host program supplies: the console host answers on the terminal,
// GUI hosts show real dialogs, tests install a responder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace stdlib {

// Message box buttons and answers, as the flags of the global msgBox function use them.
enum : int {
  mbOK = 0,
  mbOKCancel = 1,
  mbAbortRetryIgnore = 2,
  mbYesNoCancel = 3,
  mbYesNo = 4,
  mbRetryCancel = 5,
  mbButtonMask = 0x0F,
  idOK = 1,
  idCancel = 2,
  idAbort = 3,
  idRetry = 4,
  idIgnore = 5,
  idYes = 6,
  idNo = 7,
};

class IHostUI {
 public:
  virtual ~IHostUI() = default;
  // Shows the text with the buttons the flags ask for; answers the identifier of the button.
  virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
  // Asks for one line; `text` holds the default and receives the answer. False when cancelled.
  virtual bool InputLine(const std::string& message, std::string& text, char32_t passwordChar,
                         const std::string& caption, int width) = 0;
  // Asks for a text of several lines; `text` holds the default and receives the answer.
  virtual bool InputText(const std::string& message, std::string& text, const std::string& caption,
                         int width, int height) = 0;
  // The caption dialogs show when the script gives none.
  virtual std::string ApplicationTitle() = 0;
  // Shows the items with their check marks and the item at `index` selected. OK answers true and
  // leaves the marks as the user set them; either way `index` receives the selected item. A host
  // that cannot ask answers false and changes nothing.
  virtual bool CheckList(const std::string& caption, const std::string& text, const std::vector<std::string>& items,
                         std::vector<bool>& marks, int32_t& index, int width, int height) {
    return false;
  }
};

// The first button of the flags' set: what a dialog answers when nobody can be asked.
int DefaultButton(int flags);

// Answers without asking: the default button; an input is cancelled (nobody typed anything).
class TQuietHostUI : public IHostUI {
 public:
  int MessageBox(const std::string&, const std::string&, int flags) override { return DefaultButton(flags); }
  bool InputLine(const std::string&, std::string&, char32_t, const std::string&, int) override { return false; }
  bool InputText(const std::string&, std::string&, const std::string&, int, int) override { return false; }
  std::string ApplicationTitle() override { return title; }
  std::string title;
};

// The host's dialogs (a quiet one until a host installs its own).
IHostUI& HostUI();
void SetHostUI(std::shared_ptr<IHostUI> ui);

}  // namespace stdlib
