// The Qt host: owns the QApplication and installs the Qt implementations of the framework's
// services (message pump, timers, peers, dialogs, file dialogs, the cursor position, the screen's
// size, the question before a delete that is not silent) and the application-wide event filter that
// keeps the key state table; on X11 the keys held now are asked of the server. One per program,
// made first in main.
#pragma once

#include <memory>

namespace qtfw {

class TQtHost {
 public:
  TQtHost(int& argc, char** argv);
  ~TQtHost();
  TQtHost(const TQtHost&) = delete;
  TQtHost& operator=(const TQtHost&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qtfw
