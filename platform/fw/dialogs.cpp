#include "platform/fw/dialogs.h"

#include "platform/fw/application.h"

namespace fw {

namespace {

class TQuietDialogs : public IDialogService {
 public:
  int32_t MessageBox(const TMessageRequest& request) override { return CloseResult(request.Buttons); }
  bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
  int32_t ShowModal(TCustomForm&) override { return mrCancel; }
};

IDialogService* gService = nullptr;

}  // namespace

IDialogService& DialogService() {
  static TQuietDialogs quiet;
  return gService ? *gService : quiet;
}

void SetDialogService(IDialogService* service) { gService = service; }

TDialogServiceScope::TDialogServiceScope(IDialogService* service) : previous_(gService) { gService = service; }
TDialogServiceScope::~TDialogServiceScope() { gService = previous_; }

std::string MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
  }
  return Application()->Title();
}

int32_t CloseResult(TMsgDlgButtons buttons) {
  // Closing a box (its close button, Escape) answers Cancel whatever the buttons, except that a
  // box with OK alone can only be acknowledged.
  if (buttons.bits == TMsgDlgButtons{mbOK}.bits) return mrOk;
  return mrCancel;
}

int32_t MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpContext) {
  TMessageRequest r;
  r.Caption = MessageDlgCaption(type);
  r.Text = text;
  r.Type = type;
  r.Buttons = buttons;
  r.HelpContext = helpContext;
  return DialogService().MessageBox(r);
}

void ShowMessage(const std::string& text) {
  TMessageRequest r;
  r.Caption = Application()->Title();
  r.Text = text;
  r.Type = mtCustom;
  r.Buttons = TMsgDlgButtons{mbOK};
  DialogService().MessageBox(r);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue,
                     bool* cancelled) {
  std::string value = defaultValue;
  const bool ok = DialogService().InputQuery(caption, prompt, value);
  if (cancelled) *cancelled = !ok;
  return ok ? value : defaultValue;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::string answer = value;
  if (!DialogService().InputQuery(caption, prompt, answer)) return false;
  value = answer;
  return true;
}

int32_t TScriptedDialogs::MessageBox(const TMessageRequest& request) {
  Log.push_back({"message", request.Caption, request.Text, 0});
  size_t at = Log.size() - 1;
  int32_t result = OnMessage ? OnMessage(request) : CloseResult(request.Buttons);
  Log[at].result = result;
  return result;
}

bool TScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  Log.push_back({"input", caption, prompt, 0});
  size_t at = Log.size() - 1;
  std::optional<std::string> answer;
  if (OnInput) answer = OnInput(caption, prompt, value);
  Log[at].result = answer ? mrOk : mrCancel;
  if (!answer) return false;
  value = *answer;
  return true;
}

int32_t TScriptedDialogs::ShowModal(TCustomForm& form) {
  Log.push_back({"modal", form.Caption(), form.ClassName(), 0});
  size_t at = Log.size() - 1;
  int32_t result = OnModal ? OnModal(form) : mrCancel;
  form.SetModalResult(result);
  Log[at].result = result;
  return result;
}

}  // namespace fw
