#include "platform/qt/file_dialogs.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include "platform/fw/cursor.h"
#include "platform/fw/dispatch.h"

namespace qtfw {

namespace {

QString q(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

bool TQtFileDialogs::Run(const fw::TFileDialogRequest& request, std::vector<std::string>& chosen) {
  QPointer<QFileDialog> dialog = new QFileDialog(QApplication::activeWindow(), q(request.Title));
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  switch (request.Kind) {
    case fw::TFileDialogKind::Open:
      dialog->setFileMode(QFileDialog::ExistingFile);
      break;
    case fw::TFileDialogKind::OpenMany:
      dialog->setFileMode(QFileDialog::ExistingFiles);
      break;
    case fw::TFileDialogKind::Save:
      dialog->setFileMode(QFileDialog::AnyFile);
      dialog->setAcceptMode(QFileDialog::AcceptSave);
      break;
    case fw::TFileDialogKind::Folder:
      dialog->setFileMode(QFileDialog::Directory);
      dialog->setOption(QFileDialog::ShowDirsOnly, true);
      break;
  }
  if (request.Kind == fw::TFileDialogKind::Folder) {
    dialog->setDirectory(request.Initial.empty() ? QDir::currentPath() : q(request.Initial));
  } else {
    std::string filter = fw::QtFileFilter(request.Filter);
    if (!filter.empty()) dialog->setNameFilters(q(filter).split(QStringLiteral(";;")));
    if (!request.Initial.empty()) {
      QFileInfo initial(q(request.Initial));
      if (initial.isDir()) {
        dialog->setDirectory(initial.absoluteFilePath());
      } else {
        if (request.Initial.find('/') != std::string::npos) dialog->setDirectory(initial.absolutePath());
        dialog->selectFile(initial.fileName());
      }
    }
  }
  // The dialog's own loop: what handlers let go of meanwhile waits for it (and its caller).
  fw::TDispatchScope scope;
  int result = dialog->exec();
  if (!dialog) return false;  // closed with its parent
  bool accepted = result == QDialog::Accepted;
  if (accepted)
    for (const QString& f : dialog->selectedFiles()) {
      QByteArray bytes = QDir::cleanPath(f).toUtf8();
      chosen.emplace_back(bytes.constData(), size_t(bytes.size()));
    }
  delete dialog;
  return accepted && !chosen.empty();
}

void InstallCursorSource() {
  fw::SetCursorSource([] {
    QPoint p = QCursor::pos();
    return fw::TCursorPos{p.x(), p.y()};
  });
}

}  // namespace qtfw
