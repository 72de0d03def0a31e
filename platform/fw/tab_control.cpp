#include "platform/fw/tab_control.h"

#include <algorithm>

#include "platform/rt/utf8.h"

namespace fw {

const rt::MethodType& TabChangingEventType() {
  static const rt::MethodType type{"TTabChangingEvent",
                                   {rt::MethodParam{"Sender", "TObject", false},
                                    rt::MethodParam{"AllowChange", "Boolean", true}}};
  return type;
}

const rt::MethodType& TabGetImageEventType() {
  static const rt::MethodType type{"TTabGetImageEvent",
                                   {rt::MethodParam{"Sender", "TObject", false},
                                    rt::MethodParam{"TabIndex", "Integer", false},
                                    rt::MethodParam{"ImageIndex", "Integer", true}}};
  return type;
}

const rt::ClassInfo& TCustomTabControl::StaticClassInfo() {
  using T = TCustomTabControl;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCustomTabControl", &TWinControl::StaticClassInfo())
          .property("HotTrack", &T::HotTrack, &T::SetHotTrack).defaultValue(false)
          .property("MultiLine", &T::MultiLine, &T::SetMultiLine).defaultValue(false)
          .property("Style", &T::Style, &T::SetStyle).defaultValue(tsTabs)
          .property("TabHeight", &T::TabHeight, &T::SetTabHeight).defaultValue(0)
          .property("TabPosition", &T::TabPosition, &T::SetTabPosition).defaultValue(tpTop)
          .property("TabWidth", &T::TabWidth, &T::SetTabWidth).defaultValue(0)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .event("OnChange", NotifyEventType(), &T::OnChange)
          .event("OnChanging", TabChangingEventType(), &T::OnChanging)
          .event("OnGetImageIndex", TabGetImageEventType(), &T::OnGetImageIndex)
          .build();
  return info;
}

const rt::ClassInfo& TTabControl::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TTabControl>("TTabControl", &TCustomTabControl::StaticClassInfo())
          .property("Tabs", &TCustomTabControl::Tabs, &TCustomTabControl::SetTabs)
          .property("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex).defaultValue(-1)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TTabControl(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner), tabs_(new TStringList) {
  SetTabStop(true);
  SetBounds(Left(), Top(), 289, 193);
  tabs_->OnChange = TNotifyEvent(&TabsChangedThunk, this);
}

TCustomTabControl::~TCustomTabControl() {
  tabs_->OnChange = TNotifyEvent();
  delete tabs_;
}

void TCustomTabControl::TabsChanged() {
  const int32_t count = TabCount();
  if (tabIndex_ >= count) tabIndex_ = count - 1;
  if (firstTab_ >= count) firstTab_ = std::max(0, count - 1);
  PeerChanged(TPeerChange::Content);
  TabLayoutChanged();
}

void TCustomTabControl::SetTabIndex(int32_t index) {
  if (HasState(csLoading)) {
    tabIndex_ = index;  // the tabs may come after it
    return;
  }
  if (index < -1 || index >= TabCount() || index == tabIndex_) return;
  tabIndex_ = index;
  PeerChanged(TPeerChange::State);
}

void TCustomTabControl::SetMultiLine(bool v) {
  multiLine_ = v;
  if (v) firstTab_ = 0;
  PeerChanged(TPeerChange::Content);
  TabLayoutChanged();
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  tabPosition_ = v;
  PeerChanged(TPeerChange::Content);
  TabLayoutChanged();
}

void TCustomTabControl::SetStyle(TTabStyle v) {
  style_ = v;
  PeerChanged(TPeerChange::Content);
}

void TCustomTabControl::SetTabHeight(int32_t v) {
  tabHeight_ = std::max(0, v);
  PeerChanged(TPeerChange::Content);
  TabLayoutChanged();
}

void TCustomTabControl::SetTabWidth(int32_t v) {
  tabWidth_ = std::max(0, v);
  PeerChanged(TPeerChange::Content);
  TabLayoutChanged();
}

int32_t TCustomTabControl::TabExtent(int32_t index) const {
  if (tabWidth_ > 0) return tabWidth_;
  return int32_t(rt::utf8::charCount(TabText(index))) * 7 + 12;
}

// Tabs run along the top (or the bottom) from the left; a single row starts at FirstTab, the
// earlier tabs lying off to the left; MultiLine starts a new row when a tab would pass the right
// edge. Rows are counted from the edge the tabs stand on.
std::vector<TCustomTabControl::Placed> TCustomTabControl::Layout(int32_t* rows) const {
  const int32_t count = TabCount();
  std::vector<Placed> placed(size_t(std::max(count, 0)));
  const int32_t h = RowHeight();
  const int32_t limit = ClientWidth() - 2;
  int32_t row = 0;
  int32_t x = 2;
  if (!multiLine_)
    for (int32_t i = 0; i < firstTab_ && i < count; ++i) x -= TabExtent(i);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t w = TabExtent(i);
    if (multiLine_ && x > 2 && x + w > limit) {
      ++row;
      x = 2;
    }
    placed[size_t(i)] = {Bounds(x, 0, w, h), row};
    x += w;
  }
  const int32_t rowCount = count > 0 ? row + 1 : 0;
  for (Placed& p : placed) {
    const int32_t top = tabPosition_ == tpBottom ? ClientHeight() - (p.row + 1) * h : p.row * h;
    p.rect.Top = top;
    p.rect.Bottom = top + h;
  }
  if (rows) *rows = rowCount;
  return placed;
}

int32_t TCustomTabControl::RowCount() const {
  int32_t rows = 0;
  Layout(&rows);
  return rows;
}

TRect TCustomTabControl::TabRect(int32_t index) const {
  std::vector<Placed> placed = Layout(nullptr);
  if (index < 0 || index >= int32_t(placed.size())) return {};
  return placed[size_t(index)].rect;
}

int32_t TCustomTabControl::IndexOfTabAt(int32_t x, int32_t y) const {
  std::vector<Placed> placed = Layout(nullptr);
  const TPoint p{x, y};
  if (!ClientRect().Contains(p)) return -1;
  for (size_t i = 0; i < placed.size(); ++i)
    if (placed[i].rect.Contains(p)) return int32_t(i);
  return -1;
}

THitTests TCustomTabControl::GetHitTestInfoAt(int32_t x, int32_t y) const {
  THitTests result;
  const TRect client = ClientRect();
  if (y < client.Top) result.bits |= 1u << htAbove;
  if (y >= client.Bottom) result.bits |= 1u << htBelow;
  if (x < client.Left) result.bits |= 1u << htToLeft;
  if (x >= client.Right) result.bits |= 1u << htToRight;
  if (result.bits == 0) result.bits |= 1u << (IndexOfTabAt(x, y) >= 0 ? htOnItem : htNowhere);
  return result;
}

TRect TCustomTabControl::DisplayRect() const {
  int32_t rows = 0;
  Layout(&rows);
  const int32_t band = rows * RowHeight();
  TRect r = ClientRect();
  if (tabPosition_ == tpBottom) r.Bottom -= band;
  else r.Top += band;
  r.Left += 4;
  r.Top += 4;
  r.Right -= 4;
  r.Bottom -= 4;
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TCustomTabControl::ScrollTabs(int32_t delta) {
  if (multiLine_ || TabCount() == 0) return;
  firstTab_ = std::clamp(firstTab_ + delta, 0, TabCount() - 1);
  PeerChanged(TPeerChange::Content);
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomTabControl::SelectTab(int32_t index) {
  if (index < 0 || index >= TabCount() || index == TabIndex()) return false;
  auto alive = LivenessToken();
  if (!CanChange() || alive.expired()) return false;
  if (index >= TabCount()) return false;  // the handler took tabs away
  TabSelected(index);
  if (alive.expired()) return true;
  Change();
  return true;
}

void TCustomTabControl::TabSelected(int32_t index) {
  tabIndex_ = index;
  PeerChanged(TPeerChange::State);
}

int32_t TCustomTabControl::ImageIndexOf(int32_t tabIndex) {
  int32_t image = tabIndex;
  if (OnGetImageIndex) OnGetImageIndex(this, tabIndex, image);
  return image;
}

}  // namespace fw
