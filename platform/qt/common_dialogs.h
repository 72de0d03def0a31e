// The common dialogs on screen: open and save as Qt's own (non-native) file dialog, so that every
// event of the framework's dialog can be raised; the font dialog as Qt's font dialog with an Apply
// button when asked for; find and replace as a modeless dialog of ours.
#pragma once

#include <QDialog>

#include "platform/fw/common_dialogs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qtfw {

// The window of a find or replace dialog. Its widgets carry object names ("findText",
// "replaceText", "matchCase", "wholeWord", "up", "down", "findNext", "replace", "replaceAll",
// "cancel").
class TFindWindow : public QDialog {
 public:
  explicit TFindWindow(fw::TFindDialog& dialog);
  // Shows the dialog's settings (its texts and options).
  void Load();
  // Takes the window away without telling the dialog (the dialog closed itself).
  void Dismiss();

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  fw::TFindOptions Chosen() const;
  void UpdateButtons();
  void FindNext();
  void Replace(bool all);
  void UserClose();

  fw::TFindDialog& dialog_;
  bool dismissed_ = false;
  QLineEdit* findText_ = nullptr;
  QLineEdit* replaceText_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QCheckBox* matchCase_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
};

// The window showing `dialog` right now, or null.
TFindWindow* FindWindowOf(const fw::TFindDialog& dialog);

}  // namespace qtfw
