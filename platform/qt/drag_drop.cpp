#include "platform/qt/drag_drop.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "platform/fw/control.h"
#include "platform/fw/dispatch.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

const char kControlProperty[] = "brDropControl";

QWidget* widgetOf(fw::TWinControl& control) {
  auto* peer = dynamic_cast<TQtPeer*>(control.Peer());
  return peer ? peer->Widget() : nullptr;
}

fw::TWinControl* controlOf(QObject* watched) {
  QVariant v = watched->property(kControlProperty);
  if (!v.isValid()) return nullptr;
  auto* control = static_cast<fw::TWinControl*>(v.value<void*>());
  auto* peer = control ? dynamic_cast<TQtPeer*>(control->Peer()) : nullptr;
  // The widget must still be the control's own.
  return peer && peer->Widget() == watched ? control : nullptr;
}

Qt::DropAction actionOf(fw::TDropEffect effect) {
  switch (effect) {
    case fw::TDropEffect::Copy: return Qt::CopyAction;
    case fw::TDropEffect::Link: return Qt::LinkAction;
    default: return Qt::IgnoreAction;
  }
}

}  // namespace

bool TQtDragDropService::DataOf(const QMimeData* mime, fw::TDragData& data) {
  data = {};
  if (!mime) return false;
  if (mime->hasUrls()) {
    for (const QUrl& url : mime->urls())
      if (url.isLocalFile()) data.Files.push_back(FromQString(url.toLocalFile()));
    if (!data.Files.empty()) {
      data.IsFiles = true;
      return true;
    }
  }
  if (mime->hasText()) {
    data.Text = FromQString(mime->text());
    return true;
  }
  return false;
}

void TQtDragDropService::Register(fw::TWinControl& control) {
  if (!control.Peer()) control.CreatePeer();
  QWidget* w = widgetOf(control);
  if (!w) return;
  w->setProperty(kControlProperty, QVariant::fromValue<void*>(&control));
  w->setAcceptDrops(true);
  w->removeEventFilter(this);
  w->installEventFilter(this);
}

void TQtDragDropService::Revoke(fw::TWinControl& control) {
  QWidget* w = widgetOf(control);
  if (!w) return;
  w->removeEventFilter(this);
  w->setAcceptDrops(false);
  w->setProperty(kControlProperty, QVariant());
}

bool TQtDragDropService::StartDrag(const fw::TDragData& data, fw::TDropEffect allowed) {
  auto* mime = new QMimeData;
  if (data.IsFiles) {
    QList<QUrl> urls;
    for (const std::string& f : data.Files) urls.push_back(QUrl::fromLocalFile(ToQString(f)));
    mime->setUrls(urls);
  } else {
    mime->setText(ToQString(data.Text));
  }
  QWidget* source = QApplication::activeWindow();
  QDrag drag(source ? static_cast<QObject*>(source) : static_cast<QObject*>(this));
  drag.setMimeData(mime);
  // The drag's own loop: what handlers let go of meanwhile waits for it (and its caller).
  fw::TDispatchScope scope;
  return drag.exec(actionOf(allowed)) != Qt::IgnoreAction;
}

bool TQtDragDropService::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop && type != QEvent::DragLeave)
    return QObject::eventFilter(watched, event);
  fw::TWinControl* control = controlOf(watched);
  fw::TDragDropTarget* target = control ? control->DropTarget() : nullptr;
  if (!target) return QObject::eventFilter(watched, event);
  if (type == QEvent::DragLeave) return true;
  auto* drop = static_cast<QDropEvent*>(event);
  fw::TDragData data;
  if (!DataOf(drop->mimeData(), data)) {
    drop->ignore();
    return true;
  }
  const QPoint pos = drop->position().toPoint();
  fw::TDropEffect effect = fw::TDropEffect::None;
  Guarded([&] {
    if (type == QEvent::DragEnter) {
      effect = target->DragEnter(data);
      if (effect != fw::TDropEffect::None) effect = target->DragOver(pos.x(), pos.y());
    } else if (type == QEvent::DragMove) {
      effect = target->DragOver(pos.x(), pos.y());
    } else {
      effect = target->DragEnter(data);
      target->Drop(data, pos.x(), pos.y());
    }
  });
  if (effect == fw::TDropEffect::None) {
    drop->ignore();
  } else {
    drop->setDropAction(actionOf(effect));
    drop->accept();
  }
  return true;
}

}  // namespace qtfw
