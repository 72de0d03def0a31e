#include "platform/fw/combo_box.h"

#include <algorithm>

#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TCustomComboBox::StaticClassInfo() {
  using T = TCustomComboBox;
  static const rt::ClassInfo& info =
      rt::ClassBuilder<T>("TCustomComboBox", &TWinControl::StaticClassInfo())
          .property("Style", &T::Style, &T::SetStyle).defaultValue(csDropDown)
          .property("CharCase", &T::CharCase, &T::SetCharCase).defaultValue(ecNormal)
          .property("DropDownCount", &T::DropDownCount, &T::SetDropDownCount).defaultValue(8)
          .property("ItemHeight", &T::ItemHeight, &T::SetItemHeight).defaultValue(16)
          .property("MaxLength", &T::MaxLength, &T::SetMaxLength).defaultValue(0)
          .property("Sorted", &T::Sorted, &T::SetSorted).defaultValue(false)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .property("Text", &T::Text, &T::SetText)
          .property("Items", &T::Items, &T::SetItems)
          .property("ItemIndex", &T::ItemIndex, &T::SetItemIndex).defaultValue(-1)
          .event("OnChange", NotifyEventType(), &T::OnChange)
          .event("OnDropDown", NotifyEventType(), &T::OnDropDown)
          .event("OnCloseUp", NotifyEventType(), &T::OnCloseUp)
          .event("OnSelect", NotifyEventType(), &T::OnSelect)
          .event("OnDrawItem", DrawItemEventType(), &T::OnDrawItem)
          .event("OnMeasureItem", MeasureItemEventType(), &T::OnMeasureItem)
          .build();
  return info;
}

const rt::ClassInfo& TComboBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TComboBox(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
  items_->OnChange = TNotifyEvent::bind<&TCustomComboBox::ItemsChanged>(this);
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() { items_->OnChange = {}; }

std::string TCustomComboBox::Cased(const std::string& text) const {
  std::string s = text;
  if (charCase_ == ecUpperCase)
    for (char& c : s) c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
  else if (charCase_ == ecLowerCase)
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
  return s;
}

void TCustomComboBox::ItemsChanged(TObject*) {
  // The selection never points past the list.
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  PeerChanged(TPeerChange::Content);
}

void TCustomComboBox::SetItemIndex(int32_t index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  if (HasState(csLoading)) {
    itemIndex_ = index;
    return;
  }
  itemIndex_ = index;
  TControl::SetText(index >= 0 ? Cased(items_->Get(index)) : std::string());
  selStart_ = 0;
  selLength_ = 0;
  PeerChanged(TPeerChange::State);
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  // A description may name the selection before its items were read.
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (itemIndex_ >= 0) TControl::SetText(Cased(items_->Get(itemIndex_)));
}

void TCustomComboBox::SetText(const std::string& text) {
  const std::string s = Cased(text);
  if (style_ == csDropDownList) {
    // Only an item's text can stand in a drop-down list.
    SetItemIndex(items_->IndexOf(s));
    return;
  }
  selStart_ = selLength_ = 0;
  const int found = items_->IndexOf(s);
  itemIndex_ = found;
  TControl::SetText(s);
}

void TCustomComboBox::SetSelStart(int32_t start) {
  const int32_t size = int32_t(GetText().size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::min(selLength_, size - selStart_);
  PeerChanged(TPeerChange::State);
}

void TCustomComboBox::SetSelLength(int32_t length) {
  selLength_ = std::clamp(length, 0, int32_t(GetText().size()) - selStart_);
  PeerChanged(TPeerChange::State);
}

std::string TCustomComboBox::SelText() const { return GetText().substr(size_t(selStart_), size_t(selLength_)); }

void TCustomComboBox::SetSelText(const std::string& text) {
  if (style_ == csDropDownList) return;
  std::string s = GetText();
  const std::string put = Cased(text);
  s.replace(size_t(selStart_), size_t(selLength_), put);
  selStart_ += int32_t(put.size());
  selLength_ = 0;
  if (s == GetText()) return;
  itemIndex_ = items_->IndexOf(s);
  TControl::SetText(s);
  Change();
}

void TCustomComboBox::SelectAll() {
  selStart_ = 0;
  selLength_ = int32_t(GetText().size());
  PeerChanged(TPeerChange::State);
}

void TCustomComboBox::Clear() {
  items_->Clear();
  itemIndex_ = -1;
  selStart_ = selLength_ = 0;
  TControl::SetText("");
}

void TCustomComboBox::SetCharCase(TEditCharCase c) {
  charCase_ = c;
  const std::string s = Cased(GetText());
  if (s != GetText()) TControl::SetText(s);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
  style_ = s;
  if (style_ == csDropDownList && itemIndex_ < 0 && !GetText().empty() && !HasState(csLoading)) TControl::SetText("");
  PeerChanged(TPeerChange::State);
}

void TCustomComboBox::SetSorted(bool v) {
  if (sorted_ == v) return;
  sorted_ = v;
  const std::string selected = itemIndex_ >= 0 ? items_->Get(itemIndex_) : std::string();
  const bool had = itemIndex_ >= 0;
  items_->SetSorted(v);
  if (had) itemIndex_ = items_->IndexOf(selected);
}

void TCustomComboBox::SetDroppedDown(bool v) {
  if (droppedDown_ == v) return;
  droppedDown_ = v;
  PeerChanged(TPeerChange::State);
  if (HasState(csLoading)) return;
  if (v && OnDropDown) OnDropDown(this);
  else if (!v && OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::UserSelect(int32_t index) {
  if (index < 0 || index >= items_->Count()) return;
  auto alive = LivenessToken();
  itemIndex_ = index;
  TControl::SetText(Cased(items_->Get(index)));
  selStart_ = 0;
  selLength_ = int32_t(GetText().size());
  PeerChanged(TPeerChange::State);
  Click();
  if (alive.expired()) return;
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomComboBox::UserEdit(const std::string& text) {
  if (style_ == csDropDownList) return;
  std::string s = Cased(text);
  if (maxLength_ > 0 && int32_t(s.size()) > maxLength_) s.resize(size_t(maxLength_));
  if (s == GetText()) return;
  itemIndex_ = items_->IndexOf(s);
  TControl::SetText(s);
  selStart_ = int32_t(s.size());
  selLength_ = 0;
  Change();
}

void TCustomComboBox::Change() {
  if (OnChange && !HasState(csLoading)) OnChange(this);
}

}  // namespace fw
