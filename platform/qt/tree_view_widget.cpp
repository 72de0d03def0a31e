#include "platform/qt/tree_view_widget.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "platform/fw/tree_view.h"

namespace qtfw {

namespace {

using fw::TPeerChange;

constexpr int kButton = 9;  // side of the expand button

}  // namespace

TTreeViewWidget::TTreeViewWidget(QWidget* parent) : TForwarding<QAbstractScrollArea>(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::StyledPanel);
}

fw::TCustomTreeView* TTreeViewWidget::view() const { return static_cast<fw::TCustomTreeView*>(model); }

void TTreeViewWidget::ScheduleSync() {
  viewport()->update();
  if (scheduled_) return;
  scheduled_ = true;
  QPointer<TTreeViewWidget> self(this);
  QTimer::singleShot(0, this, [self] {
    if (!self) return;
    self->scheduled_ = false;
    self->Sync();
  });
}

void TTreeViewWidget::Sync() {
  fw::TCustomTreeView* v = view();
  if (!v) return;
  syncing_ = true;
  Guarded([&] {
    setFrameShape(v->BorderStyle() == fw::TBorderStyle::bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, v->VisibleCount() - v->PageRows()));
    bar->setPageStep(v->PageRows());
    bar->setValue(v->TopRow());
  });
  syncing_ = false;
  syncEditor();
  viewport()->update();
}

void TTreeViewWidget::syncEditor() {
  fw::TCustomTreeView* v = view();
  fw::TTreeNode* node = v ? v->EditingNode() : nullptr;
  if (!node) {
    if (editor_) {
      QLineEdit* e = editor_;
      editor_ = nullptr;
      e->hide();
      e->deleteLater();
    }
    return;
  }
  if (!editor_) {
    editor_ = new QLineEdit(viewport());
    editor_->setFrame(true);
    editor_->installEventFilter(this);
    QObject::connect(editor_, &QLineEdit::textEdited, editor_, [this](const QString& text) {
      if (fw::TCustomTreeView* tv = view()) Guarded([&] { tv->UserEditText(FromQString(text)); });
    });
    QObject::connect(editor_, &QLineEdit::returnPressed, editor_, [this] {
      if (fw::TCustomTreeView* tv = view()) Guarded([&] { tv->UserEndEdit(false); });
    });
    editor_->setText(ToQString(v->EditorText()));
    editor_->selectAll();
  }
  const fw::TRect r = node->DisplayRect(true);
  editor_->setGeometry(r.Left, r.Top, std::max(r.Right - r.Left + 40, 60), r.Bottom - r.Top);
  editor_->show();
  editor_->setFocus();
}

bool TTreeViewWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      if (fw::TCustomTreeView* tv = view()) Guarded([&] { tv->UserEndEdit(true); });
      return true;
    }
  }
  if (watched == editor_ && event->type() == QEvent::FocusOut && editor_ && editor_->isVisible()) {
    // Leaving the editor keeps what was typed.
    if (fw::TCustomTreeView* tv = view(); tv && tv->IsEditing()) Guarded([&] { tv->UserEndEdit(false); });
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

void TTreeViewWidget::paintEvent(QPaintEvent*) {
  fw::TCustomTreeView* v = view();
  if (!v) return;
  QPainter p(viewport());
  const QColor back = ToQColor(v->Color());
  p.fillRect(viewport()->rect(), back);
  p.setFont(v->Font()->ToQFont());
  const int width = viewport()->width();
  const int h = fw::TCustomTreeView::ItemHeight;
  const int indent = v->Indent();
  const bool focused = hasFocus() || (editor_ && editor_->hasFocus());
  const QColor text = TextColor(*this, v->Font()->Color());
  const QColor lines = ToQColor(fw::clGrayText);
  auto drawRow = [&](fw::TTreeNode& node, int32_t y, fw::TCustomDrawState) {
    const int level = node.Level();
    const int textLeft = v->TextLeft(&node);
    const int buttonCenter = textLeft - fw::TCustomTreeView::TextMargin - indent / 2;
    const int mid = y + h / 2;
    if (v->ShowLines() && (v->ShowRoot() || level > 0)) {
      p.setPen(QPen(lines, 1, Qt::DotLine));
      p.drawLine(buttonCenter, mid, textLeft - 2, mid);
      const bool more = node.GetNextSibling() != nullptr;
      const bool above = node.Parent() || node.Index() > 0;
      p.drawLine(buttonCenter, above ? y : mid, buttonCenter, more ? y + h : mid);
      int x = buttonCenter - indent;
      for (fw::TTreeNode* a = node.Parent(); a && x >= 0; a = a->Parent(), x -= indent)
        if (a->GetNextSibling() && (v->ShowRoot() || a->Parent())) p.drawLine(x, y, x, y + h);
    }
    if (v->ShowButtons() && node.HasChildren() && (v->ShowRoot() || level > 0)) {
      const QRect box(buttonCenter - kButton / 2, mid - kButton / 2, kButton - 1, kButton - 1);
      p.fillRect(box, back);
      p.setPen(lines);
      p.drawRect(box);
      p.setPen(text);
      p.drawLine(box.left() + 2, mid, box.right() - 2, mid);
      if (!node.Expanded()) p.drawLine(buttonCenter, box.top() + 2, buttonCenter, box.bottom() - 2);
    }
    const fw::TRect label = node.DisplayRect(true);
    QRect textRect(label.Left, y, label.Right - label.Left, h);
    if (v->RowSelect()) textRect.setRight(width - 1);
    QColor pen = text;
    if (node.Selected() && (focused || !v->HideSelection())) {
      p.fillRect(textRect, ToQColor(focused ? fw::clHighlight : fw::clBtnFace));
      if (focused) pen = ToQColor(fw::clHighlightText);
    } else if (node.DropTarget()) {
      p.fillRect(textRect, ToQColor(fw::clHighlight));
      pen = ToQColor(fw::clHighlightText);
    }
    if (node.Cut()) pen = ToQColor(fw::clGrayText);
    p.setPen(pen);
    p.drawText(textRect.adjusted(fw::TCustomTreeView::TextMargin, 0, 0, 0),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, ToQString(node.Text()));
    if (focused && node.Selected()) {
      p.setPen(QPen(pen, 1, Qt::DotLine));
      p.drawRect(textRect.adjusted(0, 0, -1, -1));
    }
  };
  Guarded([&] { v->Paint(drawRow); });
}

void TTreeViewWidget::mousePressEvent(QMouseEvent* event) {
  // The tree acts on the click first (button, selection), then the control hears the press.
  fw::TCustomTreeView* v = view();
  if (v && (event->button() == Qt::LeftButton || (event->button() == Qt::RightButton && v->RightClickSelect()))) {
    const QPoint pos = event->position().toPoint();
    auto alive = v->LivenessToken();
    Guarded([&] {
      fw::TTreeNode* node = v->GetNodeAt(pos.x(), pos.y());
      if (!node) return;
      const fw::THitTests hits = v->GetHitTestInfoAt(pos.x(), pos.y());
      if (event->button() == Qt::LeftButton && hits.has(fw::htOnButton)) {
        v->UserToggle(node);
        return;
      }
      if (!hits.has(fw::htOnItem) && !v->RowSelect() && !hits.has(fw::htOnRight)) return;
      // A second click on the selected label starts editing it.
      if (event->button() == Qt::LeftButton && node == v->Selected() && hits.has(fw::htOnLabel) && !v->ReadOnly() &&
          hasFocus()) {
        node->EditText();
        return;
      }
      v->UserSelect(node);
    });
    if (alive.expired()) return;
  }
  TForwarding<QAbstractScrollArea>::mousePressEvent(event);
}

void TTreeViewWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click on a label expands or collapses its node, then the control hears it.
  if (fw::TCustomTreeView* v = view(); v && event->button() == Qt::LeftButton) {
    const QPoint pos = event->position().toPoint();
    auto alive = v->LivenessToken();
    Guarded([&] {
      fw::TTreeNode* node = v->GetNodeAt(pos.x(), pos.y());
      if (node && v->GetHitTestInfoAt(pos.x(), pos.y()).has(fw::htOnLabel)) v->UserToggle(node);
    });
    if (alive.expired()) return;
  }
  TForwarding<QAbstractScrollArea>::mouseDoubleClickEvent(event);
}

void TTreeViewWidget::wheelEvent(QWheelEvent* event) {
  // The control and its parents have their say before the rows scroll.
  if (detail::Wheel(model, event) == detail::TWheelRoute::Taken) return;
  if (fw::TCustomTreeView* v = view()) {
    const int rows = event->angleDelta().y() / 40;  // three rows a notch
    Guarded([&] { v->SetTopRow(v->TopRow() - rows); });
  }
  event->accept();
}

void TTreeViewWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  ScheduleSync();
}

void TTreeViewWidget::scrollContentsBy(int, int) {
  fw::TCustomTreeView* v = view();
  if (syncing_ || !v) return;
  Guarded([&] { v->SetTopRow(verticalScrollBar()->value()); });
}

namespace {

class TTreeViewPeer : public TQtPeer {
 public:
  TTreeViewPeer(fw::TControl& control, QWidget* parent) : TQtPeer(control, new TTreeViewWidget(parent)) {}

 protected:
  void Sync(TPeerChange what) override {
    auto* w = static_cast<TTreeViewWidget*>(Widget());
    if (!w) return;
    auto& m = static_cast<fw::TWinControl&>(Control());
    if (what == TPeerChange::State) w->setFocusPolicy(m.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
    w->ScheduleSync();
  }
};

}  // namespace

void RegisterTreePeers() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterPeer(fw::TCustomTreeView::StaticClassInfo(),
               [](fw::TControl& control, QWidget* parent) -> std::unique_ptr<fw::TControlPeer> {
                 auto peer = std::make_unique<TTreeViewPeer>(control, parent);
                 peer->SyncAll();
                 return peer;
               });
}

}  // namespace qtfw
