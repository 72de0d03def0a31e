// The script class "CheckListBox": a list of items with a check mark each, shown to the user as
// the check-list dialog. Each mark belongs to its item: inserting, deleting or sorting items
// moves the marks with them.
#pragma once

#include <cstdint>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/strings_object.h"

namespace host {

class TJCheckListBox : public engine::TJObject {
  RT_CLASS(TJCheckListBox)
 public:
  TJCheckListBox(engine::TJBaseEngine* engine, engine::TJValueList* param);

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  // Published properties.
  TJStringsObject* Items() const { return items_.get(); }
  int32_t Index() const { return index_; }
  int32_t Count() const;

  // The marks, one per item in item order.
  std::vector<bool> Marks() const;

  void DoGetChecked(engine::TJValueList* args, engine::TJValue& result);
  void DoSetChecked(engine::TJValueList* args, engine::TJValue& result);
  void DoExecute(engine::TJValueList* args, engine::TJValue& result);

 private:
  fw::TStringList* list() const { return items_ ? items_->List() : nullptr; }
  engine::TJRef<TJStringsObject> items_;
  int32_t index_ = -1;
};

}  // namespace host
