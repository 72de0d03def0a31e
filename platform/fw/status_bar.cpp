#include "platform/fw/status_bar.h"

#include <algorithm>

#include "platform/fw/actions.h"

namespace fw {

const rt::MethodType& DrawPanelEventType() {
  static const rt::MethodType type{"TDrawPanelEvent",
                                   {rt::MethodParam{"StatusBar", "TStatusBar", false},
                                    rt::MethodParam{"Panel", "TStatusPanel", false},
                                    rt::MethodParam{"Rect", "TRect", false}}};
  return type;
}

// ---- TStatusPanel ----

const rt::ClassInfo& TStatusPanel::StaticClassInfo() {
  using T = TStatusPanel;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TStatusPanel", &TCollectionItem::StaticClassInfo())
          .property("Alignment", &T::Alignment, &T::SetAlignment).defaultValue(taLeftJustify)
          .property("Bevel", &T::Bevel, &T::SetBevel).defaultValue(pbLowered)
          .property("BiDiMode", &T::BiDiMode, &T::SetBiDiMode).defaultValue(bdLeftToRight)
          .property("ParentBiDiMode", &T::ParentBiDiMode, &T::SetParentBiDiMode).defaultValue(true)
          .property("Style", &T::Style, &T::SetStyle).defaultValue(psText)
          .property("Text", &T::Text, &T::SetText)
          .property("Width", &T::Width, &T::SetWidth)
          .build();
  return info;
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed(false);
}

void TStatusPanel::SetBiDiMode(TBiDiMode v) {
  biDiMode_ = v;
  parentBiDiMode_ = false;
  Changed(false);
}

void TStatusPanel::SetParentBiDiMode(bool v) {
  parentBiDiMode_ = v;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle v) {
  style_ = v;
  Changed(false);
}

void TStatusPanel::SetText(const std::string& v) {
  if (v == text_) return;
  text_ = v;
  Changed(false);
}

void TStatusPanel::SetWidth(int32_t v) {
  width_ = std::max(0, v);
  Changed(true);
}

void TStatusPanel::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TStatusPanel*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  alignment_ = other->alignment_;
  bevel_ = other->bevel_;
  biDiMode_ = other->biDiMode_;
  parentBiDiMode_ = other->parentBiDiMode_;
  style_ = other->style_;
  text_ = other->text_;
  width_ = other->width_;
  Changed(true);
}

std::string TStatusPanel::DisplayName() const { return text_.empty() ? TCollectionItem::DisplayName() : text_; }

// ---- TStatusPanels ----

const rt::ClassInfo& TStatusPanels::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TStatusPanels>("TStatusPanels", &TCollection::StaticClassInfo()).build();
  return info;
}

TStatusPanels::TStatusPanels(TStatusBar* bar)
    : TCollection([](TCollection* c) { return new TStatusPanel(c); }, bar), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem* item) {
  TCollection::Update(item);
  if (bar_) bar_->PanelsChanged();
}

// ---- TStatusBar ----

const rt::ClassInfo& TStatusBar::StaticClassInfo() {
  using T = TStatusBar;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TStatusBar", &TWinControl::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TStatusBar(static_cast<TComponent*>(owner)); })
          .property("Action", &TControl::Action, &TControl::SetAction)
          .property("Align", &TControl::Align, &TControl::SetAlign).defaultValue(alBottom)
          .property("AutoHint", &T::AutoHint, &T::SetAutoHint).defaultValue(false)
          .property("Panels", &T::Panels, &T::SetPanels)
          .property("SimplePanel", &T::SimplePanel, &T::SetSimplePanel).defaultValue(false)
          .property("SimpleText", &T::SimpleText, &T::SetSimpleText)
          .property("SizeGrip", &T::SizeGrip, &T::SetSizeGrip).defaultValue(true)
          .property("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont).defaultValue(true)
          .event("OnDrawPanel", DrawPanelEventType(), &T::OnDrawPanel)
          .event("OnHint", NotifyEventType(), &T::OnHint)
          .build();
  return info;
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(new TStatusPanels(this)) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
  TStatusPanels* panels = panels_;
  panels_ = nullptr;
  // No repaint requests from a bar on its way out.
  delete panels;
}

void TStatusBar::SetSimplePanel(bool v) {
  if (v == simplePanel_) return;
  simplePanel_ = v;
  PeerChanged(TPeerChange::Content);
}

void TStatusBar::SetSimpleText(const std::string& v) {
  if (v == simpleText_) return;
  simpleText_ = v;
  PeerChanged(TPeerChange::Content);
}

void TStatusBar::SetSizeGrip(bool v) {
  sizeGrip_ = v;
  PeerChanged(TPeerChange::Content);
}

void TStatusBar::SetAutoHint(bool v) {
  autoHint_ = v;
  if (!v && !shownHint_.empty()) {
    shownHint_.clear();
    PeerChanged(TPeerChange::Content);
  }
}

TRect TStatusBar::PanelRect(int32_t index) const {
  if (simplePanel_ || !panels_ || index < 0 || index >= panels_->Count()) return {};
  int32_t left = 0;
  for (int32_t i = 0; i < index; ++i) left += panels_->Items(i)->Width();
  const bool last = index == panels_->Count() - 1;
  int32_t right = last ? std::max(left, ClientWidth()) : left + panels_->Items(index)->Width();
  return {left, 0, right, ClientHeight()};
}

int32_t TStatusBar::PanelAt(int32_t x, int32_t y) const {
  if (!panels_ || !ClientRect().Contains({x, y})) return -1;
  for (int32_t i = 0; i < panels_->Count(); ++i)
    if (PanelRect(i).Contains({x, y})) return i;
  return -1;
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
  if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

bool TStatusBar::ExecuteHint(const std::string& hint) {
  if (OnHint) {
    hintDeclined_ = false;
    auto alive = LivenessToken();
    OnHint(this);
    if (alive.expired()) return true;
    if (!hintDeclined_) return true;
  }
  if (!autoHint_) return false;
  if (hint == shownHint_) return true;
  shownHint_ = hint;
  PeerChanged(TPeerChange::Content);
  return true;
}

}  // namespace fw
