#include "platform/qt/list_box_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QWheelEvent>
#include <algorithm>

#include "platform/fw/list_box.h"

namespace qtfw {

TListBoxView::TListBoxView(QWidget* parent) : TForwarding<QAbstractScrollArea>(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameShape(QFrame::NoFrame);
}

fw::TCustomListBox* TListBoxView::box() const { return static_cast<fw::TCustomListBox*>(model); }

fw::TCheckListBox* TListBoxView::checkList() const { return dynamic_cast<fw::TCheckListBox*>(model); }

int TListBoxView::pageRows() const {
  const fw::TCustomListBox* b = box();
  return std::max(1, viewport()->height() / std::max(1, b ? int(b->ItemHeight()) : 1));
}

void TListBoxView::Sync() {
  fw::TCustomListBox* b = box();
  if (!b) return;
  syncing_ = true;
  setFrameShape(b->BorderStyle() == fw::TBorderStyle::bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, b->Count() - pageRows()));
  bar->setPageStep(pageRows());
  bar->setValue(b->TopIndex());
  syncing_ = false;
  viewport()->update();
}

void TListBoxView::paintEvent(QPaintEvent*) {
  fw::TCustomListBox* b = box();
  if (!b) return;
  Guarded([&] {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), ToQColor(b->Color()));
    p.setFont(b->Font()->ToQFont());
    const int h = b->ItemHeight();
    const int width = viewport()->width();
    fw::TCheckListBox* checks = checkList();
    const int textLeft = checks ? fw::TCheckListBox::CheckWidth + 2 : 2;
    const auto& rows = b->Rows();
    for (int i = b->TopIndex(), y = 0; i < int(rows.size()) && y < viewport()->height(); ++i, y += h) {
      const auto& row = rows[size_t(i)];
      QColor text = TextColor(*this, b->Font()->Color());
      if (b->Selected(i)) {
        p.fillRect(QRect(textLeft - 1, y, width - textLeft + 1, h), ToQColor(fw::clHighlight));
        text = ToQColor(fw::clHighlightText);
      }
      if (checks) {
        QStyleOptionButton option;
        option.initFrom(this);
        const int side = std::min(13, h - 2);
        option.rect = QRect((fw::TCheckListBox::CheckWidth - side) / 2, y + (h - side) / 2, side, side);
        option.state = row.enabled && isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
        option.state |= row.state == fw::cbChecked  ? QStyle::State_On
                        : row.state == fw::cbGrayed ? QStyle::State_NoChange
                                                    : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &p, this);
        if (!row.enabled) text = ToQColor(fw::clGrayText);
      }
      p.setPen(text);
      p.drawText(QRect(textLeft, y, width - textLeft, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                 ToQString(row.text));
      if (hasFocus() && i == b->ItemIndex()) {
        p.setPen(QPen(text, 1, Qt::DotLine));
        p.drawRect(QRect(textLeft - 1, y, width - textLeft, h - 1));
      }
    }
  });
}

void TListBoxView::mousePressEvent(QMouseEvent* event) {
  // The list picks the item first (its OnClick), then the control hears the press.
  if (fw::TCustomListBox* b = box(); b && event->button() == Qt::LeftButton) {
    const QPoint pos = event->position().toPoint();
    auto alive = b->LivenessToken();
    Guarded([&] {
      const int32_t index = b->ItemAtPos({pos.x(), pos.y()}, true);
      if (index < 0) return;
      if (fw::TCheckListBox* checks = checkList(); checks && pos.x() < fw::TCheckListBox::CheckWidth) {
        checks->UserToggle(index);
        return;
      }
      const auto mods = event->modifiers();
      b->UserSelect(index, mods & Qt::ShiftModifier, mods & Qt::ControlModifier);
    });
    if (alive.expired()) return;
  }
  TForwarding<QAbstractScrollArea>::mousePressEvent(event);
}

void TListBoxView::keyTo(int index, bool extend) {
  fw::TCustomListBox* b = box();
  if (!b || b->Count() == 0) return;
  index = std::clamp(index, 0, b->Count() - 1);
  auto alive = b->LivenessToken();
  Guarded([&] {
    b->UserSelect(index, extend && b->MultiSelect());
    if (alive.expired()) return;
    if (index < b->TopIndex()) b->SetTopIndex(index);
    else if (index >= b->TopIndex() + pageRows()) b->SetTopIndex(index - pageRows() + 1);
  });
}

void TListBoxView::keyPressEvent(QKeyEvent* event) {
  // The control's key events come first; a handler that zeroes the key keeps it from the list.
  std::unique_ptr<QKeyEvent> replacement;
  QPointer<QWidget> self(this);
  if (!detail::KeyPress(model, event, replacement) || !self) return;
  fw::TCustomListBox* b = box();
  if (!b) return;
  const int current = std::max(0, int(b->ItemIndex()));
  const bool none = b->ItemIndex() < 0;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Up: keyTo(none ? 0 : current - 1, shift); break;
    case Qt::Key_Down: keyTo(none ? 0 : current + 1, shift); break;
    case Qt::Key_PageUp: keyTo(current - pageRows(), shift); break;
    case Qt::Key_PageDown: keyTo(current + pageRows(), shift); break;
    case Qt::Key_Home: keyTo(0, shift); break;
    case Qt::Key_End: keyTo(b->Count() - 1, shift); break;
    case Qt::Key_Space:
      if (fw::TCheckListBox* checks = checkList()) {
        Guarded([&] { checks->UserToggle(checks->ItemIndex()); });
        break;
      }
      [[fallthrough]];
    default: QAbstractScrollArea::keyPressEvent(replacement ? replacement.get() : event); return;
  }
  event->accept();
}

void TListBoxView::wheelEvent(QWheelEvent* event) {
  // The control and its parents have their say before the rows scroll.
  if (detail::Wheel(model, event) == detail::TWheelRoute::Taken) return;
  if (fw::TCustomListBox* b = box()) {
    const int rows = event->angleDelta().y() / 40;  // three rows a notch
    Guarded([&] { b->SetTopIndex(b->TopIndex() - rows); });
  }
  event->accept();
}

void TListBoxView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Sync();
}

void TListBoxView::scrollContentsBy(int, int) {
  fw::TCustomListBox* b = box();
  if (syncing_ || !b) return;
  Guarded([&] { b->SetTopIndex(verticalScrollBar()->value()); });
}

}  // namespace qtfw
