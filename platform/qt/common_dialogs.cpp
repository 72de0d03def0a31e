#include "platform/qt/common_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <map>

#include "platform/fw/dispatch.h"
#include "platform/fw/file_dialogs.h"
#include "platform/qt/peer.h"
#include "platform/qt/services.h"

namespace qtfw {

namespace {

std::vector<std::string> utf8List(const QStringList& list) {
  std::vector<std::string> out;
  for (const QString& s : list) out.push_back(FromQString(QDir::cleanPath(s)));
  return out;
}

// The Qt file dialog whose OK asks the framework's dialog before it closes.
class TFileDialogWindow : public QFileDialog {
 public:
  TFileDialogWindow(fw::TOpenDialog& dialog, QWidget* parent) : QFileDialog(parent), dialog_(dialog) {}

  void done(int result) override {
    if (result == QDialog::Accepted) {
      bool ok = false;
      std::vector<std::string> files = utf8List(selectedFiles());
      Guarded([&] { ok = dialog_.Choose(files); });
      if (!ok) return;  // refused: the dialog stays open
      accepted_ = true;
    }
    QFileDialog::done(result);
  }
  bool Accepted() const { return accepted_; }

 private:
  fw::TOpenDialog& dialog_;
  bool accepted_ = false;
};

void fontOf(const QFont& f, fw::TFont& font) {
  font.SetName(FromQString(f.family()));
  if (f.pointSize() > 0) font.SetSize(f.pointSize());
  else if (f.pixelSize() > 0) font.SetHeight(-f.pixelSize());
  fw::TFontStyles style;
  if (f.bold()) style.include(fw::fsBold);
  if (f.italic()) style.include(fw::fsItalic);
  if (f.underline()) style.include(fw::fsUnderline);
  if (f.strikeOut()) style.include(fw::fsStrikeOut);
  font.SetStyle(style);
}

// Qt's font dialog keeping the framework's size limits.
class TFontDialogWindow : public QFontDialog {
 public:
  TFontDialogWindow(fw::TFontDialog& dialog, QWidget* parent) : QFontDialog(parent), dialog_(dialog) {}
  void done(int result) override {
    if (result == QDialog::Accepted && !dialog_.SizeAllowed(currentFont().pointSize())) return;
    QFontDialog::done(result);
  }

 private:
  fw::TFontDialog& dialog_;
};

std::map<const fw::TFindDialog*, QPointer<TFindWindow>>& findWindows() {
  static std::map<const fw::TFindDialog*, QPointer<TFindWindow>> windows;
  return windows;
}

}  // namespace

// ---- open and save ----

bool TQtDialogService::ExecuteFileDialog(fw::TOpenDialog& dialog) {
  QPointer<TFileDialogWindow> window = new TFileDialogWindow(dialog, QApplication::activeWindow());
  window->setOption(QFileDialog::DontUseNativeDialog, true);
  if (!dialog.Title().empty()) window->setWindowTitle(ToQString(dialog.Title()));
  const fw::TOpenOptions options = dialog.Options();
  if (dialog.IsSaveDialog()) {
    window->setAcceptMode(QFileDialog::AcceptSave);
    window->setFileMode(QFileDialog::AnyFile);
    window->setOption(QFileDialog::DontConfirmOverwrite, !options.has(fw::ofOverwritePrompt));
  } else {
    window->setFileMode(options.has(fw::ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                        : options.has(fw::ofFileMustExist) || options.has(fw::ofPathMustExist)
                            ? QFileDialog::ExistingFile
                            : QFileDialog::AnyFile);
  }
  if (options.has(fw::ofForceShowHidden)) window->setFilter(window->filter() | QDir::Hidden);
  if (!dialog.DefaultExt().empty()) window->setDefaultSuffix(ToQString(dialog.DefaultExt()));
  const QString filter = ToQString(fw::QtFileFilter(dialog.Filter()));
  QStringList filters;
  if (!filter.isEmpty()) {
    filters = filter.split(QStringLiteral(";;"));
    window->setNameFilters(filters);
    int index = dialog.FilterIndex();
    if (index >= 1 && index <= filters.size()) window->selectNameFilter(filters[index - 1]);
  }
  if (!dialog.InitialDir().empty()) window->setDirectory(ToQString(dialog.InitialDir()));
  if (!dialog.FileName().empty()) {
    QFileInfo initial(ToQString(dialog.FileName()));
    if (dialog.FileName().find('/') != std::string::npos) window->setDirectory(initial.absolutePath());
    window->selectFile(initial.fileName());
  }
  auto alive = dialog.LivenessToken();
  QObject::connect(window, &QFileDialog::directoryEntered, window, [&dialog, alive](const QString&) {
    if (!alive.expired()) Guarded([&] { dialog.FolderChanged(); });
  });
  QObject::connect(window, &QFileDialog::currentChanged, window, [&dialog, alive](const QString&) {
    if (!alive.expired()) Guarded([&] { dialog.SelectionChanged(); });
  });
  QObject::connect(window, &QFileDialog::filterSelected, window, [&dialog, alive, filters](const QString& f) {
    if (!alive.expired()) Guarded([&] { dialog.TypeChanged(int32_t(filters.indexOf(f)) + 1); });
  });
  // The dialog's own loop: what handlers let go of meanwhile waits for it (and its caller).
  fw::TDispatchScope scope;
  window->exec();
  if (!window) return false;  // closed with its parent
  bool accepted = window->Accepted();
  delete window;
  return accepted;
}

// ---- font ----

bool TQtDialogService::ExecuteFontDialog(fw::TFontDialog& dialog) {
  QPointer<TFontDialogWindow> window = new TFontDialogWindow(dialog, QApplication::activeWindow());
  QFontDialog::FontDialogOptions qoptions = QFontDialog::DontUseNativeDialog;
  const fw::TFontDialogOptions options = dialog.Options();
  if (options.has(fw::fdFixedPitchOnly)) qoptions |= QFontDialog::MonospacedFonts;
  if (options.has(fw::fdScalableOnly)) qoptions |= QFontDialog::ScalableFonts;
  window->setOptions(qoptions);
  window->setCurrentFont(dialog.Font()->ToQFont());
  if (options.has(fw::fdApplyButton))
    if (auto* box = window->findChild<QDialogButtonBox*>()) {
      QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
      apply->setObjectName(QStringLiteral("apply"));
      auto alive = dialog.LivenessToken();
      QObject::connect(apply, &QPushButton::clicked, window, [&dialog, alive, w = window.data()] {
        if (alive.expired()) return;
        fw::TFont font;
        font.Assign(dialog.Font());
        fontOf(w->currentFont(), font);
        Guarded([&] { dialog.Apply(font); });
      });
    }
  fw::TDispatchScope scope;
  int result = window->exec();
  if (!window) return false;
  bool accepted = result == QDialog::Accepted;
  if (accepted) {
    // The colour and character set are not the Qt dialog's to choose: the dialog's own stay.
    fw::TFont chosen;
    chosen.Assign(dialog.Font());
    fontOf(window->selectedFont(), chosen);
    dialog.Font()->Assign(&chosen);
  }
  delete window;
  return accepted;
}

// ---- find and replace ----

TFindWindow::TFindWindow(fw::TFindDialog& dialog) : QDialog(QApplication::activeWindow()), dialog_(dialog) {
  const bool replacing = dialog.IsReplaceDialog();
  setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
  setModal(false);
  auto* grid = new QGridLayout;
  findText_ = new QLineEdit;
  findText_->setObjectName(QStringLiteral("findText"));
  auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"));
  findLabel->setBuddy(findText_);
  grid->addWidget(findLabel, 0, 0);
  grid->addWidget(findText_, 0, 1);
  if (replacing) {
    replaceText_ = new QLineEdit;
    replaceText_->setObjectName(QStringLiteral("replaceText"));
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"));
    replaceLabel->setBuddy(replaceText_);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(replaceText_, 1, 1);
  }
  wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"));
  wholeWord_->setObjectName(QStringLiteral("wholeWord"));
  matchCase_ = new QCheckBox(QStringLiteral("Match &case"));
  matchCase_->setObjectName(QStringLiteral("matchCase"));
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWord_);
  checks->addWidget(matchCase_);
  auto* lower = new QHBoxLayout;
  lower->addLayout(checks);
  if (!replacing) {
    auto* direction = new QGroupBox(QStringLiteral("Direction"));
    direction->setObjectName(QStringLiteral("direction"));
    up_ = new QRadioButton(QStringLiteral("&Up"));
    up_->setObjectName(QStringLiteral("up"));
    down_ = new QRadioButton(QStringLiteral("&Down"));
    down_->setObjectName(QStringLiteral("down"));
    auto* dl = new QHBoxLayout(direction);
    dl->addWidget(up_);
    dl->addWidget(down_);
    lower->addWidget(direction);
  }
  auto* left = new QVBoxLayout;
  left->addLayout(grid);
  left->addLayout(lower);
  left->addStretch();

  auto* buttons = new QVBoxLayout;
  findNext_ = new QPushButton(QStringLiteral("&Find Next"));
  findNext_->setObjectName(QStringLiteral("findNext"));
  findNext_->setDefault(true);
  buttons->addWidget(findNext_);
  connect(findNext_, &QPushButton::clicked, this, [this] { FindNext(); });
  if (replacing) {
    replace_ = new QPushButton(QStringLiteral("&Replace"));
    replace_->setObjectName(QStringLiteral("replace"));
    replaceAll_ = new QPushButton(QStringLiteral("Replace &All"));
    replaceAll_->setObjectName(QStringLiteral("replaceAll"));
    buttons->addWidget(replace_);
    buttons->addWidget(replaceAll_);
    connect(replace_, &QPushButton::clicked, this, [this] { Replace(false); });
    connect(replaceAll_, &QPushButton::clicked, this, [this] { Replace(true); });
  }
  auto* cancel = new QPushButton(QStringLiteral("Cancel"));
  cancel->setObjectName(QStringLiteral("cancel"));
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto* all = new QHBoxLayout(this);
  all->addLayout(left, 1);
  all->addLayout(buttons);
  connect(findText_, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  Load();
}

void TFindWindow::Load() {
  const fw::TFindOptions o = dialog_.Options();
  findText_->setText(ToQString(dialog_.FindText()));
  if (replaceText_) replaceText_->setText(ToQString(static_cast<fw::TReplaceDialog&>(dialog_).ReplaceText()));
  wholeWord_->setChecked(o.has(fw::frWholeWord));
  wholeWord_->setVisible(!o.has(fw::frHideWholeWord));
  wholeWord_->setEnabled(!o.has(fw::frDisableWholeWord));
  matchCase_->setChecked(o.has(fw::frMatchCase));
  matchCase_->setVisible(!o.has(fw::frHideMatchCase));
  matchCase_->setEnabled(!o.has(fw::frDisableMatchCase));
  if (up_) {
    down_->setChecked(o.has(fw::frDown));
    up_->setChecked(!o.has(fw::frDown));
    up_->parentWidget()->setVisible(!o.has(fw::frHideUpDown));
    up_->parentWidget()->setEnabled(!o.has(fw::frDisableUpDown));
  }
  if (dialog_.Left() >= 0 && dialog_.Top() >= 0) move(dialog_.Left(), dialog_.Top());
  UpdateButtons();
}

void TFindWindow::UpdateButtons() {
  const bool any = !findText_->text().isEmpty();
  findNext_->setEnabled(any);
  if (replace_) replace_->setEnabled(any);
  if (replaceAll_) replaceAll_->setEnabled(any);
}

fw::TFindOptions TFindWindow::Chosen() const {
  fw::TFindOptions o = dialog_.Options();
  auto set = [&o](fw::TFindOption option, bool on) {
    if (on) o.include(option);
    else o.exclude(option);
  };
  set(fw::frWholeWord, wholeWord_->isChecked());
  set(fw::frMatchCase, matchCase_->isChecked());
  if (down_) set(fw::frDown, down_->isChecked());
  return o;
}

void TFindWindow::FindNext() {
  Guarded([&] { dialog_.Find(FromQString(findText_->text()), Chosen()); });
}

void TFindWindow::Replace(bool all) {
  Guarded([&] {
    static_cast<fw::TReplaceDialog&>(dialog_).Replace(FromQString(findText_->text()),
                                                      FromQString(replaceText_->text()), Chosen(), all);
  });
}

void TFindWindow::Dismiss() {
  dismissed_ = true;
  hide();
  deleteLater();
}

void TFindWindow::UserClose() {
  if (dismissed_) return;
  dismissed_ = true;
  findWindows().erase(&dialog_);
  hide();
  deleteLater();
  Guarded([&] { dialog_.UserClosed(); });
}

void TFindWindow::reject() { UserClose(); }

void TFindWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  UserClose();
}

TFindWindow* FindWindowOf(const fw::TFindDialog& dialog) {
  auto it = findWindows().find(&dialog);
  return it == findWindows().end() ? nullptr : it->second.data();
}

bool TQtDialogService::ShowFindDialog(fw::TFindDialog& dialog) {
  TFindWindow* window = FindWindowOf(dialog);
  if (!window) {
    window = new TFindWindow(dialog);
    findWindows()[&dialog] = window;
  } else {
    window->Load();
  }
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

void TQtDialogService::CloseFindDialog(fw::TFindDialog& dialog) {
  auto it = findWindows().find(&dialog);
  if (it == findWindows().end()) return;
  QPointer<TFindWindow> window = it->second;
  findWindows().erase(it);
  if (window) window->Dismiss();
}

}  // namespace qtfw
