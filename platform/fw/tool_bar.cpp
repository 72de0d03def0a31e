#include "platform/fw/tool_bar.h"

#include <algorithm>
#include <vector>

#include "platform/fw/errors.h"
#include "platform/fw/menus.h"
#include "platform/rt/utf8.h"

namespace fw {

// ---- tool window ----

const rt::ClassInfo& TToolWindow::StaticClassInfo() {
  using T = TToolWindow;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TToolWindow", &TWinControl::StaticClassInfo())
                                         .property("EdgeBorders", &T::EdgeBorders, &T::SetEdgeBorders)
                                         .property("EdgeInner", &T::EdgeInner, &T::SetEdgeInner).defaultValue(esRaised)
                                         .property("EdgeOuter", &T::EdgeOuter, &T::SetEdgeOuter).defaultValue(esLowered)
                                         .build();
  return info;
}

TToolWindow::TToolWindow(TComponent* owner) : TWinControl(owner) { SetColor(clBtnFace); }

void TToolWindow::SetEdgeBorders(TEdgeBorders v) {
  edgeBorders_ = v;
  EdgesChanged();
}

void TToolWindow::SetEdgeInner(TEdgeStyle v) {
  edgeInner_ = v;
  EdgesChanged();
}

void TToolWindow::SetEdgeOuter(TEdgeStyle v) {
  edgeOuter_ = v;
  EdgesChanged();
}

void TToolWindow::EdgesChanged() {
  if (!HasState(csLoading)) AlignControls();
  PeerChanged(TPeerChange::Content);
}

TRect TToolWindow::EdgeMargins() const {
  const int32_t w = (edgeInner_ != esNone ? 1 : 0) + (edgeOuter_ != esNone ? 1 : 0);
  return {edgeBorders_.has(ebLeft) ? w : 0, edgeBorders_.has(ebTop) ? w : 0, edgeBorders_.has(ebRight) ? w : 0,
          edgeBorders_.has(ebBottom) ? w : 0};
}

TRect TToolWindow::AlignRect() const {
  const TRect m = EdgeMargins();
  TRect r = ClientRect();
  r.Left += m.Left;
  r.Top += m.Top;
  r.Right = std::max(r.Left, r.Right - m.Right);
  r.Bottom = std::max(r.Top, r.Bottom - m.Bottom);
  return r;
}

// ---- tool button ----

const rt::ClassInfo& TToolButton::StaticClassInfo() {
  using T = TToolButton;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TToolButton", &TGraphicControl::StaticClassInfo())
          .property("Action", &TControl::Action, &TControl::SetAction)
          .property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).defaultValue(false)
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize).defaultValue(false)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Down", &T::Down, &T::SetDown).defaultValue(false)
          .property("DropdownMenu", &T::DropdownMenu, &T::SetDropdownMenu)
          .property("Grouped", &T::Grouped, &T::SetGrouped).defaultValue(false)
          .property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).defaultValue(-1)
          .property("Indeterminate", &T::Indeterminate, &T::SetIndeterminate).defaultValue(false)
          .property("Marked", &T::Marked, &T::SetMarked).defaultValue(false)
          .property("Style", &T::Style, &T::SetStyle).defaultValue(tbsButton)
          .property("Wrap", &T::Wrap, &T::SetWrap).defaultValue(false)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TToolButton(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 23, 22);
  SetColor(clBtnFace);
  clickOnMouseUp_ = false;  // the peer reports clicks itself
}

TToolButton::~TToolButton() {
  SetDropdownMenu(nullptr);
  // Out of the bar's row while the bar can still lay the others out again.
  if (TToolBar* bar = ToolBar()) {
    bar->RemoveControl(this);
    if (!bar->HasState(csDestroying)) bar->ArrangeButtons();
  }
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

int32_t TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  return bar ? bar->IndexOfButton(this) : -1;
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = ToolBar();
  TGraphicControl::SetParent(parent);
  if (old && old != parent) old->ArrangeButtons();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) {
  TPopupMenu* old = DropdownMenu();
  if (menu == old) return;
  // A menu this button popped up keeps the link: it hears of the button going through it.
  if (old && old->PopupComponent() != this) old->RemoveFreeNotification(this);
  dropdownMenu_ = menu;
  dropdownAlive_ = menu ? menu->LivenessToken() : std::weak_ptr<const void>();
  if (menu) menu->FreeNotification(this);
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == dropdownMenu_) {
    dropdownMenu_ = nullptr;
    dropdownAlive_.reset();
  }
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (v == style_) return;
  const bool wasSeparator = IsSeparator();
  style_ = v;
  if (IsSeparator() && !wasSeparator && !HasState(csLoading)) SetWidth(8);
  if (style_ != tbsCheck) down_ = down_ && style_ == tbsButton;
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  PeerChanged(TPeerChange::State);
}

void TToolButton::SetDown(bool v) {
  if (v == down_) return;
  // One button of a group stays down unless the group allows all up.
  if (!v && grouped_ && style_ == tbsCheck && !allowAllUp_ && !HasState(csLoading)) return;
  down_ = v;
  if (v && grouped_ && style_ == tbsCheck) RaiseGroupOthers();
  PeerChanged(TPeerChange::State);
}

void TToolButton::RaiseGroupOthers() {
  TToolBar* bar = ToolBar();
  if (!bar) return;
  const int32_t self = bar->IndexOfButton(this);
  auto inGroup = [](TToolButton* b) { return b->grouped_ && b->style_ == tbsCheck; };
  auto raise = [](TToolButton* b) {
    if (!b->down_) return;
    b->down_ = false;
    b->PeerChanged(TPeerChange::State);
  };
  for (int32_t i = self - 1; i >= 0 && inGroup(bar->Buttons(i)); --i) raise(bar->Buttons(i));
  for (int32_t i = self + 1; i < bar->ButtonCount() && inGroup(bar->Buttons(i)); ++i) raise(bar->Buttons(i));
}

void TToolButton::SetIndeterminate(bool v) {
  indeterminate_ = v;
  PeerChanged(TPeerChange::State);
}

void TToolButton::SetMarked(bool v) {
  marked_ = v;
  PeerChanged(TPeerChange::State);
}

void TToolButton::SetImageIndex(int32_t v) {
  imageIndex_ = v;
  PeerChanged(TPeerChange::Content);
}

void TToolButton::SetWrap(bool v) {
  wrap_ = v;
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::TextChanged() {
  TGraphicControl::TextChanged();
  if (TToolBar* bar = ToolBar(); bar && bar->ShowCaptions()) bar->ArrangeButtons();
}

void TToolButton::Click() {
  if (style_ == tbsCheck) SetDown(!down_);
  TGraphicControl::Click();
}

// ---- tool bar ----

const rt::ClassInfo& TToolBar::StaticClassInfo() {
  using T = TToolBar;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TToolBar", &TToolWindow::StaticClassInfo())
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize).defaultValue(false)
          .property("ButtonHeight", &T::ButtonHeight, &T::SetButtonHeight).defaultValue(22)
          .property("ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).defaultValue(23)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("Flat", &T::Flat, &T::SetFlat).defaultValue(false)
          .property("Indent", &T::Indent, &T::SetIndent).defaultValue(0)
          .property("List", &T::List, &T::SetList).defaultValue(false)
          .property("ShowCaptions", &T::ShowCaptions, &T::SetShowCaptions).defaultValue(false)
          .property("Transparent", &T::Transparent, &T::SetTransparent).defaultValue(false)
          .property("Wrapable", &T::Wrapable, &T::SetWrapable).defaultValue(true)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TToolBar(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TToolWindow(owner) {
  SetEdgeBorders(TEdgeBorders{ebTop});
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

int32_t TToolBar::ButtonCount() const {
  int32_t n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(int32_t index) const {
  if (index >= 0)
    for (int i = 0, n = 0; i < ControlCount(); ++i)
      if (auto* b = dynamic_cast<TToolButton*>(Controls(i)); b && n++ == index) return b;
  raise<EListError>(msg::ListIndexError, {std::to_string(index)});
}

int32_t TToolBar::IndexOfButton(const TToolButton* button) const {
  for (int i = 0, n = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) {
      if (b == button) return n;
      ++n;
    }
  return -1;
}

int32_t TToolBar::Arrange(bool apply) {
  const TRect m = EdgeMargins();
  const int32_t start = m.Left + indent_;
  const int32_t limit = Width() - m.Right;
  int32_t x = start, y = m.Top, rows = 0;
  bool inRow = false, wrapNext = false;
  for (int i = 0; i < ControlCount(); ++i) {
    auto* b = dynamic_cast<TToolButton*>(Controls(i));
    if (!b || !b->Visible()) continue;
    const int32_t w = b->IsSeparator() ? b->Width() : buttonWidth_;
    if (inRow && (wrapNext || (wrapable_ && x + w > limit))) {
      x = start;
      y += buttonHeight_;
      inRow = false;
    }
    if (!inRow) {
      ++rows;
      inRow = true;
    }
    if (apply) b->SetBounds(x, y, w, buttonHeight_);
    x += w;
    wrapNext = b->Wrap();
  }
  return std::max(rows, 1);
}

int32_t TToolBar::RowCount() const { return const_cast<TToolBar*>(this)->Arrange(false); }

void TToolBar::ArrangeButtons() {
  if (arranging_ || HasState(csLoading) || HasState(csDestroying)) return;
  arranging_ = true;
  try {
    const int32_t rows = Arrange(true);
    if (autoSize_) {
      const TRect m = EdgeMargins();
      SetHeight(m.Top + m.Bottom + rows * buttonHeight_);
    }
  } catch (...) {
    arranging_ = false;
    throw;
  }
  arranging_ = false;
  PeerChanged(TPeerChange::Content);
}

void TToolBar::Resize() {
  TToolWindow::Resize();
  ArrangeButtons();
}

void TToolBar::EdgesChanged() {
  TToolWindow::EdgesChanged();
  ArrangeButtons();
}

void TToolBar::Loaded() {
  TToolWindow::Loaded();
  ArrangeButtons();
}

void TToolBar::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // The buttons in their order along the bar, then whatever else sits on it.
  std::vector<TControl*> others;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() != root) continue;
    if (dynamic_cast<TToolButton*>(c)) proc(c);
    else others.push_back(c);
  }
  for (TControl* c : others) proc(c);
}

void TToolBar::SetButtonHeight(int32_t v) {
  buttonHeight_ = std::max(v, 1);
  ArrangeButtons();
}

void TToolBar::SetButtonWidth(int32_t v) {
  buttonWidth_ = std::max(v, 1);
  ArrangeButtons();
}

void TToolBar::SetIndent(int32_t v) {
  indent_ = std::max(v, 0);
  ArrangeButtons();
}

void TToolBar::SetWrapable(bool v) {
  wrapable_ = v;
  ArrangeButtons();
}

void TToolBar::SetFlat(bool v) {
  flat_ = v;
  PeerChanged(TPeerChange::Content);
}

void TToolBar::SetList(bool v) {
  list_ = v;
  PeerChanged(TPeerChange::Content);
}

void TToolBar::SetShowCaptions(bool v) {
  showCaptions_ = v;
  PeerChanged(TPeerChange::Content);
}

void TToolBar::SetAutoSize(bool v) {
  autoSize_ = v;
  ArrangeButtons();
}

void TToolBar::SetTransparent(bool v) {
  transparent_ = v;
  PeerChanged(TPeerChange::Content);
}

bool TToolBar::TrackMenu(TToolButton* button) {
  if (!button || button->ToolBar() != this) return false;
  const TPoint at = button->ClientToScreen({0, button->Height()});
  if (TPopupMenu* menu = button->DropdownMenu()) {
    menu->SetPopupComponent(button);
    menu->Popup(at.X, at.Y);
    return true;
  }
  return false;
}

// ---- cool bands ----

const rt::ClassInfo& TCoolBand::StaticClassInfo() {
  using T = TCoolBand;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TCoolBand", &TCollectionItem::StaticClassInfo())
                                         .property("Break", &T::Break, &T::SetBreak).defaultValue(true)
                                         .property("Control", &T::Control, &T::SetControl)
                                         .property("FixedSize", &T::FixedSize, &T::SetFixedSize).defaultValue(false)
                                         .property("MinHeight", &T::MinHeight, &T::SetMinHeight).defaultValue(25)
                                         .property("MinWidth", &T::MinWidth, &T::SetMinWidth).defaultValue(0)
                                         .property("Text", &T::Text, &T::SetText)
                                         .property("Visible", &T::Visible, &T::SetVisible).defaultValue(true)
                                         .property("Width", &T::Width, &T::SetWidth)
                                         .build();
  return info;
}

TCoolBand::TCoolBand(TCollection* collection) : TCollectionItem(collection) {}

TCoolBand::~TCoolBand() {
  if (TCoolBar* bar = CoolBar(); bar && control_) control_->RemoveFreeNotification(bar);
  control_ = nullptr;
}

TCoolBar* TCoolBand::CoolBar() const {
  return Collection() ? dynamic_cast<TCoolBar*>(Collection()->GetOwner()) : nullptr;
}

std::string TCoolBand::DisplayName() const { return text_.empty() ? TCollectionItem::DisplayName() : text_; }

void TCoolBand::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCoolBand*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  text_ = other->text_;
  width_ = other->width_;
  minWidth_ = other->minWidth_;
  minHeight_ = other->minHeight_;
  break_ = other->break_;
  fixedSize_ = other->fixedSize_;
  visible_ = other->visible_;
  SetControl(other->control_);
  Changed(true);
}

void TCoolBand::SetText(const std::string& v) {
  text_ = v;
  Changed(false);
}

void TCoolBand::SetWidth(int32_t v) {
  width_ = std::max(v, 0);
  Changed(true);
}

void TCoolBand::SetMinWidth(int32_t v) {
  minWidth_ = std::max(v, 0);
  Changed(true);
}

void TCoolBand::SetMinHeight(int32_t v) {
  minHeight_ = std::max(v, 0);
  Changed(true);
}

void TCoolBand::SetBreak(bool v) {
  break_ = v;
  Changed(true);
}

void TCoolBand::SetVisible(bool v) {
  visible_ = v;
  if (control_) control_->SetVisible(v);
  Changed(true);
}

void TCoolBand::SetControl(TWinControl* control) {
  if (control == control_) return;
  TCoolBar* bar = CoolBar();
  if (control && control == bar) throw EInvalidOperation("A cool bar cannot be one of its own bands");
  // A control sits in one band at a time.
  if (bar && control)
    if (TCoolBand* other = bar->Bands()->FindBand(control)) other->control_ = nullptr;
  if (bar && control_) control_->RemoveFreeNotification(bar);
  control_ = control;
  if (bar && control) {
    control->FreeNotification(bar);
    if (control->Parent() != bar) control->SetParent(bar);
  }
  Changed(true);
}

// ---- cool bands collection ----

const rt::ClassInfo& TCoolBands::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCoolBands>("TCoolBands", &TCollection::StaticClassInfo()).build();
  return info;
}

TCoolBands::TCoolBands(TCoolBar* bar)
    : TCollection([](TCollection* c) { return new TCoolBand(c); }, bar), bar_(bar) {}

TCoolBand* TCoolBands::FindBand(const TControl* control) const {
  if (!control) return nullptr;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Control() == control) return Items(i);
  return nullptr;
}

void TCoolBands::Update(TCollectionItem* item) {
  TCollection::Update(item);
  if (bar_) bar_->BandsChanged();
}

// ---- cool bar ----

const rt::ClassInfo& TCoolBar::StaticClassInfo() {
  using T = TCoolBar;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCoolBar", &TToolWindow::StaticClassInfo())
          .property("AutoSize", &T::AutoSize, &T::SetAutoSize).defaultValue(false)
          .property("BandBorderStyle", &T::BandBorderStyle, &T::SetBandBorderStyle)
          .defaultValue(int64_t(TBorderStyle::bsSingle))
          .property("BandMaximize", &T::BandMaximize, &T::SetBandMaximize).defaultValue(bmClick)
          .property("Bands", &T::Bands, &T::SetBands)
          .property("FixedOrder", &T::FixedOrder, &T::SetFixedOrder).defaultValue(false)
          .property("FixedSize", &T::FixedSize, &T::SetFixedSize).defaultValue(false)
          .property("ShowText", &T::ShowText, &T::SetShowText).defaultValue(true)
          .property("Vertical", &T::Vertical, &T::SetVertical).defaultValue(false)
          .event("OnChange", NotifyEventType(), &T::OnChange)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TCoolBar(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCoolBar::TCoolBar(TComponent* owner) : TToolWindow(owner), bands_(new TCoolBands(this)) {
  SetBounds(0, 0, 150, 75);
  SetAlign(alTop);
}

TCoolBar::~TCoolBar() {
  Destroying();
  delete bands_;
  bands_ = nullptr;
}

void TCoolBar::SetAutoSize(bool v) {
  autoSize_ = v;
  ArrangeBands();
}

void TCoolBar::SetBandBorderStyle(TBorderStyle v) {
  bandBorderStyle_ = v;
  PeerChanged(TPeerChange::Content);
}

void TCoolBar::SetShowText(bool v) {
  showText_ = v;
  ArrangeBands();
}

void TCoolBar::SetVertical(bool v) {
  vertical_ = v;
  ArrangeBands();
}

void TCoolBar::BandsChanged() {
  if (!bands_) return;
  ArrangeBands();
}

int32_t TCoolBar::TextExtent(const TCoolBand* band) const {
  if (!showText_ || band->Text().empty()) return 0;
  return int32_t(rt::utf8::charCount(band->Text())) * 7 + 6;
}

namespace {
constexpr int32_t kGrip = 10;
}

// Bands run left to right; a band with Break starts a row (the first one always does); the last
// band of a row reaches to the right edge; a row is as high as its highest band.
void TCoolBar::ArrangeBands() {
  if (arranging_ || !bands_ || HasState(csLoading) || HasState(csDestroying)) return;
  arranging_ = true;
  try {
    const TRect area = AlignRect();
    std::vector<std::vector<TCoolBand*>> rows;
    for (int i = 0; i < bands_->Count(); ++i) {
      TCoolBand* band = bands_->Items(i);
      if (!band->visible_) {
        band->rect_ = {};
        continue;
      }
      if (rows.empty() || band->break_) rows.emplace_back();
      rows.back().push_back(band);
    }
    int32_t y = area.Top;
    for (auto& row : rows) {
      int32_t height = 0;
      for (TCoolBand* band : row)
        height = std::max({height, band->minHeight_, band->control_ ? band->control_->Height() + 4 : 0});
      int32_t x = area.Left;
      for (size_t i = 0; i < row.size(); ++i) {
        TCoolBand* band = row[i];
        int32_t w = std::max(band->width_, band->minWidth_ + kGrip);
        if (i + 1 == row.size()) w = std::max(w, area.Right - x);
        band->rect_ = Bounds(x, y, w, height);
        if (TWinControl* c = band->control_) {
          const int32_t offset = kGrip + TextExtent(band);
          c->SetBounds(x + offset, y + 2, std::max(w - offset - 2, 0), height - 4);
        }
        x += w;
      }
      y += height;
    }
    rows_ = int32_t(rows.size());
    if (autoSize_) {
      const TRect m = EdgeMargins();
      SetHeight(y - area.Top + m.Top + m.Bottom);
    }
  } catch (...) {
    arranging_ = false;
    throw;
  }
  arranging_ = false;
  PeerChanged(TPeerChange::Content);
}

int32_t TCoolBar::RowCount() const { return rows_; }

bool TCoolBar::UserResizeBand(int32_t index, int32_t delta) {
  if (index <= 0 || index >= bands_->Count() || delta == 0 || fixedSize_) return false;
  TCoolBand* band = bands_->Items(index);
  if (band->break_ || !band->visible_) return false;
  TCoolBand* before = nullptr;
  for (int i = index - 1; i >= 0 && !before; --i)
    if (bands_->Items(i)->visible_) before = bands_->Items(i);
  if (!before || before->fixedSize_) return false;
  const int32_t width = std::max(before->rect_.Width() + delta, before->minWidth_ + kGrip);
  if (width == before->rect_.Width()) return false;
  before->SetWidth(width);
  if (OnChange) OnChange(this);
  return true;
}

void TCoolBar::Loaded() {
  TToolWindow::Loaded();
  ArrangeBands();
}

void TCoolBar::Resize() {
  TToolWindow::Resize();
  ArrangeBands();
}

void TCoolBar::Notification(TComponent* component, TOperation operation) {
  TToolWindow::Notification(component, operation);
  if (operation != opRemove || !bands_) return;
  bool changed = false;
  for (int i = 0; i < bands_->Count(); ++i)
    if (bands_->Items(i)->control_ == component) {
      bands_->Items(i)->control_ = nullptr;
      changed = true;
    }
  if (changed) ArrangeBands();
}

}  // namespace fw
