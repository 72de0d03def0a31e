#include "platform/qt/services.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/fw/application.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/keys.h"
#include "platform/qt/peer.h"

namespace qtfw {

// ---- message pump ----

namespace {

// Widgets let go of with deleteLater go when our loop turns, but never while a handler runs (a
// handler's doEvents would otherwise delete a widget whose signal is still on the stack).
void deleteLetGoWidgets() {
  if (fw::DispatchDepth() == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

bool TQtMessagePump::ProcessMessages() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  bool any = dispatcher ? dispatcher->processEvents(QEventLoop::AllEvents) : false;
  deleteLetGoWidgets();
  return any;
}

void TQtMessagePump::WaitMessage() {
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  deleteLetGoWidgets();
}

void TQtMessagePump::Wake() {
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

void TQtMessagePump::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [call = std::move(call)] { Guarded(call); }, Qt::QueuedConnection);
}

// ---- timers ----

struct TQtTimerService::Entry {
  QTimer* timer = nullptr;
  std::function<void()> tick;
  int firing = 0;
  bool stopped = false;
};

namespace {

// Deletes a timer once the signal that is running has returned.
void retire(QTimer* timer) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), [timer] { delete timer; }, Qt::QueuedConnection);
}

}  // namespace

TQtTimerService::~TQtTimerService() {
  for (auto& [id, e] : timers_) {
    e->stopped = true;
    e->timer->stop();
    if (e->firing == 0) delete e->timer;
  }
}

uint32_t TQtTimerService::StartTimer(uint32_t intervalMs, std::function<void()> tick) {
  auto entry = std::make_shared<Entry>();
  entry->tick = std::move(tick);
  entry->timer = new QTimer;
  entry->timer->setTimerType(Qt::PreciseTimer);
  entry->timer->setInterval(int(std::min<uint32_t>(intervalMs, 0x7FFFFFFF)));
  std::weak_ptr<Entry> weak = entry;
  QObject::connect(entry->timer, &QTimer::timeout, [weak] {
    auto e = weak.lock();
    if (!e || e->stopped) return;
    ++e->firing;
    Guarded(e->tick);
    --e->firing;
    if (e->stopped && e->firing == 0) retire(e->timer);
  });
  while (next_ == 0 || timers_.count(next_)) ++next_;
  const uint32_t id = next_++;
  timers_[id] = entry;
  entry->timer->start();
  return id;
}

void TQtTimerService::StopTimer(uint32_t id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  std::shared_ptr<Entry> e = it->second;
  timers_.erase(it);
  e->stopped = true;
  e->timer->stop();
  if (e->firing == 0) retire(e->timer);  // its tick may be the caller
}

// ---- dialogs ----

namespace {

struct ButtonMap {
  fw::TMsgDlgBtn button;
  QMessageBox::StandardButton standard;
  int32_t result;
};

const ButtonMap kButtons[] = {
    {fw::mbYes, QMessageBox::Yes, fw::mrYes},          {fw::mbNo, QMessageBox::No, fw::mrNo},
    {fw::mbOK, QMessageBox::Ok, fw::mrOk},             {fw::mbCancel, QMessageBox::Cancel, fw::mrCancel},
    {fw::mbAbort, QMessageBox::Abort, fw::mrAbort},    {fw::mbRetry, QMessageBox::Retry, fw::mrRetry},
    {fw::mbIgnore, QMessageBox::Ignore, fw::mrIgnore}, {fw::mbAll, QMessageBox::YesToAll, fw::mrAll},
    {fw::mbNoToAll, QMessageBox::NoToAll, fw::mrNoToAll}, {fw::mbYesToAll, QMessageBox::YesToAll, fw::mrYesToAll},
    {fw::mbHelp, QMessageBox::Help, 0},
};

}  // namespace

int32_t TQtDialogService::MessageBox(const fw::TMessageRequest& request) {
  QMessageBox box;
  box.setWindowTitle(ToQString(request.Caption));
  box.setText(ToQString(request.Text));
  switch (request.Type) {
    case fw::mtWarning: box.setIcon(QMessageBox::Warning); break;
    case fw::mtError: box.setIcon(QMessageBox::Critical); break;
    case fw::mtInformation: box.setIcon(QMessageBox::Information); break;
    case fw::mtConfirmation: box.setIcon(QMessageBox::Question); break;
    case fw::mtCustom: break;
  }
  std::vector<std::pair<QAbstractButton*, int32_t>> made;
  for (const ButtonMap& b : kButtons)
    if (request.Buttons.has(b.button)) {
      QAbstractButton* button = b.button == fw::mbAll ? box.addButton(QObject::tr("&All"), QMessageBox::YesRole)
                                                     : box.addButton(b.standard);
      made.emplace_back(button, b.result);
      if (b.button == fw::mbCancel) box.setEscapeButton(button);
    }
  if (made.empty()) made.emplace_back(box.addButton(QMessageBox::Ok), fw::mrOk);
  // The box's own loop: what handlers let go of meanwhile waits for it (and its caller).
  fw::TDispatchScope scope;
  box.exec();
  for (auto& [button, result] : made)
    if (box.clickedButton() == button) return result;
  return fw::CloseResult(request.Buttons);
}

bool TQtDialogService::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  QInputDialog dialog;
  dialog.setWindowTitle(ToQString(caption));
  dialog.setLabelText(ToQString(prompt));
  dialog.setTextValue(ToQString(value));
  fw::TDispatchScope scope;
  if (dialog.exec() != QDialog::Accepted) return false;
  value = FromQString(dialog.textValue());
  return true;
}

int32_t TQtDialogService::ShowModal(fw::TCustomForm& form) { return form.RunModalLoop(); }

// ---- key state ----

bool TKeyStateFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* e = static_cast<QKeyEvent*>(event);
      if (e->isAutoRepeat()) break;
      if (int vk = VirtualKeyOf(*e)) fw::SetKeyDown(vk, event->type() == QEvent::KeyPress);
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      const int vk = e->button() == Qt::LeftButton    ? fw::VK_LBUTTON
                     : e->button() == Qt::RightButton ? fw::VK_RBUTTON
                     : e->button() == Qt::MiddleButton ? fw::VK_MBUTTON
                                                      : 0;
      if (vk) fw::SetKeyDown(vk, event->type() == QEvent::MouseButtonPress);
      break;
    }
    case QEvent::ApplicationStateChange:
      if (QGuiApplication::applicationState() != Qt::ApplicationActive) fw::ReleaseAllKeys();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qtfw
