#include "platform/fw/list_box.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/rt/utf8.h"

namespace fw {

namespace {

// The order of a sorted list box: bytes, ignoring ASCII case.
int CompareItems(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

// ---- TListBoxStrings ----

const rt::ClassInfo& TListBoxStrings::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TListBoxStrings>("TListBoxStrings", &TStrings::StaticClassInfo()).build();
  return info;
}

int TListBoxStrings::Count() const { return listBox_.Count(); }

std::string TListBoxStrings::Get(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return listBox_.RowAt(index).text;
}

void TListBoxStrings::Put(int index, const std::string& s) {
  if (index < 0 || index >= Count()) IndexError(index);
  // The item is replaced in place (a sorted list does not move it), keeping its object and marks.
  listBox_.RowAt(index).text = s;
  listBox_.ItemsChanged();
}

TObject* TListBoxStrings::GetObject(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return listBox_.RowAt(index).object;
}

void TListBoxStrings::PutObject(int index, TObject* object) {
  if (index < 0 || index >= Count()) IndexError(index);
  listBox_.RowAt(index).object = object;
}

void TListBoxStrings::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) IndexError(index);
  TCustomListBox::Row row;
  row.text = s;
  listBox_.InsertRow(index, std::move(row));
}

void TListBoxStrings::Delete(int index) {
  if (index < 0 || index >= Count()) IndexError(index);
  listBox_.DeleteRow(index);
}

void TListBoxStrings::Clear() {
  if (Count() == 0) return;
  listBox_.rows_.clear();
  listBox_.itemIndex_ = -1;
  listBox_.anchor_ = -1;
  listBox_.topIndex_ = 0;
  listBox_.ItemsChanged();
}

int TListBoxStrings::Add(const std::string& s) {
  const int index = listBox_.Sorted() ? listBox_.SortedPlace(s) : Count();
  Insert(index, s);
  return index;
}

void TListBoxStrings::Exchange(int index1, int index2) {
  if (index1 < 0 || index1 >= Count()) IndexError(index1);
  if (index2 < 0 || index2 >= Count()) IndexError(index2);
  if (index1 == index2) return;
  // Everything the two items carry changes places with them; the selection follows its item.
  std::swap(listBox_.RowAt(index1), listBox_.RowAt(index2));
  for (int32_t* i : {&listBox_.itemIndex_, &listBox_.anchor_}) {
    if (*i == index1) *i = index2;
    else if (*i == index2) *i = index1;
  }
  listBox_.ItemsChanged();
}

void TListBoxStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (curIndex < 0 || curIndex >= Count()) IndexError(curIndex);
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  listBox_.MoveRow(curIndex, newIndex);
}

void TListBoxStrings::SetUpdateState(bool updating) {
  listBox_.updating_ = updating;
  if (!updating) listBox_.ItemsChanged();
}

// ---- TCustomListBox ----

const rt::ClassInfo& TCustomListBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCustomListBox>("TCustomListBox", &TWinControl::StaticClassInfo())
          .property("AutoComplete", &TCustomListBox::AutoComplete, &TCustomListBox::SetAutoComplete)
          .defaultValue(true)
          .property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
          .defaultValue(int(TBorderStyle::bsSingle))
          .property("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns).defaultValue(0)
          .property("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect)
          .defaultValue(true)
          .property("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
          .defaultValue(false)
          .property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).defaultValue(13)
          .property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
          .property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect)
          .defaultValue(false)
          .property("ScrollWidth", &TCustomListBox::ScrollWidth, &TCustomListBox::SetScrollWidth).defaultValue(0)
          .property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).defaultValue(false)
          .property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).defaultValue(lbStandard)
          .property("TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth).defaultValue(0)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(true)
          .event("OnData", LBGetDataEventType(), &TCustomListBox::OnData)
          .event("OnDataFind", LBFindDataEventType(), &TCustomListBox::OnDataFind)
          .event("OnDataObject", LBGetDataObjectEventType(), &TCustomListBox::OnDataObject)
          .event("OnDrawItem", DrawItemEventType(), &TCustomListBox::OnDrawItem)
          .event("OnMeasureItem", MeasureItemEventType(), &TCustomListBox::OnMeasureItem)
          .build();
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(new TListBoxStrings(*this)) {
  // Clicks come from the selection, not from any press and release.
  clickOnMouseUp_ = false;
  tabStop_ = true;
  SetColor(clWindow);
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() {
  DestroyPeer();
  delete items_;
}

void TCustomListBox::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
}

void TCustomListBox::InsertRow(int index, Row row) {
  rows_.insert(rows_.begin() + index, std::move(row));
  if (itemIndex_ >= index) ++itemIndex_;
  if (anchor_ >= index) ++anchor_;
  if (multiSelect_ && itemIndex_ < 0) itemIndex_ = 0;
  ItemsChanged();
}

void TCustomListBox::DeleteRow(int index) {
  rows_.erase(rows_.begin() + index);
  auto follow = [&](int32_t& i) {
    if (i == index) i = -1;
    else if (i > index) --i;
  };
  if (multiSelect_) {
    // The focus stays on a row while there is one.
    if (itemIndex_ > index || (itemIndex_ == index && itemIndex_ >= Count())) --itemIndex_;
  } else {
    follow(itemIndex_);
  }
  follow(anchor_);
  topIndex_ = std::clamp(topIndex_, 0, std::max(0, Count() - 1));
  ItemsChanged();
}

void TCustomListBox::MoveRow(int from, int to) {
  Row row = std::move(rows_[size_t(from)]);
  rows_.erase(rows_.begin() + from);
  rows_.insert(rows_.begin() + to, std::move(row));
  auto follow = [&](int32_t& i) {
    if (i == from) i = to;
    else if (from < i && i <= to) --i;
    else if (to <= i && i < from) ++i;
  };
  follow(itemIndex_);
  follow(anchor_);
  ItemsChanged();
}

void TCustomListBox::ItemsChanged() {
  if (!updating_) PeerChanged(TPeerChange::Content);
}

int TCustomListBox::SortedPlace(const std::string& s) const {
  // After the equal items, as a sorted list adds.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (CompareItems(rows_[size_t(mid)].text, s) <= 0) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

int32_t TCustomListBox::ItemIndex() const { return itemIndex_; }

void TCustomListBox::SetItemIndex(int32_t index) {
  if (multiSelect_) {
    if (index < 0 || index >= Count()) return;
  } else if (index < 0 || index >= Count()) {
    index = -1;
  }
  if (index == itemIndex_) return;
  itemIndex_ = index;
  anchor_ = index;
  SelectionChanged();
}

bool TCustomListBox::Selected(int index) const {
  CheckIndex(index);
  return multiSelect_ ? RowAt(index).selected : index == itemIndex_;
}

void TCustomListBox::SetSelected(int index, bool selected) {
  CheckIndex(index);
  if (multiSelect_) {
    if (RowAt(index).selected == selected) return;
    RowAt(index).selected = selected;
    SelectionChanged();
  } else if (selected) {
    SetItemIndex(index);
  } else {
    SetItemIndex(-1);
  }
}

int32_t TCustomListBox::SelCount() const {
  if (!multiSelect_) return -1;
  return int32_t(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.selected; }));
}

void TCustomListBox::ClearSelection() {
  if (!multiSelect_) {
    SetItemIndex(-1);
    return;
  }
  for (Row& r : rows_) r.selected = false;
  SelectionChanged();
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (Row& r : rows_) r.selected = true;
  SelectionChanged();
}

void TCustomListBox::DeleteSelected() {
  if (multiSelect_) {
    items_->BeginUpdate();
    try {
      for (int i = Count() - 1; i >= 0; --i)
        if (RowAt(i).selected) items_->Delete(i);
    } catch (...) {
      items_->EndUpdate();
      throw;
    }
    items_->EndUpdate();
  } else if (itemIndex_ >= 0) {
    items_->Delete(itemIndex_);
  }
}

int TCustomListBox::VisibleRows() const { return itemHeight_ > 0 ? ClientHeight() / itemHeight_ : 0; }

void TCustomListBox::SetTopIndex(int32_t index) {
  const int32_t last = std::max(0, Count() - std::max(1, VisibleRows()));
  index = std::clamp(index, 0, last);
  if (index == topIndex_) return;
  topIndex_ = index;
  SelectionChanged();
}

int32_t TCustomListBox::ItemAtPos(TPoint pos, bool existing) const {
  if (!ClientRect().Contains(pos)) return -1;
  if (itemHeight_ > 0) {
    const int32_t index = topIndex_ + pos.Y / itemHeight_;
    if (index < Count()) return index;
  }
  return existing ? -1 : Count();
}

TRect TCustomListBox::ItemRect(int32_t index) const {
  if (index < 0 || (index > Count() && index != 0)) return {};
  const int32_t top = (index - topIndex_) * itemHeight_;
  return {0, top, ClientWidth(), top + itemHeight_};
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  // The list is made anew: a single selection carries over as the one selected item, and the
  // focused item of a multi-select list as the single selection when it was selected.
  if (value) {
    for (Row& r : rows_) r.selected = false;
    if (itemIndex_ >= 0) RowAt(itemIndex_).selected = true;
    else if (Count() > 0) itemIndex_ = 0;
  } else {
    if (itemIndex_ >= 0 && !RowAt(itemIndex_).selected) itemIndex_ = -1;
    for (Row& r : rows_) r.selected = false;
  }
  SelectionChanged();
}

void TCustomListBox::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  if (!value || Count() < 2) return;
  // The rows keep what they carry; the selection and the anchor follow their rows.
  std::vector<int> order(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return CompareItems(rows_[size_t(a)].text, rows_[size_t(b)].text) < 0; });
  std::vector<Row> sortedRows;
  sortedRows.reserve(rows_.size());
  int32_t newIndex = -1, newAnchor = -1;
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == itemIndex_) newIndex = int32_t(i);
    if (order[i] == anchor_) newAnchor = int32_t(i);
    sortedRows.push_back(std::move(rows_[size_t(order[i])]));
  }
  rows_ = std::move(sortedRows);
  itemIndex_ = newIndex;
  anchor_ = newAnchor;
  ItemsChanged();
}

void TCustomListBox::SetItemHeight(int32_t value) {
  if (value <= 0 || value == itemHeight_) return;
  itemHeight_ = value;
  ItemsChanged();
}

void TCustomListBox::SetBorderStyle(TBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  PeerChanged(TPeerChange::Bounds);
}

void TCustomListBox::UserSelect(int32_t index, bool extend, bool toggle) {
  if (index < 0 || index >= Count()) return;
  if (!multiSelect_) {
    itemIndex_ = index;
    anchor_ = index;
  } else if (!extendedSelect_ || toggle) {
    // A plain multi-select list flips the clicked item; Ctrl does the same in an extended one.
    RowAt(index).selected = !RowAt(index).selected;
    itemIndex_ = index;
    anchor_ = index;
  } else if (extend && anchor_ >= 0) {
    const int lo = std::min(anchor_, index), hi = std::max(anchor_, index);
    for (int i = 0; i < Count(); ++i) RowAt(i).selected = i >= lo && i <= hi;
    itemIndex_ = index;
  } else {
    for (int i = 0; i < Count(); ++i) RowAt(i).selected = i == index;
    itemIndex_ = index;
    anchor_ = index;
  }
  SelectionChanged();
  Click();
}

// ---- TListBox ----

const rt::ClassInfo& TListBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TListBox>("TListBox", &TCustomListBox::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TListBox(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

// ---- TCheckListBox ----

const rt::ClassInfo& TCheckListBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCheckListBox>("TCheckListBox", &TListBox::StaticClassInfo())
          .property("AllowGrayed", &TCheckListBox::AllowGrayed, &TCheckListBox::SetAllowGrayed)
          .defaultValue(false)
          .property("Flat", &TCheckListBox::Flat, &TCheckListBox::SetFlat)
          .defaultValue(true)
          .event("OnClickCheck", NotifyEventType(), &TCheckListBox::OnClickCheck)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TCheckListBox(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {}

bool TCheckListBox::Checked(int index) const {
  CheckIndex(index);
  return RowAt(index).state == cbChecked;
}

void TCheckListBox::SetChecked(int index, bool checked) { SetState(index, checked ? cbChecked : cbUnchecked); }

TCheckBoxState TCheckListBox::State(int index) const {
  CheckIndex(index);
  return RowAt(index).state;
}

void TCheckListBox::SetState(int index, TCheckBoxState state) {
  CheckIndex(index);
  if (RowAt(index).state == state) return;
  RowAt(index).state = state;
  ItemsChanged();
}

bool TCheckListBox::ItemEnabled(int index) const {
  CheckIndex(index);
  return RowAt(index).enabled;
}

void TCheckListBox::SetItemEnabled(int index, bool enabled) {
  CheckIndex(index);
  if (RowAt(index).enabled == enabled) return;
  RowAt(index).enabled = enabled;
  ItemsChanged();
}

void TCheckListBox::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  ItemsChanged();
}

void TCheckListBox::UserToggle(int32_t index) {
  if (index < 0 || index >= Count() || !RowAt(index).enabled) return;
  TCheckBoxState& state = RowAt(index).state;
  switch (state) {
    case cbUnchecked: state = allowGrayed_ ? cbGrayed : cbChecked; break;
    case cbChecked: state = cbUnchecked; break;
    case cbGrayed: state = cbChecked; break;
  }
  ItemsChanged();
  if (OnClickCheck) OnClickCheck(this);
}

}  // namespace fw
