#include "script/host/dialogs/form_host_ui.h"

#include <memory>

#include "platform/fw/application.h"
#include "script/host/dialogs/dialog_forms.h"

namespace hostdlg {

namespace {

fw::TMsgDlgButtons ButtonsOf(int flags) {
  using namespace fw;
  switch (flags & stdlib::mbButtonMask) {
    case stdlib::mbOKCancel: return {mbOK, mbCancel};
    case stdlib::mbAbortRetryIgnore: return {mbAbort, mbRetry, mbIgnore};
    case stdlib::mbYesNoCancel: return {mbYes, mbNo, mbCancel};
    case stdlib::mbYesNo: return {mbYes, mbNo};
    case stdlib::mbRetryCancel: return {mbRetry, mbCancel};
    default: return {mbOK};
  }
}

fw::TMsgDlgType TypeOf(int flags) {
  switch (flags & 0xF0) {
    case 0x10: return fw::mtError;
    case 0x20: return fw::mtConfirmation;
    case 0x30: return fw::mtWarning;
    case 0x40: return fw::mtInformation;
    default: return fw::mtCustom;
  }
}

// Frees a dialog form on every way out.
template <class F>
struct FormGuard {
  F* form;
  ~FormGuard() { form->Free(); }
};

// The password character an edit can show: ASCII as given; another character as '*'.
char PasswordCharOf(char32_t c) {
  if (c == 0) return 0;
  return c < 0x80 ? static_cast<char>(c) : '*';
}

}  // namespace

fw::TMessageRequest MessageBoxRequest(const std::string& text, const std::string& caption, int flags) {
  fw::TMessageRequest request;
  request.Caption = caption;
  request.Text = text;
  request.Type = TypeOf(flags);
  request.Buttons = ButtonsOf(flags);
  return request;
}

int MessageBoxAnswer(int flags, int32_t modalResult) {
  const fw::TMsgDlgButtons buttons = ButtonsOf(flags);
  // Modal results and button identifiers share their numbers (OK 1 ... No 7).
  static const std::pair<fw::TMsgDlgBtn, int> kIds[] = {
      {fw::mbOK, stdlib::idOK},       {fw::mbCancel, stdlib::idCancel}, {fw::mbAbort, stdlib::idAbort},
      {fw::mbRetry, stdlib::idRetry}, {fw::mbIgnore, stdlib::idIgnore}, {fw::mbYes, stdlib::idYes},
      {fw::mbNo, stdlib::idNo}};
  for (auto [button, id] : kIds)
    if (buttons.has(button) && id == modalResult) return id;
  if (buttons.has(fw::mbCancel)) return stdlib::idCancel;
  return stdlib::DefaultButton(flags);
}

int TFormHostUI::MessageBox(const std::string& text, const std::string& caption, int flags) {
  const std::string shown = caption.empty() ? ApplicationTitle() : caption;
  return MessageBoxAnswer(flags, fw::DialogService().MessageBox(MessageBoxRequest(text, shown, flags)));
}

bool TFormHostUI::InputLine(const std::string& message, std::string& text, char32_t passwordChar,
                            const std::string& caption, int width) {
  FormGuard<TfrmPrompt> guard{new TfrmPrompt(DialogOwner())};
  TfrmPrompt& form = *guard.form;
  form.AfterConstruction();
  form.lblText->SetCaption(message);
  form.edtPrompt->SetText(text);
  form.edtPrompt->SetPasswordChar(PasswordCharOf(passwordChar));
  ApplyDialogShape(form, caption, width, 0);
  if (form.ShowModal() != fw::mrOk) return false;
  text = form.edtPrompt->Text();
  return true;
}

bool TFormHostUI::InputText(const std::string& message, std::string& text, const std::string& caption, int width,
                            int height) {
  FormGuard<TfrmTextArea> guard{new TfrmTextArea(DialogOwner())};
  TfrmTextArea& form = *guard.form;
  form.AfterConstruction();
  form.lblText->SetCaption(message);
  if (!text.empty()) form.mmText->Lines()->SetText(text);
  ApplyDialogShape(form, caption, width, height);
  if (form.ShowModal() != fw::mrOk) return false;
  text = form.mmText->Text();
  return true;
}

bool TFormHostUI::CheckList(const std::string& caption, const std::string& text, const std::vector<std::string>& items,
                            std::vector<bool>& marks, int32_t& index, int width, int height) {
  FormGuard<TfrmCheckList> guard{new TfrmCheckList(DialogOwner())};
  TfrmCheckList& form = *guard.form;
  form.AfterConstruction();
  form.lblText->SetCaption(text);
  ApplyDialogShape(form, caption, width, height);
  fw::TCheckListBox& list = *form.lbCheck;
  for (const std::string& item : items) list.Items()->Add(item);
  list.SetItemIndex(index);
  for (size_t i = 0; i < items.size() && i < marks.size(); ++i) list.SetChecked(int(i), marks[i]);
  bool ok = form.ShowModal() == fw::mrOk;
  index = list.ItemIndex();
  if (ok) {
    marks.assign(items.size(), false);
    for (size_t i = 0; i < items.size() && int(i) < list.Items()->Count(); ++i) marks[i] = list.Checked(int(i));
  }
  return ok;
}

std::string TFormHostUI::ApplicationTitle() { return fw::Application()->Title(); }

void InstallFormHostUI() { stdlib::SetHostUI(std::make_shared<TFormHostUI>()); }

}  // namespace hostdlg
