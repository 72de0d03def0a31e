// The widget that shows a tree view: the model's visible nodes as rows of its ItemHeight from
// its top row down, each indented by level, with an expand button where a node has children, the
// selection highlighted, and a line editor over the label being edited. It keeps no state of its
// own: every paint goes through the model's paint protocol (which fires the custom-draw events),
// and every click, key and wheel turn goes to the model, which decides what changes.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>

#include "platform/qt/peer.h"

class QLineEdit;

namespace fw {
class TCustomTreeView;
class TTreeNode;
}  // namespace fw

namespace qtfw {

class TTreeViewWidget : public TForwarding<QAbstractScrollArea> {
 public:
  explicit TTreeViewWidget(QWidget* parent);

  // The model changed: the rows, the scroll position or the editor follow once control is back
  // in the event loop (a script filling the tree changes it many times in a row).
  void ScheduleSync();
  void Sync();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  fw::TCustomTreeView* view() const;
  void syncEditor();

  bool syncing_ = false;
  bool scheduled_ = false;
  QPointer<QLineEdit> editor_;
};

void RegisterTreePeers();

}  // namespace qtfw
