// Tree views: the view, its node collection and its nodes. Nodes are no components, so a node's
// wrapper lives in the node's bridge link: made on the first access to the node (or when a
// collection method creates it), counted once by the view, and released when the node is
// deleted. Every access to the same node answers the same wrapper; a wrapper whose node is gone
// says "VCL is null" and its Data reads as null.
#pragma once

#include <string>

#include "platform/fw/tree_view.h"
#include "script/gui/compare_box.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseTreeView;

class TJVCLBaseTreeNodes : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseTreeNodes)
 public:
  TJVCLBaseTreeNodes(engine::TJBaseEngine* engine, engine::TJValueList* param);

  static bool IsIndexedClass() { return true; }
  const rt::ClassInfo& VCLClass() const override;
  fw::TTreeNodes* Nodes() const { return static_cast<fw::TTreeNodes*>(VCL()); }
  TJVCLBaseTreeView* View() const { return owner_; }
  void SetView(TJVCLBaseTreeView* view) { owner_ = view; }

  void RegistMethods() override;
  void ReleaseVCL() override;
  void CheckVCL(engine::TJValueList* args, int32_t count) override;
  void DoAssign(engine::TJValueList* args, engine::TJValue& result) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;

  // Published.
  int32_t GetCountProp() const;
  int32_t GetHandle() const;
  engine::TJObject* GetOwnerProp() const;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoAddFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoAddChild(engine::TJValueList* args, engine::TJValue& result);
  void DoAddChildFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoInsert(engine::TJValueList* args, engine::TJValue& result);
  void DoAddObject(engine::TJValueList* args, engine::TJValue& result);
  void DoAddObjectFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoAddChildObject(engine::TJValueList* args, engine::TJValue& result);
  void DoAddChildObjectFirst(engine::TJValueList* args, engine::TJValue& result);
  void DoInsertObject(engine::TJValueList* args, engine::TJValue& result);
  void DoBeginUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoEndUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoClear(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoGetFirstNode(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNode(engine::TJValueList* args, engine::TJValue& result);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);

 private:
  void Check() const { const_cast<TJVCLBaseTreeNodes*>(this)->CheckVCL(nullptr, 0); }
  // The add family: `withObject` reads a third argument as the new node's Data.
  void AddWith(engine::TJValueList* args, engine::TJValue& result, fw::TNodeAttachMode mode, bool withObject);

  TJVCLBaseTreeView* owner_ = nullptr;
};

class TJVCLBaseTreeNode : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseTreeNode)
 public:
  TJVCLBaseTreeNode(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseTreeNode() override;

  static bool IsIndexedClass() { return true; }
  const rt::ClassInfo& VCLClass() const override;
  fw::TTreeNode* Node() const { return static_cast<fw::TTreeNode*>(VCL()); }
  TJVCLBaseTreeView* View() const { return view_.get(); }
  void SetView(TJVCLBaseTreeView* view);

  void RegistMethods() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void CheckVCL(engine::TJValueList* args, int32_t count) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;

  // Published.
  std::string GetText() const;
  void SetText(std::string text);
  bool GetCut() const;
  void SetCut(bool v);
  bool GetDropTarget() const;
  void SetDropTarget(bool v);
  bool GetExpanded() const;
  void SetExpanded(bool v);
  bool GetFocused() const;
  void SetFocused(bool v);
  bool GetHasChildren() const;
  void SetHasChildren(bool v);
  bool GetSelected() const;
  void SetSelected(bool v);
  int32_t GetImageIndex() const;
  void SetImageIndex(int32_t v);
  int32_t GetOverlayIndex() const;
  void SetOverlayIndex(int32_t v);
  int32_t GetSelectedIndex() const;
  void SetSelectedIndex(int32_t v);
  int32_t GetStateIndex() const;
  void SetStateIndex(int32_t v);
  int32_t GetAbsoluteIndex() const;
  int32_t GetIndex() const;
  int32_t GetLevel() const;
  int32_t GetItemId() const;
  int32_t GetHandle() const;
  int32_t GetCountProp() const;
  bool GetDeleting() const;
  bool GetIsVisible() const;
  engine::TJObject* GetParentNode() const;
  engine::TJObject* GetOwnerProp() const;
  engine::TJObject* GetTreeView() const;
  engine::TJObject* GetData() const;
  void SetData(engine::TJObject* data);

  void DoAlphaSort(engine::TJValueList* args, engine::TJValue& result);
  void DoCollapse(engine::TJValueList* args, engine::TJValue& result);
  void DoExpand(engine::TJValueList* args, engine::TJValue& result);
  void DoDelete(engine::TJValueList* args, engine::TJValue& result);
  void DoDeleteChildren(engine::TJValueList* args, engine::TJValue& result);
  void DoDisplayRect(engine::TJValueList* args, engine::TJValue& result);
  void DoEditText(engine::TJValueList* args, engine::TJValue& result);
  void DoEndEdit(engine::TJValueList* args, engine::TJValue& result);
  void DoMakeVisible(engine::TJValueList* args, engine::TJValue& result);
  void DoGetFirstChild(engine::TJValueList* args, engine::TJValue& result);
  void DoGetLastChild(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNext(engine::TJValueList* args, engine::TJValue& result);
  void DoGetPrev(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNextSibling(engine::TJValueList* args, engine::TJValue& result);
  void DoGetPrevSibling(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNextVisible(engine::TJValueList* args, engine::TJValue& result);
  void DoGetPrevVisible(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNextChild(engine::TJValueList* args, engine::TJValue& result);
  void DoGetPrevChild(engine::TJValueList* args, engine::TJValue& result);
  void DoHasAsParent(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoMoveTo(engine::TJValueList* args, engine::TJValue& result);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);

 private:
  void Check() const { const_cast<TJVCLBaseTreeNode*>(this)->CheckVCL(nullptr, 0); }
  // Reads (one argument) or writes (two) the child at index; "arguments error" outside it.
  void ChildAccess(int32_t index, const engine::TJValue* value, engine::TJValue& result);
  void Navigate(engine::TJValueList* args, engine::TJValue& result, fw::TTreeNode* (fw::TTreeNode::*step)() const);
  // The node argument at `index` (ValueToTreeNode); "arguments error" when refused.
  fw::TTreeNode* NodeArg(engine::TJValueList* args, int32_t index);

  engine::TJWeakRef<TJVCLBaseTreeView> view_;
  engine::TJRef<engine::TJObject> data_;
};

class TJVCLBaseTreeView : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseTreeView)
 public:
  TJVCLBaseTreeView(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseTreeView() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomTreeView* TreeView() const { return static_cast<fw::TCustomTreeView*>(VCL()); }

  void CreateObjects() override;
  bool AttachVCL(rt::TPersistent* object, bool owned) override;
  void ReleaseVCL() override;
  void Dispose() override;
  void RegistMethods() override;
  void HookEvents() override;

  // The node's wrapper, made and stored on first use; null for no node.
  TJVCLBaseTreeNode* WrapTreeNode(fw::TTreeNode* node);
  void BindTreeNode(fw::TTreeNode* node);
  // Detaches and lets go of the node's stored wrapper.
  void ReleaseTreeNode(fw::TTreeNode* node);
  // A node wrapper is being destroyed while still bound.
  void NodeWrapperGone(TJVCLBaseTreeNode* wrapper, fw::TTreeNode* node);

  // Published.
  engine::TJObject* GetItems() const;
  engine::TJObject* GetDropTargetNode() const;
  void SetDropTargetNode(engine::TJObject* node);
  engine::TJObject* GetSelectedNode() const;
  void SetSelectedNode(engine::TJObject* node);
  engine::TJObject* GetTopItem() const;
  void SetTopItem(engine::TJObject* node);

  void DoAlphaSort(engine::TJValueList* args, engine::TJValue& result);
  void DoFullCollapse(engine::TJValueList* args, engine::TJValue& result);
  void DoFullExpand(engine::TJValueList* args, engine::TJValue& result);
  void DoGetHitTestInfoAt(engine::TJValueList* args, engine::TJValue& result);
  void DoGetNodeAt(engine::TJValueList* args, engine::TJValue& result);
  void DoIsEditing(engine::TJValueList* args, engine::TJValue& result);
  void DoLoadFromFile(engine::TJValueList* args, engine::TJValue& result);
  void DoSaveToFile(engine::TJValueList* args, engine::TJValue& result);

  // Bridge handlers of the tree view's own events.
  static void HandleAdvancedCustomDraw(void* self, fw::TObject* sender, const fw::TRect& rect,
                                       fw::TCustomDrawStage stage, bool& defaultDraw);
  static void HandleAdvancedCustomDrawItem(void* self, fw::TObject* sender, fw::TTreeNode* node,
                                           fw::TCustomDrawState state, fw::TCustomDrawStage stage, bool& paintImages,
                                           bool& defaultDraw);
  static void HandleChange(void* self, fw::TObject* sender, fw::TTreeNode* node);
  static void HandleChanging(void* self, fw::TObject* sender, fw::TTreeNode* node, bool& allow);
  static void HandleCollapsed(void* self, fw::TObject* sender, fw::TTreeNode* node);
  static void HandleCollapsing(void* self, fw::TObject* sender, fw::TTreeNode* node, bool& allow);
  static void HandleCompare(void* self, fw::TObject* sender, fw::TTreeNode* a, fw::TTreeNode* b, int32_t data,
                            int32_t& compare);
  static void HandleCustomDraw(void* self, fw::TObject* sender, const fw::TRect& rect, bool& defaultDraw);
  static void HandleCustomDrawItem(void* self, fw::TObject* sender, fw::TTreeNode* node, fw::TCustomDrawState state,
                                   bool& defaultDraw);
  static void HandleDeletion(void* self, fw::TObject* sender, fw::TTreeNode* node);
  static void HandleEditing(void* self, fw::TObject* sender, fw::TTreeNode* node, bool& allow);
  static void HandleEdited(void* self, fw::TObject* sender, fw::TTreeNode* node, std::string& text);
  static void HandleExpanded(void* self, fw::TObject* sender, fw::TTreeNode* node);
  static void HandleExpanding(void* self, fw::TObject* sender, fw::TTreeNode* node, bool& allow);
  static void HandleGetImageIndex(void* self, fw::TObject* sender, fw::TTreeNode* node);
  static void HandleGetSelectedIndex(void* self, fw::TObject* sender, fw::TTreeNode* node);

 private:
  void Check() const { const_cast<TJVCLBaseTreeView*>(this)->CheckVCL(nullptr, 0); }
  // Lets go of every node wrapper the view holds.
  void ReleaseAllNodes();
  void FireNode(const char* name, fw::TObject* sender, fw::TTreeNode* node);
  void FireAllow(const char* name, fw::TObject* sender, fw::TTreeNode* node, bool& allow);

  engine::TJRef<TJVCLBaseTreeNodes> items_;
  TCompareBoxSlot compareBox_;
};

// The node an argument names: null is accepted as no node; a node wrapper as its node.
bool ValueToTreeNode(const engine::TJValue& value, fw::TTreeNode*& node);

BR_GUI_CREATING_CLASS(TJVCLTreeView, TJVCLBaseTreeView, fw::TTreeView)

}  // namespace gui
