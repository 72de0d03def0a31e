// List views seen from scripts: the view, its item collection, its items and its columns.
//
// Items are no components, so the bridge keeps an item's wrapper in the item's own bridge slot
// (which the framework never copies and never streams). The view's wrapper binds an item when it
// is inserted, or on the first access for an item that was there before (read from a form
// description, say), and counts one reference on that wrapper until the item is deleted. An
// owner-data list keeps no items: every access makes a transient wrapper of an item made for the
// occasion, which goes as soon as nothing holds it. Transient and column wrappers watch their
// object's liveness and say "VCL is null" once it is gone.
#pragma once

#include "platform/fw/list_view.h"
#include "script/core/notify.h"
#include "script/gui/compare_box.h"
#include "script/gui/control_wrapper.h"
#include "script/host/strings_object.h"

namespace gui {

class TJVCLBaseListView;

class TJVCLBaseListItems : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseListItems)
 public:
  TJVCLBaseListItems(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsIndexedClass() { return true; }

  const rt::ClassInfo& VCLClass() const override;
  fw::TListItems* Items() const { return static_cast<fw::TListItems*>(VCL()); }
  TJVCLBaseListView* OwnerView() const;
  void SetOwnerView(TJVCLBaseListView* view);

  void RegistMethods() override;
  void CheckVCL(engine::TJValueList* args, int32_t count) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;

  // Published.
  int32_t GetCountProp() const;
  void SetCountProp(int32_t count);
  int32_t GetHandle() const;
  engine::TJVCLPersistent* GetOwnerProp() const;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoInsert(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoBeginUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoEndUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);

  // Item access: a read without `value`, a write with it.
  void ItemAccess(int32_t index, const engine::TJValue* value, engine::TJValue& result);

 private:
  void Check() const { const_cast<TJVCLBaseListItems*>(this)->CheckVCL(nullptr, 0); }
  // The result of "add" and "insert": the new item's wrapper, or null when it is gone already.
  void SetAdded(fw::TListItem* item, engine::TJValue& result);
  template <class F>
  void Guard(F&& f);
  engine::TJWeakRef<TJVCLBaseListView> owner_;
};

class TJVCLBaseListItem : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseListItem)
 public:
  TJVCLBaseListItem(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseListItem() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TListItem* Item() const { return static_cast<fw::TListItem*>(VCL()); }
  TJVCLBaseListView* ListViewWrapper() const;
  void SetListViewWrapper(TJVCLBaseListView* view);

  void RegistMethods() override;
  void CreateObjects() override;
  bool AttachVCL(rt::TPersistent* object, bool owned) override;
  void ReleaseVCL() override;
  void CheckVCL(engine::TJValueList* args, int32_t count) override;
  void Dispose() override;

  // Published.
  std::string GetCaption() const;
  void SetCaption(std::string s);
  bool GetChecked() const;
  void SetChecked(bool v);
  bool GetCut() const;
  void SetCut(bool v);
  bool GetDropTarget() const;
  void SetDropTarget(bool v);
  bool GetFocused() const;
  void SetFocused(bool v);
  bool GetSelected() const;
  void SetSelected(bool v);
  int32_t GetImageIndex() const;
  void SetImageIndex(int32_t v);
  int32_t GetOverlayIndex() const;
  void SetOverlayIndex(int32_t v);
  int32_t GetStateIndex() const;
  void SetStateIndex(int32_t v);
  int32_t GetIndent() const;
  void SetIndent(int32_t v);
  int32_t GetLeft() const;
  void SetLeft(int32_t v);
  int32_t GetTop() const;
  void SetTop(int32_t v);
  int32_t GetIndex() const;
  int32_t GetHandle() const;
  engine::TJObject* GetPosition() const;
  void SetPosition(engine::TJObject* p);
  engine::TJObject* GetSubItems() const;
  engine::TJObject* GetData() const;
  void SetData(engine::TJObject* data);
  engine::TJVCLPersistent* GetOwnerProp() const;
  engine::TJVCLPersistent* GetListView() const;

  void DoCancelEdit(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoDisplayRect(engine::TJValueList* args, engine::TJValue& result);
  void DoEditCaption(engine::TJValueList* args, engine::TJValue& result);
  void DoMakeVisible(engine::TJValueList* args, engine::TJValue& result);
  void DoUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoWorkArea(engine::TJValueList* args, engine::TJValue& result);
  void DoSubItemImages(engine::TJValueList* args, engine::TJValue& result);

  // The view lets the item go: unbound, no view, no data.
  void Detach();
  // Marks the wrapper as the one the item keeps (bound once, released by the item).
  void SetStored() { stored_ = true; }
  // Brings the sub-items object into the cache before a sort reads it.
  void WarmSubItems() const;

 private:
  void Check() const { const_cast<TJVCLBaseListItem*>(this)->CheckVCL(nullptr, 0); }
  template <class F>
  void Guard(F&& f);
  // Points the sub-items object at the item's list (or at none).
  void pointSubItems(fw::TStrings* list);
  void pointSubItems() {
    fw::TListItem* item = Item();
    pointSubItems(item ? item->SubItems() : nullptr);
  }

  engine::TJRef<engine::TJObject> data_;
  engine::TJWeakRef<TJVCLBaseListView> listView_;
  engine::TJRef<host::TJBaseStringsObject> subItems_;
  fw::TStrings* subItemsList_ = nullptr;  // the list subItems_ was last pointed at
  bool stored_ = false;
};

class TJVCLBaseListColumns : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseListColumns)
 public:
  TJVCLBaseListColumns(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsIndexedClass() { return true; }

  const rt::ClassInfo& VCLClass() const override;
  fw::TListColumns* Columns() const { return static_cast<fw::TListColumns*>(VCL()); }
  void RegistMethods() override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;

  int32_t GetCountProp() const;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoItems(engine::TJValueList* args, engine::TJValue& result);

  // The generic wrapper of a column, which says "VCL is null" once the column is gone.
  engine::TJObject* WrapColumn(fw::TListColumn* column);
};

class TJVCLBaseListView : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseListView)
 public:
  TJVCLBaseListView(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseListView() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomListView* ListView() const { return static_cast<fw::TCustomListView*>(VCL()); }

  void CreateObjects() override;
  bool AttachVCL(rt::TPersistent* object, bool owned) override;
  void ReleaseVCL() override;
  void Dispose() override;
  void RegistMethods() override;
  void HookEvents() override;

  // The wrapper of an item of this view: its stored wrapper, bound on first access when the list
  // keeps items, else a transient one. Null for no item.
  engine::TJObject* WrapListItem(fw::TListItem* item);
  // The wrapper of the item at `index` (owner data: a new item filled by OnData, owned by its
  // wrapper).
  engine::TJObject* WrapIndex(int32_t index);
  // Binds an item that has no wrapper yet (not in owner data).
  void BindItem(fw::TListItem* item);
  // Lets the item's stored wrapper go.
  void ReleaseItem(fw::TListItem* item);
  // The result box of the next script comparison, holding `value`.
  engine::TJObject* CompareBox(int32_t value) { return compareBox_.Box(Engine(), value); }

  // Published.
  engine::TJObject* GetItems() const;
  engine::TJObject* GetColumn() const;
  engine::TJObject* GetDropTarget() const;
  void SetDropTarget(engine::TJObject* item);
  engine::TJObject* GetItemFocused() const;
  void SetItemFocused(engine::TJObject* item);
  engine::TJObject* GetSelected() const;
  void SetSelected(engine::TJObject* item);
  engine::TJObject* GetTopItem() const;
  int32_t GetItemIndex() const;
  void SetItemIndex(int32_t index);
  int32_t GetSelCount() const;
  int32_t GetVisibleRowCount() const;
  engine::TJObject* GetViewOrigin() const;
  engine::TJObject* GetBoundingRect() const;

  void DoAlphaSort(engine::TJValueList* args, engine::TJValue& result);
  void DoArrange(engine::TJValueList* args, engine::TJValue& result);
  void DoFindCaption(engine::TJValueList* args, engine::TJValue& result);
  void DoFindData(engine::TJValueList* args, engine::TJValue& result);
  void DoGetHitTestInfoAt(engine::TJValueList* args, engine::TJValue& result);
  void DoGetItemAt(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNearestItem(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNextItem(engine::TJValueList* args, engine::TJValue& result);
  void DoGetSearchString(engine::TJValueList* args, engine::TJValue& result);
  void DoIsEditing(engine::TJValueList* args, engine::TJValue& result);
  void DoScroll(engine::TJValueList* args, engine::TJValue& result);
  void DoStringWidth(engine::TJValueList* args, engine::TJValue& result);
  void DoUpdateItems(engine::TJValueList* args, engine::TJValue& result);

 private:
  void Check() const { const_cast<TJVCLBaseListView*>(this)->CheckVCL(nullptr, 0); }
  engine::TJObject* wrapOrNull(fw::TListItem* item) const;
  // Item wrappers this view counts a reference on; released with the view.
  void releaseAllItems();

  engine::TJRef<TJVCLBaseListItems> items_;
  engine::TJRef<TJVCLBaseListColumns> column_;
  TCompareBoxSlot compareBox_;
};

// Accepts null (no item) and item wrappers; false for anything else.
bool ValueToListItem(const engine::TJValue& value, fw::TListItem*& item);

BR_GUI_CREATING_CLASS(TJVCLListView, TJVCLBaseListView, fw::TListView)

}  // namespace gui
