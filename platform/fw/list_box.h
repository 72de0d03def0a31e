// List boxes: a column of text items the user picks from, one at a time or several (MultiSelect),
// optionally kept sorted; the check list box adds a check mark (or a grey mark) and an enabled
// flag to every item. Everything an item carries (text, object, selection, mark, enabled flag)
// travels with it when items are inserted, deleted, moved or sorted.
//
// Without a peer the list lays its rows out itself: row i (counted from TopIndex) occupies
// ItemHeight pixels from the top of the client area, across its whole width. The peer draws rows
// of the same height, so what ItemAtPos and ItemRect answer is what the user sees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/check_box.h"
#include "platform/fw/control.h"
#include "platform/fw/form.h"
#include "platform/fw/strings.h"

namespace fw {

FW_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw)

class TCustomListBox;

// The items of a list box, as the TStrings every line list shares.
class TListBoxStrings : public TStrings {
  RT_CLASS(TListBoxStrings)
 public:
  explicit TListBoxStrings(TCustomListBox& listBox) : listBox_(listBox) {}

  int Count() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // In a sorted list box the item goes to its place in the order; otherwise to the end.
  int Add(const std::string& s) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

  TCustomListBox& ListBox() const { return listBox_; }

 protected:
  void SetUpdateState(bool updating) override;

 private:
  TCustomListBox& listBox_;
};

class TCustomListBox : public TWinControl {
  RT_CLASS(TCustomListBox)
 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const { return items_; }
  void SetItems(TStrings* items) { items_->Assign(items); }
  int Count() const { return int(rows_.size()); }

  // Single selection: the selected item, -1 for none; setting an index outside the list selects
  // nothing. MultiSelect: the item with the focus rectangle (setting it moves only the focus).
  // Setting it fires no event.
  int32_t ItemIndex() const;
  void SetItemIndex(int32_t index);
  // Raise EListError "List index out of bounds (n)" for an index outside the list.
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  // The number of selected items; -1 in a single-selection list.
  int32_t SelCount() const;
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  void Clear() { items_->Clear(); }

  // The first row shown. Setting it keeps it between 0 and the last index that still fills the
  // client area.
  int32_t TopIndex() const { return topIndex_; }
  void SetTopIndex(int32_t index);
  // The item at a client point, -1 outside the client area. A point below the last item answers
  // -1 when `existing`, else the item count.
  int32_t ItemAtPos(TPoint pos, bool existing) const;
  // The row of an item in client coordinates (the row after the last one for index = Count, an
  // empty rectangle past that).
  TRect ItemRect(int32_t index) const;

  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value) { extendedSelect_ = value; }
  bool Sorted() const { return sorted_; }
  // Turning sorting on puts the items in order at once (case-insensitive byte order).
  void SetSorted(bool value);
  int32_t ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int32_t value);
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle style) { style_ = style; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t value) { columns_ = value; }
  bool IntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value) { integralHeight_ = value; }
  int32_t TabWidth() const { return tabWidth_; }
  void SetTabWidth(int32_t value) { tabWidth_ = value; }
  int32_t ScrollWidth() const { return scrollWidth_; }
  void SetScrollWidth(int32_t value) { scrollWidth_ = value; }
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }

  // Input from the peer: the user clicked (or moved the keyboard focus to) an item. `extend`
  // (Shift) selects the range from the anchor, `toggle` (Ctrl) flips one item of a multi-select
  // list. Fires OnClick when the selection changed.
  void UserSelect(int32_t index, bool extend = false, bool toggle = false);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TLBGetDataEvent OnData;
  TLBFindDataEvent OnDataFind;
  TLBGetDataObjectEvent OnDataObject;

  // One item and what it carries.
  struct Row {
    std::string text;
    TObject* object = nullptr;
    bool selected = false;
    TCheckBoxState state = cbUnchecked;
    bool enabled = true;
  };
  const std::vector<Row>& Rows() const { return rows_; }

 protected:
  friend class TListBoxStrings;
  // Raises EListError for an index outside the list.
  void CheckIndex(int index) const;
  Row& RowAt(int index) { return rows_[size_t(index)]; }
  const Row& RowAt(int index) const { return rows_[size_t(index)]; }
  void InsertRow(int index, Row row);
  void DeleteRow(int index);
  void MoveRow(int from, int to);
  // The items changed: the peer shows them again (not while an update bracket is open).
  void ItemsChanged();
  void SelectionChanged() { PeerChanged(TPeerChange::State); }
  int SortedPlace(const std::string& s) const;
  int VisibleRows() const;

 private:
  TListBoxStrings* items_;
  std::vector<Row> rows_;
  int32_t itemIndex_ = -1;  // the selected item (single) or the focused one (multi)
  int32_t anchor_ = -1;     // where a Shift range starts
  int32_t topIndex_ = 0;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool sorted_ = false;
  int32_t itemHeight_ = 13;
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  int32_t columns_ = 0;
  bool integralHeight_ = false;
  int32_t tabWidth_ = 0;
  int32_t scrollWidth_ = 0;
  bool autoComplete_ = true;
  bool updating_ = false;
};

class TListBox : public TCustomListBox {
  RT_CLASS(TListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

class TCheckListBox : public TListBox {
  RT_CLASS(TCheckListBox)
 public:
  explicit TCheckListBox(TComponent* owner);

  // An item's mark: Checked answers whether it is cbChecked (a grey mark is not). Raise EListError
  // for an index outside the list. Setting them from code fires no event.
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  TCheckBoxState State(int index) const;
  void SetState(int index, TCheckBoxState state);
  // A disabled item cannot be checked by the user (code still can).
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);

  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  bool Flat() const { return flat_; }
  void SetFlat(bool value);

  // Input from the peer: the user clicked an item's box or pressed Space on it. An enabled item
  // steps unchecked → grey (when AllowGrayed) → checked → unchecked, and OnClickCheck fires.
  void UserToggle(int32_t index);
  // The width of the box column at the left of every row.
  static constexpr int32_t CheckWidth = 16;

  TNotifyEvent OnClickCheck;

 private:
  bool allowGrayed_ = false;
  bool flat_ = true;
};

}  // namespace fw
