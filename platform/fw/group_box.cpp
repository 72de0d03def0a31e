#include "platform/fw/group_box.h"

#include <algorithm>

#include "platform/rt/persistent.h"

namespace fw {

namespace {
// The caption's band at the top of the frame, and the frame's width.
constexpr int32_t kCaptionBand = 16;
constexpr int32_t kFrame = 2;
}  // namespace

const rt::ClassInfo& TCustomGroupBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCustomGroupBox>("TCustomGroupBox", &TWinControl::StaticClassInfo())
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .build();
  return info;
}

const rt::ClassInfo& TGroupBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TGroupBox(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

TRect TCustomGroupBox::AlignRect() const {
  TRect r = ClientRect();
  return {r.Left + kFrame, r.Top + kCaptionBand, std::max(r.Left + kFrame, r.Right - kFrame),
          std::max(r.Top + kCaptionBand, r.Bottom - kFrame)};
}

const rt::ClassInfo& TCustomRadioGroup::StaticClassInfo() {
  using T = TCustomRadioGroup;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TCustomRadioGroup", &TCustomGroupBox::StaticClassInfo())
                                         .property("Columns", &T::Columns, &T::SetColumns).defaultValue(1)
                                         .property("Items", &T::Items, &T::SetItems)
                                         .property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).defaultValue(-1)
                                         .build();
  return info;
}

const rt::ClassInfo& TRadioGroup::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TRadioGroup>("TRadioGroup", &TCustomRadioGroup::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TRadioGroup(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = TNotifyEvent::bind<&TCustomRadioGroup::ItemsChanged>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() { items_->OnChange = {}; }

void TCustomRadioGroup::ItemsChanged(TObject*) {
  // A checked item that is gone leaves nothing checked.
  if (itemIndex_ >= items_->Count() && !HasState(csLoading)) itemIndex_ = -1;
  PeerChanged(TPeerChange::Content);
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
}

void TCustomRadioGroup::SetItemIndex(int32_t index) {
  if (HasState(csLoading)) {
    itemIndex_ = index;
    return;
  }
  if (index < -1 || index >= items_->Count()) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  PeerChanged(TPeerChange::State);
  if (index >= 0) Click();
}

void TCustomRadioGroup::SetColumns(int32_t value) {
  value = std::clamp(value, 1, 16);
  if (value == columns_) return;
  columns_ = value;
  PeerChanged(TPeerChange::Content);
}

TRect TCustomRadioGroup::ButtonRect(int32_t index) const {
  const int32_t count = items_->Count();
  if (index < 0 || index >= count) return {};
  const TRect area = AlignRect();
  const int32_t rows = (count + columns_ - 1) / columns_;
  const int32_t width = std::max(1, (area.Right - area.Left) / columns_);
  const int32_t height = std::max(1, (area.Bottom - area.Top) / std::max(rows, 1));
  const int32_t col = index / rows, row = index % rows;
  const int32_t left = area.Left + col * width, top = area.Top + row * height;
  return {left, top, left + width, top + height};
}

int32_t TCustomRadioGroup::ItemAtPos(TPoint pos) const {
  for (int32_t i = 0; i < items_->Count(); ++i) {
    const TRect r = ButtonRect(i);
    if (pos.X >= r.Left && pos.X < r.Right && pos.Y >= r.Top && pos.Y < r.Bottom) return i;
  }
  return -1;
}

void TCustomRadioGroup::UserClick(int32_t index) {
  if (!Enabled() || index < 0 || index >= items_->Count()) return;
  SetItemIndex(index);
}

}  // namespace fw
