// The families whose components hold a list of texts: list boxes, check list boxes, combo boxes
// and radio groups. Each shows the component's list as one strings object the wrapper owns and
// points at the list at every read; once the component is gone the object holds no list.
#pragma once

#include "platform/fw/combo_box.h"
#include "platform/fw/group_box.h"
#include "platform/fw/list_box.h"
#include "script/gui/control_wrapper.h"

namespace gui {

inline constexpr char konDropDown[] = "onDropDown";
inline constexpr char konClickCheck[] = "onClickCheck";

// The items field the three list families share.
class TJVCLItems {
 public:
  void Create(engine::TJBaseEngine* engine);
  // Points the object at `list` (none detaches it) and answers it.
  engine::TJObject* Point(fw::TStrings* list) const;
  void Detach() const { Point(nullptr); }
  void Drop();

 private:
  engine::TJRef<engine::TJObject> object_;
};

class TJVCLBaseListBox : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseListBox)
 public:
  TJVCLBaseListBox(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseListBox() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomListBox* ListBox() const { return static_cast<fw::TCustomListBox*>(VCL()); }

  void CreateObjects() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void RegistMethods() override;
  void HookEvents() override;

  // Published.
  int32_t GetItemIndex() const;
  void SetItemIndex(int32_t index);
  engine::TJObject* GetItems() const;
  int32_t GetSelCount() const;
  int32_t GetTopIndex() const;
  void SetTopIndex(int32_t index);

  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoClearSelection(engine::TJValueList* args, engine::TJValue& result);
  void DoDeleteSelected(engine::TJValueList* args, engine::TJValue& result);
  void DoItemAtPos(engine::TJValueList* args, engine::TJValue& result);
  void DoItemRect(engine::TJValueList* args, engine::TJValue& result);
  void DoSelectAll(engine::TJValueList* args, engine::TJValue& result);
  void DoSelected(engine::TJValueList* args, engine::TJValue& result);

 protected:
  void Check() const { const_cast<TJVCLBaseListBox*>(this)->CheckVCL(nullptr, 0); }
  // Runs CheckVCL with `count` required arguments and answers the index of the first one, or -1
  // when it names no item.
  int32_t ItemArg(engine::TJValueList* args, int32_t count);

 private:
  TJVCLItems items_;
};

class TJVCLBaseCheckListBox : public TJVCLBaseListBox {
  RT_CLASS(TJVCLBaseCheckListBox)
 public:
  TJVCLBaseCheckListBox(engine::TJBaseEngine* engine, engine::TJValueList* param);

  const rt::ClassInfo& VCLClass() const override;
  fw::TCheckListBox* CheckList() const { return static_cast<fw::TCheckListBox*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;

  void DoChecked(engine::TJValueList* args, engine::TJValue& result);
  void DoItemEnabled(engine::TJValueList* args, engine::TJValue& result);
  void DoState(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBaseComboBox : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseComboBox)
 public:
  TJVCLBaseComboBox(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseComboBox() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomComboBox* ComboBox() const { return static_cast<fw::TCustomComboBox*>(VCL()); }

  void CreateObjects() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void RegistMethods() override;
  void HookEvents() override;

  // Published. Selection positions and lengths count characters of the text.
  std::string GetCharCase() const;
  void SetCharCase(std::string name);
  bool GetDroppedDown() const;
  void SetDroppedDown(bool value);
  int32_t GetItemIndex() const;
  void SetItemIndex(int32_t index);
  engine::TJObject* GetItems() const;
  int32_t GetSelLength() const;
  void SetSelLength(int32_t length);
  int32_t GetSelStart() const;
  void SetSelStart(int32_t start);
  std::string GetSelText() const;
  void SetSelText(std::string text);

  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoSelectAll(engine::TJValueList* args, engine::TJValue& result);

 protected:
  void Check() const { const_cast<TJVCLBaseComboBox*>(this)->CheckVCL(nullptr, 0); }

 private:
  TJVCLItems items_;
};

class TJVCLBaseRadioGroup : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseRadioGroup)
 public:
  TJVCLBaseRadioGroup(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseRadioGroup() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomRadioGroup* RadioGroup() const { return static_cast<fw::TCustomRadioGroup*>(VCL()); }

  void CreateObjects() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void HookEvents() override;

  engine::TJObject* GetItems() const;

 private:
  TJVCLItems items_;
};

BR_GUI_CREATING_CLASS(TJVCLListBox, TJVCLBaseListBox, fw::TListBox)
BR_GUI_CREATING_CLASS(TJVCLCheckListBox, TJVCLBaseCheckListBox, fw::TCheckListBox)
BR_GUI_CREATING_CLASS(TJVCLComboBox, TJVCLBaseComboBox, fw::TComboBox)
BR_GUI_CREATING_CLASS(TJVCLRadioGroup, TJVCLBaseRadioGroup, fw::TRadioGroup)

}  // namespace gui
