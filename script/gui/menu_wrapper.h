// Menus seen from scripts: the menu items (a tree; a menu item wrapper iterates over its
// children), the menu common to main and popup menus (its root item as `items`, finding items by
// command, handle or short cut), the main menu (merging) and the popup menu ("popup").
//
// Every item a script reaches (through "items", "find", `Parent`, the change event) is the
// item's one wrapper, so that handlers set on it are the ones its clicks reach. An item a script
// made (`new VCLMenuItem()`) and put into another item stays alive with its handlers while it is
// there, however the script holds it.
#pragma once

#include <vector>

#include "platform/fw/menus.h"
#include "script/gui/component_wrapper.h"

namespace gui {

class TJVCLBaseMenuItem : public TJVCLComponent {
  RT_CLASS(TJVCLBaseMenuItem)
 public:
  TJVCLBaseMenuItem(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TMenuItem* Item() const { return static_cast<fw::TMenuItem*>(VCL()); }

  void RegistMethods() override;
  // OnClick only while the item has no action.
  void HookEvents() override;
  void ReleaseVCL() override;
  void Dispose() override;

  // Array-like: the children.
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;

  // Published.
  int32_t GetCommand() const;
  int32_t GetHandle() const;
  int32_t GetItemCount() const;
  int32_t GetMenuIndex() const;
  void SetMenuIndex(int32_t index);
  engine::TJVCLPersistent* GetParentItem() const;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoInsert(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoClick(engine::TJValueList* args, engine::TJValue& result);
  void DoFind(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoIsLine(engine::TJValueList* args, engine::TJValue& result);
  void DoGetParentMenu(engine::TJValueList* args, engine::TJValue& result);
  void DoNewTopLine(engine::TJValueList* args, engine::TJValue& result);
  void DoNewBottomLine(engine::TJValueList* args, engine::TJValue& result);
  void DoInsertNewLineBefore(engine::TJValueList* args, engine::TJValue& result);
  void DoInsertNewLineAfter(engine::TJValueList* args, engine::TJValue& result);
  void DoRemove(engine::TJValueList* args, engine::TJValue& result);
  void DoRethinkHotkeys(engine::TJValueList* args, engine::TJValue& result);
  void DoRethinkLines(engine::TJValueList* args, engine::TJValue& result);
  void DoItems(engine::TJValueList* args, engine::TJValue& result);
  void DoInitiateAction(engine::TJValueList* args, engine::TJValue& result);

  // The item of a bound menu item wrapper held by `value`; null for anything else.
  static fw::TMenuItem* ItemOf(const engine::TJValue& value);

 private:
  // The wrapper of a framework object, as a script value (null for none).
  void SetWrapped(engine::TJValue& result, rt::TPersistent* object);
  // Keeps the wrappers of script-made items that sit among this item's children, and lets go of
  // those that left.
  void KeepChildren();

  std::vector<engine::TJRef<engine::TJObject>> kept_;
};

class TJVCLBaseMenu : public TJVCLComponent {
  RT_CLASS(TJVCLBaseMenu)
 public:
  TJVCLBaseMenu(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TMenu* Menu() const { return static_cast<fw::TMenu*>(VCL()); }

  void RegistMethods() override;
  // Unbinds the items wrapper too.
  void ReleaseVCL() override;
  void Dispose() override;

  // Published.
  int32_t GetHandle() const;
  int32_t GetWindowHandle() const;
  void SetWindowHandle(int32_t handle);
  engine::TJVCLPersistent* GetItems() const;

  void DoDispatchCommand(engine::TJValueList* args, engine::TJValue& result);
  void DoDispatchPopup(engine::TJValueList* args, engine::TJValue& result);
  void DoFindItem(engine::TJValueList* args, engine::TJValue& result);
  void DoGetHelpContext(engine::TJValueList* args, engine::TJValue& result);

  // OnChange: (sender, item, rebuild).
  static void HandleChange(void* self, fw::TObject* sender, fw::TMenuItem* source, bool rebuild);

 private:
  mutable engine::TJRef<engine::TJObject> items_;
};

class TJVCLBaseMainMenu : public TJVCLBaseMenu {
  RT_CLASS(TJVCLBaseMainMenu)
 public:
  TJVCLBaseMainMenu(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TMainMenu* MainMenu() const { return static_cast<fw::TMainMenu*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;

  void DoMerge(engine::TJValueList* args, engine::TJValue& result);
  void DoUnmerge(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBasePopupMenu : public TJVCLBaseMenu {
  RT_CLASS(TJVCLBasePopupMenu)
 public:
  TJVCLBasePopupMenu(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TPopupMenu* PopupMenu() const { return static_cast<fw::TPopupMenu*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;

  engine::TJVCLPersistent* GetPopupComponent() const;
  void SetPopupComponent(engine::TJVCLPersistent* component);

  void DoPopup(engine::TJValueList* args, engine::TJValue& result);
};

BR_GUI_CREATING_CLASS(TJVCLMenuItem, TJVCLBaseMenuItem, fw::TMenuItem)
BR_GUI_CREATING_CLASS(TJVCLMainMenu, TJVCLBaseMainMenu, fw::TMainMenu)
BR_GUI_CREATING_CLASS(TJVCLPopupMenu, TJVCLBasePopupMenu, fw::TPopupMenu)

}  // namespace gui
