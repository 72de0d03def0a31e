// The three small modal forms scripts ask the user with: one line (prompt), several lines (text
// area) and a list of check boxes. Each is read from its form description; the forms are owned by
// the application's main form when there is one, so they stay above it and centre on it.
#pragma once

#include "platform/fw/button.h"
#include "platform/fw/list_box.h"
#include "platform/fw/edit.h"
#include "platform/fw/form.h"
#include "platform/fw/label.h"
#include "platform/fw/memo.h"

namespace hostdlg {

// The owner the dialogs are made with: the main form, else the application.
fw::TComponent* DialogOwner();

// Applies a script's caption (empty: the application title) and wanted client size (each at
// least 200 when given above 0; 0 or less keeps the designed size).
void ApplyDialogShape(fw::TForm& form, const std::string& caption, int width, int height);

class TfrmPrompt : public fw::TForm {
  RT_CLASS(TfrmPrompt)
 public:
  explicit TfrmPrompt(fw::TComponent* owner);

  fw::TEdit* edtPrompt = nullptr;
  fw::TButton* btnOK = nullptr;
  fw::TButton* btnCancel = nullptr;
  fw::TLabel* lblText = nullptr;
};

class TfrmTextArea : public fw::TForm {
  RT_CLASS(TfrmTextArea)
 public:
  explicit TfrmTextArea(fw::TComponent* owner);

  fw::TMemo* mmText = nullptr;
  fw::TButton* btnOK = nullptr;
  fw::TButton* btnCancel = nullptr;
  fw::TButton* btnClear = nullptr;
  fw::TLabel* lblText = nullptr;

  // Empties the memo; the form stays open.
  void btnClearClick(fw::TObject* Sender);
};

class TfrmCheckList : public fw::TForm {
  RT_CLASS(TfrmCheckList)
 public:
  explicit TfrmCheckList(fw::TComponent* owner);

  fw::TCheckListBox* lbCheck = nullptr;
  fw::TButton* btnOK = nullptr;
  fw::TButton* btnCancel = nullptr;
  fw::TLabel* lblText = nullptr;
};

}  // namespace hostdlg
