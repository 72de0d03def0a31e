// Drag and drop on Qt: windows of controls with a drop target accept files (URLs of local files)
// and text from other programs; drags out of the program carry file URLs or plain text.
#pragma once

#include <QObject>

class QMimeData;

#include "platform/fw/drag_drop.h"

namespace qtfw {

class TQtDragDropService : public QObject, public fw::IDragDropService {
 public:
  void Register(fw::TWinControl& control) override;
  void Revoke(fw::TWinControl& control) override;
  bool StartDrag(const fw::TDragData& data, fw::TDropEffect allowed) override;

  // What a drop event offers, as the framework sees it; false when it offers neither files nor
  // text.
  static bool DataOf(const QMimeData* mime, fw::TDragData& data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qtfw
