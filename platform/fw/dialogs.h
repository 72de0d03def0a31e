// Message boxes, input boxes and modal forms, all through one dialog service. The Qt host
// installs the one that shows real dialogs; tests install TScriptedDialogs, which answers from
// handlers and logs every request, so nothing ever waits for a person. Without any service the
// quiet answers apply: message boxes answer Cancel (OK when that is the only button), input boxes
// are cancelled and modal forms end with mrCancel.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fw/form.h"

namespace fw {

class TOpenDialog;
class TFontDialog;
class TFindDialog;

FW_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
FW_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
FW_SET(TMsgDlgButtons, TMsgDlgBtn)

struct TMessageRequest {
  std::string Caption;
  std::string Text;
  TMsgDlgType Type = mtCustom;
  TMsgDlgButtons Buttons;
  int32_t HelpContext = 0;
};

class IDialogService {
 public:
  virtual ~IDialogService() = default;
  // The modal result of the button chosen (mrCancel when the box was closed).
  virtual int32_t MessageBox(const TMessageRequest& request) = 0;
  // False when cancelled; `value` holds the default on entry and the answer on return.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // Runs `form` modally and answers its modal result.
  virtual int32_t ShowModal(TCustomForm& form) = 0;

  // The common dialogs (common_dialogs.h). The service shows the dialog with the dialog's
  // settings and tells the dialog what its user does through the dialog's own operations; the
  // answers without a window: cancelled, nothing shown.
  // Open and save dialogs: true once the dialog closed with a choice the dialog accepted.
  virtual bool ExecuteFileDialog(TOpenDialog& dialog);
  // Font dialogs: true when OK was pressed, the chosen font put into the dialog's Font.
  virtual bool ExecuteFontDialog(TFontDialog& dialog);
  // Find and replace dialogs stay up after ShowFindDialog returns (true: shown); the service
  // reports their searches later. CloseFindDialog takes the window away (the dialog itself
  // fires OnClose).
  virtual bool ShowFindDialog(TFindDialog& dialog);
  virtual void CloseFindDialog(TFindDialog& dialog);
};

IDialogService& DialogService();
// Installs `service` (null: the quiet answers).
void SetDialogService(IDialogService* service);

class TDialogServiceScope {
 public:
  explicit TDialogServiceScope(IDialogService* service);
  ~TDialogServiceScope();
  TDialogServiceScope(const TDialogServiceScope&) = delete;
  TDialogServiceScope& operator=(const TDialogServiceScope&) = delete;

 private:
  IDialogService* previous_;
};

// The caption MessageDlg gives a box of this type ("Confirm", "Warning", ...; the application's
// title for mtCustom).
std::string MessageDlgCaption(TMsgDlgType type);
// The result a box with these buttons gives when it is closed without a choice.
int32_t CloseResult(TMsgDlgButtons buttons);

int32_t MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpContext);
// An information box with an OK button and the application's title as its caption.
void ShowMessage(const std::string& text);
// The text entered, or `defaultValue` when cancelled; `cancelled` (when given) tells which.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue,
                     bool* cancelled = nullptr);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// Answers dialogs for tests: each request is logged, then answered by its handler (or, without
// one, as the quiet service answers).
class TScriptedDialogs : public IDialogService {
 public:
  struct Entry {
    // "message", "input", "modal"; the common dialogs: "open", "save", "font", "find",
    // "replace" and "close" (a find or replace dialog taken away by its program).
    std::string kind;
    std::string caption;
    std::string text;  // the message, the prompt, the form's class name, or the dialog's title or find text
    int32_t result = 0;
  };

  std::function<int32_t(const TMessageRequest&)> OnMessage;
  // The answer, or nothing to cancel.
  std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt,
                                           const std::string& defaultValue)>
      OnInput;
  std::function<int32_t(TCustomForm&)> OnModal;
  // The common dialogs: the handler plays the user (dialog.Choose(...), dialog.Apply(...),
  // dialog.Find(...)) and answers as the service does. Without a handler: cancelled, not shown.
  std::function<bool(TOpenDialog&)> OnFileDialog;
  std::function<bool(TFontDialog&)> OnFontDialog;
  // Runs when a find or replace dialog is shown; the dialog stays up until closed.
  std::function<bool(TFindDialog&)> OnFindDialog;
  std::vector<Entry> Log;

  int32_t MessageBox(const TMessageRequest& request) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  int32_t ShowModal(TCustomForm& form) override;
  bool ExecuteFileDialog(TOpenDialog& dialog) override;
  bool ExecuteFontDialog(TFontDialog& dialog) override;
  bool ShowFindDialog(TFindDialog& dialog) override;
  void CloseFindDialog(TFindDialog& dialog) override;
};

}  // namespace fw
