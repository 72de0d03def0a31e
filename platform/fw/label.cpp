#include "platform/fw/label.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include "platform/rt/persistent.h"

namespace fw {

std::string StripAccelChars(std::string_view text) {
  std::string s;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    else if (text[i] == '&') continue;
    s += text[i];
  }
  return s;
}

const rt::ClassInfo& TLabel::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TLabel>("TLabel", &TGraphicControl::StaticClassInfo())
          .property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).defaultValue(true)
          .property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).defaultValue(taLeftJustify)
          .property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).defaultValue(true)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
          .property("Layout", &TLabel::Layout, &TLabel::SetLayout).defaultValue(tlTop)
          .property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).defaultValue(true)
          .property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).defaultValue(false)
          .property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).defaultValue(false)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TLabel(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  Invalidate();
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* c) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = c;
  if (c) c->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

std::string TLabel::DisplayText() const { return showAccelChar_ ? StripAccelChars(Caption()) : Caption(); }

void TLabel::AdjustBounds() {
  if (!autoSize_ || HasState(csLoading) || !QGuiApplication::instance()) return;
  QFontMetrics metrics(Font()->ToQFont());
  const QString text = QString::fromUtf8(DisplayText().c_str());
  int32_t w, h;
  if (wordWrap_) {
    QRect r = metrics.boundingRect(QRect(0, 0, std::max(1, Width()), 100000), Qt::TextWordWrap, text);
    w = Width();
    h = std::max(r.height(), metrics.height());
  } else {
    QRect r = metrics.boundingRect(QRect(0, 0, 100000, 100000), 0, text);
    w = text.isEmpty() ? 0 : std::max(r.width(), metrics.horizontalAdvance(text));
    h = std::max(r.height(), metrics.height());
  }
  // Right-aligned labels keep their right edge.
  int32_t left = alignment_ == taRightJustify && !wordWrap_ ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::TextChanged() {
  AdjustBounds();
  TGraphicControl::TextChanged();
}

void TLabel::FontChanged() {
  AdjustBounds();
  TGraphicControl::FontChanged();
}

}  // namespace fw
