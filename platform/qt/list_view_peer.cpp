#include "platform/qt/list_view_peer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QToolTip>
#include <QWheelEvent>
#include <QHelpEvent>
#include <algorithm>

#include "platform/fw/list_view.h"
#include "platform/qt/peer.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

QRect toQRect(const fw::TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

class TListViewWidget : public TForwarding<QAbstractScrollArea> {
 public:
  explicit TListViewWidget(QWidget* parent) : TForwarding<QAbstractScrollArea>(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(false);
  }

  fw::TCustomListView* view() const { return static_cast<fw::TCustomListView*>(model); }

  void Sync() {
    fw::TCustomListView* v = view();
    if (!v) return;
    syncing_ = true;
    const bool report = v->ViewStyle() == fw::vsReport;
    auto set = [](QScrollBar* bar, const fw::TCustomListView::TScrollRange& r, int step) {
      bar->setRange(r.Min, r.Max);
      bar->setPageStep(std::max(1, int(r.Page)));
      bar->setSingleStep(step);
      bar->setValue(r.Pos);
    };
    set(horizontalScrollBar(), v->HorzScrollRange(), fw::TCustomListView::RowHeight);
    set(verticalScrollBar(), v->VertScrollRange(), report ? 1 : fw::TCustomListView::RowHeight);
    syncing_ = false;
    syncEditor();
    viewport()->update();
  }

 protected:
  // How many moves down or up a page key makes.
  int pageMoves() const {
    fw::TCustomListView* v = view();
    if (!v) return 1;
    const int cell = v->ViewStyle() == fw::vsIcon ? fw::TCustomListView::IconCellHeight : fw::TCustomListView::RowHeight;
    return std::max(1, int(v->ItemArea().Height()) / cell);
  }
  bool inHeader(const QPoint& p) const {
    fw::TCustomListView* v = view();
    return v && v->ViewStyle() == fw::vsReport && v->ShowColumnHeaders() && p.y() < fw::TCustomListView::HeaderHeight;
  }
  int columnAt(int x) const {
    const std::vector<int32_t> edges = view()->ColumnEdges();
    for (size_t i = 0; i + 1 < edges.size(); ++i)
      if (x >= edges[i] && x < edges[i + 1]) return int(i);
    return -1;
  }
  // The column whose right edge is at x (for resizing), -1 when none.
  int edgeAt(int x) const {
    const std::vector<int32_t> edges = view()->ColumnEdges();
    for (size_t i = 1; i < edges.size(); ++i)
      if (std::abs(x - edges[i]) <= 3) return int(i) - 1;
    return -1;
  }

  void drawText(QPainter& p, const QRect& r, const std::string& text, int align) {
    p.drawText(r.adjusted(2, 0, -2, 0), align | Qt::AlignVCenter | Qt::TextSingleLine,
               p.fontMetrics().elidedText(ToQString(text), Qt::ElideRight, std::max(0, r.width() - 4)));
  }

  void drawItem(QPainter& p, int index, fw::TListItem& item, int sub) {
    fw::TCustomListView* v = view();
    const bool selected = v->IsSelected(index) && (hasFocus() || !v->HideSelection());
    const QColor plain = TextColor(*this, v->Font()->Color());
    const QColor text = selected ? ToQColor(fw::clHighlightText) : plain;
    if (sub >= 0) {
      const int columnIndex = v->ColumnOfSubItem(sub + 1);
      if (columnIndex < 0) return;
      const QRect r = toQRect(v->SubItemRect(index, sub + 1));
      if (selected && v->RowSelect()) p.fillRect(r, ToQColor(fw::clHighlight));
      p.setPen(selected && v->RowSelect() ? text : plain);
      const fw::TListColumn* column = v->Columns()->Items(columnIndex);
      const int align = column->Alignment() == fw::taRightJustify ? Qt::AlignRight
                        : column->Alignment() == fw::taCenter      ? Qt::AlignHCenter
                                                                   : Qt::AlignLeft;
      if (sub < item.SubItems()->Count()) drawText(p, r, item.SubItems()->Get(sub), align);
      return;
    }
    const QRect label = toQRect(v->ItemRect(index, fw::drLabel));
    const QRect select = toQRect(v->ItemRect(index, fw::drSelectBounds));
    const fw::TRect check = v->CheckRect(index);
    if (!check.IsEmpty()) {
      QStyleOptionButton option;
      option.initFrom(this);
      const int side = 13;
      option.rect = QRect(check.Left + (check.Width() - side) / 2, check.Top + (check.Height() - side) / 2, side, side);
      option.state = (isEnabled() ? QStyle::State_Enabled : QStyle::State_None) |
                     (item.Checked() ? QStyle::State_On : QStyle::State_Off);
      style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
    }
    if (v->ViewStyle() == fw::vsIcon) {
      const QRect icon = toQRect(v->ItemRect(index, fw::drIcon));
      p.setPen(ToQColor(fw::clBtnShadow));
      p.setBrush(ToQColor(fw::clBtnFace));
      p.drawRect(icon.adjusted(4, 4, -5, -5));
      p.setBrush(Qt::NoBrush);
      if (selected) p.fillRect(label, ToQColor(fw::clHighlight));
      p.setPen(text);
      p.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, ToQString(item.Caption()));
    } else {
      if (selected) p.fillRect(select, ToQColor(fw::clHighlight));
      p.setPen(text);
      drawText(p, label, item.Caption(), Qt::AlignLeft);
    }
    if (index == v->FocusedIndex() && hasFocus()) {
      p.setPen(QPen(text, 1, Qt::DotLine));
      p.drawRect(select.adjusted(0, 0, -1, -1));
    }
  }

  void drawHeader(QPainter& p) {
    fw::TCustomListView* v = view();
    const std::vector<int32_t> edges = v->ColumnEdges();
    const int h = fw::TCustomListView::HeaderHeight;
    for (int i = 0; i < v->Columns()->Count(); ++i) {
      QStyleOptionHeader option;
      option.initFrom(this);
      option.rect = QRect(edges[size_t(i)], 0, edges[size_t(i + 1)] - edges[size_t(i)], h);
      option.section = i;
      option.text = ToQString(v->Columns()->Items(i)->Caption());
      option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
      style()->drawControl(QStyle::CE_Header, &option, &p, this);
    }
    const int right = edges.back();
    if (right < viewport()->width()) {
      QStyleOptionHeader option;
      option.initFrom(this);
      option.rect = QRect(right, 0, viewport()->width() - right, h);
      option.section = v->Columns()->Count();
      style()->drawControl(QStyle::CE_Header, &option, &p, this);
    }
    if (dragging_ && pressedColumn_ >= 0 && pressedColumn_ < v->Columns()->Count()) {
      // The dragged header follows the mouse, over a mark where it would land.
      const int target = dropColumn(dragX_);
      const int mark = target > pressedColumn_ ? edges[size_t(target) + 1] : edges[size_t(target)];
      p.fillRect(QRect(mark - 1, 0, 2, h), ToQColor(fw::clHighlight));
      QStyleOptionHeader option;
      option.initFrom(this);
      const int width = edges[size_t(pressedColumn_) + 1] - edges[size_t(pressedColumn_)];
      option.rect = QRect(dragX_ - grabOffset_, 0, width, h);
      option.state |= QStyle::State_Sunken;
      option.text = ToQString(v->Columns()->Items(pressedColumn_)->Caption());
      option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
      p.setOpacity(0.75);
      style()->drawControl(QStyle::CE_Header, &option, &p, this);
      p.setOpacity(1);
    }
  }

  // The column a header dropped at x takes the place of: the one under x, the first or the last
  // beyond the ends.
  int dropColumn(int x) const {
    const std::vector<int32_t> edges = view()->ColumnEdges();
    if (edges.size() < 2) return -1;
    if (x < edges.front()) return 0;
    const int at = columnAt(x);
    return at >= 0 ? at : int(edges.size()) - 2;
  }

  void paintEvent(QPaintEvent*) override {
    fw::TCustomListView* v = view();
    if (!v) return;
    auto alive = v->LivenessToken();
    Guarded([&] {
      QPainter p(viewport());
      p.fillRect(viewport()->rect(), ToQColor(v->Color()));
      p.setFont(v->Font()->ToQFont());
      v->PaintItems([&](int32_t index, fw::TListItem& item, int32_t sub) {
        if (!alive.expired()) drawItem(p, index, item, sub);
      });
      if (alive.expired()) return;
      if (v->GridLines() && v->ViewStyle() == fw::vsReport) {
        p.setPen(ToQColor(fw::clBtnFace));
        const fw::TRect area = v->ItemArea();
        for (int32_t x : v->ColumnEdges()) p.drawLine(x - 1, area.Top, x - 1, area.Bottom);
        for (int32_t y = area.Top + fw::TCustomListView::RowHeight - 1; y < area.Bottom; y += fw::TCustomListView::RowHeight)
          p.drawLine(0, y, viewport()->width(), y);
      }
      if (v->ViewStyle() == fw::vsReport && v->ShowColumnHeaders()) drawHeader(p);
    });
  }

  void mousePressEvent(QMouseEvent* event) override {
    fw::TCustomListView* v = view();
    const QPoint pos = event->position().toPoint();
    if (v && inHeader(pos)) {
      if (event->button() == Qt::LeftButton) {
        resizing_ = edgeAt(pos.x());
        pressedColumn_ = resizing_ >= 0 ? -1 : columnAt(pos.x());
        dragging_ = false;
        pressX_ = pos.x();
        if (pressedColumn_ >= 0) grabOffset_ = pos.x() - v->ColumnEdges()[size_t(pressedColumn_)];
      } else if (event->button() == Qt::RightButton) {
        const int column = columnAt(pos.x());
        Guarded([&] { v->UserColumnRightClick(column, {pos.x(), pos.y()}); });
      }
      event->accept();
      return;
    }
    if (v && event->button() == Qt::LeftButton) {
      auto alive = v->LivenessToken();
      Guarded([&] {
        const int32_t index = v->IndexAt(pos.x(), pos.y());
        if (index < 0) return;
        if (v->CheckRect(index).Contains({pos.x(), pos.y()})) {
          v->UserToggleCheck(index);
          return;
        }
        const auto mods = event->modifiers();
        v->UserSelect(index, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
      });
      if (alive.expired()) return;
    }
    TForwarding<QAbstractScrollArea>::mousePressEvent(event);
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    fw::TCustomListView* v = view();
    if (v && resizing_ >= 0) {
      const int left = v->ColumnEdges()[size_t(resizing_)];
      const int width = std::max(0, int(event->position().x()) - left);
      Guarded([&] { v->UserColumnResize(resizing_, width); });
      return;
    }
    if (v && pressedColumn_ >= 0 && v->FullDrag()) {
      const int x = int(event->position().x());
      if (!dragging_ && std::abs(x - pressX_) >= QApplication::startDragDistance()) dragging_ = true;
      if (dragging_) {
        dragX_ = x;
        viewport()->update();
      }
      event->accept();
      return;
    }
    TForwarding<QAbstractScrollArea>::mouseMoveEvent(event);
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    fw::TCustomListView* v = view();
    const QPoint pos = event->position().toPoint();
    if (v && (resizing_ >= 0 || pressedColumn_ >= 0)) {
      const int pressed = pressedColumn_;
      const bool wasResizing = resizing_ >= 0, wasDragging = dragging_;
      resizing_ = pressedColumn_ = -1;
      dragging_ = false;
      if (wasDragging) {
        const int target = dropColumn(pos.x());
        viewport()->update();
        Guarded([&] { v->UserColumnDrag(pressed, target); });
      } else if (!wasResizing && inHeader(pos) && columnAt(pos.x()) == pressed) {
        Guarded([&] { v->UserColumnClick(pressed); });
      }
      event->accept();
      return;
    }
    TForwarding<QAbstractScrollArea>::mouseReleaseEvent(event);
  }

  void moveTo(int index, bool extend) {
    fw::TCustomListView* v = view();
    if (!v || v->Items()->Count() == 0) return;
    index = std::clamp(index, 0, v->Items()->Count() - 1);
    auto alive = v->LivenessToken();
    Guarded([&] {
      v->UserSelect(index, extend && v->MultiSelect());
      if (alive.expired() || v->OwnerData()) {
        if (!alive.expired()) {
          std::unique_ptr<fw::TListItem> item(v->DataItem(index));
          item->MakeVisible(false);
        }
        return;
      }
      v->Items()->Item(index)->MakeVisible(false);
    });
  }

  void keyPressEvent(QKeyEvent* event) override {
    std::unique_ptr<QKeyEvent> replacement;
    QPointer<QWidget> self(this);
    if (!detail::KeyPress(model, event, replacement) || !self) return;
    fw::TCustomListView* v = view();
    if (!v) return;
    const int current = std::max(0, int(v->FocusedIndex()));
    const bool none = v->FocusedIndex() < 0;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // The arrows go to the neighbour the layout puts that way (staying put at an edge).
    auto toward = [&](fw::TSearchDirection d) {
      if (none) return 0;
      const int next = v->NeighbourIndex(current, d);
      return next >= 0 ? next : current;
    };
    auto page = [&](fw::TSearchDirection d) {
      int at = current;
      for (int k = pageMoves(), next; k > 0 && (next = v->NeighbourIndex(at, d)) >= 0; --k) at = next;
      return at;
    };
    switch (event->key()) {
      case Qt::Key_Up: moveTo(toward(fw::sdAbove), shift); break;
      case Qt::Key_Down: moveTo(toward(fw::sdBelow), shift); break;
      case Qt::Key_Left: moveTo(toward(fw::sdLeft), shift); break;
      case Qt::Key_Right: moveTo(toward(fw::sdRight), shift); break;
      case Qt::Key_PageUp: moveTo(page(fw::sdAbove), shift); break;
      case Qt::Key_PageDown: moveTo(page(fw::sdBelow), shift); break;
      case Qt::Key_Home: moveTo(0, shift); break;
      case Qt::Key_End: moveTo(v->Items()->Count() - 1, shift); break;
      case Qt::Key_Space: Guarded([&] { v->UserToggleCheck(v->FocusedIndex()); }); break;
      case Qt::Key_F2:
        Guarded([&] {
          if (v->FocusedIndex() >= 0 && !v->OwnerData()) v->Items()->Item(v->FocusedIndex())->EditCaption();
        });
        break;
      default: QAbstractScrollArea::keyPressEvent(replacement ? replacement.get() : event); return;
    }
    event->accept();
  }

  // Tool tips show the item's info tip (its caption unless onInfoTip says otherwise).
  bool viewportEvent(QEvent* event) override {
    fw::TCustomListView* v = view();
    if (v && event->type() == QEvent::ToolTip) {
      auto* help = static_cast<QHelpEvent*>(event);
      std::string tip;
      Guarded([&] {
        const int32_t index = v->IndexAt(help->pos().x(), help->pos().y());
        if (index >= 0) tip = v->InfoTip(index);
      });
      if (tip.empty()) QToolTip::hideText();
      else QToolTip::showText(help->globalPos(), ToQString(tip), viewport());
      return true;
    }
    return TForwarding<QAbstractScrollArea>::viewportEvent(event);
  }

  // A notch scrolls three rows down, or in list style (which scrolls only sideways) a column.
  void wheelEvent(QWheelEvent* event) override {
    // The control and its parents have their say before the rows scroll.
    if (detail::Wheel(model, event) == detail::TWheelRoute::Taken) return;
    if (fw::TCustomListView* v = view()) {
      const QPoint notches = event->angleDelta() / 120;
      const int row = fw::TCustomListView::RowHeight;
      Guarded([&] {
        if (v->ViewStyle() == fw::vsList)
          v->Scroll(-(notches.y() + notches.x()) * fw::TCustomListView::ListColumnWidth, 0);
        else
          v->Scroll(-notches.x() * 3 * row, -notches.y() * 3 * row);
      });
    }
    event->accept();
  }

  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    Sync();
  }

  void scrollContentsBy(int dx, int dy) override {
    fw::TCustomListView* v = view();
    if (syncing_ || !v) return;
    Guarded([&] {
      if (dx) v->SetHorzScrollPos(horizontalScrollBar()->value());
      if (dy) v->SetVertScrollPos(verticalScrollBar()->value());
    });
  }

  // Shows the caption editor while the model edits an item, over the item's label.
  void syncEditor() {
    fw::TCustomListView* v = view();
    const int editing = v ? v->EditingIndex() : -1;
    if (editing < 0) {
      if (editor_) {
        QLineEdit* e = editor_;
        editor_ = nullptr;
        e->hide();
        e->deleteLater();
      }
      return;
    }
    if (editor_) return;
    editor_ = new QLineEdit(viewport());
    const QRect r = toQRect(v->ItemRect(editing, fw::drLabel));
    editor_->setGeometry(r.adjusted(0, -1, 0, 1));
    if (!v->OwnerData()) editor_->setText(ToQString(v->Items()->Item(editing)->Caption()));
    editor_->selectAll();
    editor_->show();
    editor_->setFocus();
    QPointer<QLineEdit> e(editor_);
    QObject::connect(editor_, &QLineEdit::editingFinished, editor_, [this, e] {
      fw::TCustomListView* lv = view();
      if (!e || e != editor_ || !lv) return;
      const std::string text = FromQString(e->text());
      Guarded([&] { lv->FinishEdit(text, true); });
    });
  }

 private:
  bool syncing_ = false;
  int resizing_ = -1;
  int pressedColumn_ = -1;
  // A header drag: where the press was, the grip inside the header, and where the mouse is.
  bool dragging_ = false;
  int pressX_ = 0, grabOffset_ = 0, dragX_ = 0;
  QLineEdit* editor_ = nullptr;
};

class TListViewPeer : public TQtPeer {
 public:
  TListViewPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TListViewWidget(parent)) {}

 protected:
  void Sync(TPeerChange what) override {
    auto* w = static_cast<TListViewWidget*>(Widget());
    if (!w) return;
    if (what == TPeerChange::State)
      w->setFocusPolicy(static_cast<fw::TWinControl&>(Control()).TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    w->Sync();
  }
};

}  // namespace

void RegisterListViewPeer() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TCustomListView::StaticClassInfo(),
               [](fw::TControl& control, QWidget* parent) -> std::unique_ptr<fw::TControlPeer> {
                 auto peer = std::make_unique<TListViewPeer>(control, parent);
                 peer->SyncAll();
                 return peer;
               });
}

}  // namespace qtfw
