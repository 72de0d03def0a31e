// The Qt implementations of the framework's services.
#pragma once

#include <QObject>
#include <memory>
#include <unordered_map>

#include "platform/fw/dialogs.h"
#include "platform/fw/services.h"

class QTimer;

namespace qtfw {

// Qt's event dispatcher as the framework's message pump.
class TQtMessagePump : public fw::IMessagePump {
 public:
  bool ProcessMessages() override;
  void WaitMessage() override;
  void Wake() override;
  void Post(std::function<void()> call) override;
};

// QTimers as the framework's timers.
class TQtTimerService : public fw::ITimerService {
 public:
  ~TQtTimerService() override;
  uint32_t StartTimer(uint32_t intervalMs, std::function<void()> tick) override;
  void StopTimer(uint32_t id) override;

 private:
  struct Entry;
  std::unordered_map<uint32_t, std::shared_ptr<Entry>> timers_;
  uint32_t next_ = 1;
};

// Message boxes, input boxes, modal forms and the common dialogs on screen (the common dialogs
// are in common_dialogs.cpp).
class TQtDialogService : public fw::IDialogService {
 public:
  int32_t MessageBox(const fw::TMessageRequest& request) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  int32_t ShowModal(fw::TCustomForm& form) override;
  bool ExecuteFileDialog(fw::TOpenDialog& dialog) override;
  bool ExecuteFontDialog(fw::TFontDialog& dialog) override;
  bool ShowFindDialog(fw::TFindDialog& dialog) override;
  void CloseFindDialog(fw::TFindDialog& dialog) override;
};

// Keeps the key state table from every key and mouse button event of the application; every key
// goes up when the application loses the keyboard.
class TKeyStateFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qtfw
