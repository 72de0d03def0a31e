// Combo boxes: an edit field with a drop-down list of texts. Picking an item puts its text in the
// edit field; typing changes only the text. A drop-down-list combo box has no free text: its text
// is always the selected item's (or empty).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fw/control.h"
#include "platform/fw/edit.h"
#include "platform/fw/strings.h"

namespace fw {

FW_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)

class TCustomComboBox : public TWinControl {
  RT_CLASS(TCustomComboBox)
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items) { items_->Assign(items); }

  // The selected item, -1 for none. Setting it (from code) puts the item's text in the edit
  // field and fires no event; an index outside the list selects nothing.
  int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t index);

  // The edit field's text (the character case applied).
  std::string Text() const { return GetText(); }
  void SetText(const std::string& text) override;
  // The selection in the edit field, in bytes of the text.
  int32_t SelStart() const { return selStart_; }
  void SetSelStart(int32_t start);
  int32_t SelLength() const { return selLength_; }
  void SetSelLength(int32_t length);
  std::string SelText() const;
  void SetSelText(const std::string& text);
  void SelectAll();
  // Removes every item and the text.
  void Clear();

  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase c);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle s);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool v);
  int32_t DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int32_t v) { dropDownCount_ = v; }
  int32_t ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int32_t v) { itemHeight_ = v > 0 ? v : itemHeight_; }
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t v) { maxLength_ = v < 0 ? 0 : v; }

  // Opening the list fires OnDropDown, closing it OnCloseUp.
  bool DroppedDown() const { return droppedDown_; }
  void SetDroppedDown(bool v);

  // Input from the peer: the user picked an item from the list (its text goes to the edit field,
  // then OnClick, then OnSelect — or OnChange when OnSelect has no handler); the user edited the
  // text (OnChange).
  void UserSelect(int32_t index);
  void UserEdit(const std::string& text);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelect;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  virtual void Change();
  void Loaded() override;

 private:
  void ItemsChanged(TObject*);
  std::string Cased(const std::string& s) const;

  std::unique_ptr<TStringList> items_;
  int32_t itemIndex_ = -1;
  int32_t selStart_ = 0, selLength_ = 0;
  TEditCharCase charCase_ = ecNormal;
  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false, droppedDown_ = false;
  int32_t dropDownCount_ = 8, itemHeight_ = 16, maxLength_ = 0;
};

class TComboBox : public TCustomComboBox {
  RT_CLASS(TComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

}  // namespace fw
