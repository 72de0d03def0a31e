// The framework's file and folder dialogs as Qt file dialogs, and the cursor position from Qt.
#pragma once

#include "platform/fw/file_dialogs.h"

namespace qtfw {

class TQtFileDialogs : public fw::IFileDialogService {
 public:
  bool Run(const fw::TFileDialogRequest& request, std::vector<std::string>& chosen) override;
};

// Installs QCursor::pos() as the framework's cursor source.
void InstallCursorSource();

}  // namespace qtfw
