// Group boxes (a frame with a caption around other controls) and radio groups (a group box
// showing one radio button per item of its list, exactly one of them checked when ItemIndex names
// an item).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/fw/control.h"
#include "platform/fw/strings.h"

namespace fw {

class TCustomGroupBox : public TWinControl {
  RT_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  // Below the caption, inside the frame.
  TRect AlignRect() const override;
};

class TGroupBox : public TCustomGroupBox {
  RT_CLASS(TGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomRadioGroup : public TCustomGroupBox {
  RT_CLASS(TCustomRadioGroup)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* items) { items_->Assign(items); }
  // The checked item, -1 for none. A change (from code or the user) fires OnClick; an index
  // outside the list checks nothing.
  int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int32_t index);
  int32_t Columns() const { return columns_; }
  // Between 1 and 16.
  void SetColumns(int32_t value);

  // The box of item `index`'s button in client coordinates (items fill the columns top to
  // bottom, a column at a time); an empty rectangle for an index outside the list.
  TRect ButtonRect(int32_t index) const;
  // The item whose button holds the client point, -1 for none.
  int32_t ItemAtPos(TPoint pos) const;
  // Input from the peer: the user clicked item `index`'s button.
  void UserClick(int32_t index);

 protected:
  void Loaded() override;

 private:
  void ItemsChanged(TObject*);

  std::unique_ptr<TStringList> items_;
  int32_t itemIndex_ = -1;
  int32_t columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
  RT_CLASS(TRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

}  // namespace fw
