// The widget that shows a list box: rows of the model's ItemHeight from its TopIndex down, the
// selection highlighted, and for a check list box a check box at the left of every row. It keeps
// no state of its own: every paint reads the model, and every click, key and wheel turn goes to
// the model, which decides what changes.
#pragma once

#include <QAbstractScrollArea>

#include "platform/qt/peer.h"

namespace fw {
class TCustomListBox;
class TCheckListBox;
}  // namespace fw

namespace qtfw {

class TListBoxView : public TForwarding<QAbstractScrollArea> {
 public:
  explicit TListBoxView(QWidget* parent);

  // The model changed: rows, selection or first row.
  void Sync();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  // The model, null once its peer is gone.
  fw::TCustomListBox* box() const;
  fw::TCheckListBox* checkList() const;
  int pageRows() const;
  // Moves the selection to `index` as the keyboard does, scrolling it into view.
  void keyTo(int index, bool extend);

  bool syncing_ = false;
};

}  // namespace qtfw
