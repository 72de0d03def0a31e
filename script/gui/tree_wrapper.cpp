#include "script/gui/tree_wrapper.h"

#include "platform/fw/warm_sort.h"
#include "script/gui/values.h"

namespace gui {

using namespace engine;

namespace {

inline constexpr char konAdvancedCustomDraw[] = "onAdvancedCustomDraw";
inline constexpr char konAdvancedCustomDrawItem[] = "onAdvancedCustomDrawItem";
inline constexpr char konChanging[] = "onChanging";
inline constexpr char konCollapsed[] = "onCollapsed";
inline constexpr char konCollapsing[] = "onCollapsing";
inline constexpr char konCompare[] = "onCompare";
inline constexpr char konCustomDraw[] = "onCustomDraw";
inline constexpr char konCustomDrawItem[] = "onCustomDrawItem";
inline constexpr char konDeletion[] = "onDeletion";
inline constexpr char konEditing[] = "onEditing";
inline constexpr char konEdited[] = "onEdited";
inline constexpr char konExpanded[] = "onExpanded";
inline constexpr char konExpanding[] = "onExpanding";
inline constexpr char konGetImageIndex[] = "onGetImageIndex";
inline constexpr char konGetSelectedIndex[] = "onGetSelectedIndex";

TJVCLBaseTreeView* self(void* data) { return static_cast<TJVCLBaseTreeView*>(data); }

// Framework errors of a node or collection method become the wrapper's "EVCLError".
template <class F>
void GuardOf(const TJVCLPersistent* wrapper, F&& f) {
  try {
    f();
  } catch (const EJStatement&) {
    throw;
  } catch (const EJAbort&) {
    throw;
  } catch (const rt::Exception& e) {
    const_cast<TJVCLPersistent*>(wrapper)->RaiseVCLError(e.message());
  }
}

void setNode(TJValue& result, TJObject* wrapper) {
  if (wrapper) result.SetObject(wrapper);
  else result.SetNull();
}

}  // namespace

bool ValueToTreeNode(const TJValue& value, fw::TTreeNode*& node) {
  node = nullptr;
  if (IsNull(&value)) return true;
  auto* wrapper = dynamic_cast<TJVCLBaseTreeNode*>(value.vObject());
  if (!wrapper) return false;
  node = wrapper->Node();
  return true;
}

// ---- node collection ----

const rt::ClassInfo& TJVCLBaseTreeNodes::StaticClassInfo() {
  using T = TJVCLBaseTreeNodes;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseTreeNodes", &TJVCLPersistent::StaticClassInfo())
                                         .property("Count", &T::GetCountProp)
                                         .property("Handle", &T::GetHandle)
                                         .property("Owner", &T::GetOwnerProp)
                                         .build();
  return info;
}

TJVCLBaseTreeNodes::TJVCLBaseTreeNodes(TJBaseEngine* engine, TJValueList* param) : TJVCLPersistent(engine, param) {
  RegistName("VCLTreeNodes");
}

const rt::ClassInfo& TJVCLBaseTreeNodes::VCLClass() const { return fw::TTreeNodes::StaticClassInfo(); }

void TJVCLBaseTreeNodes::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  using T = TJVCLBaseTreeNodes;
  RegistMethod("add", &T::DoAdd);
  RegistMethod("addFirst", &T::DoAddFirst);
  RegistMethod("addChild", &T::DoAddChild);
  RegistMethod("addChildFirst", &T::DoAddChildFirst);
  RegistMethod("insert", &T::DoInsert);
  RegistMethod("addObject", &T::DoAddObject);
  RegistMethod("addObjectFirst", &T::DoAddObjectFirst);
  RegistMethod("addChildObject", &T::DoAddChildObject);
  RegistMethod("addChildObjectFirst", &T::DoAddChildObjectFirst);
  RegistMethod("insertObject", &T::DoInsertObject);
  RegistMethod("beginUpdate", &T::DoBeginUpdate);
  RegistMethod("endUpdate", &T::DoEndUpdate);
  RegistMethod("clear", &T::DoClear);
  RegistMethod("delete", &T::DoDelete);
  RegistMethod("getFirstNode", &T::DoGetFirstNode);
  RegistMethod("getNode", &T::DoGetNode);
  RegistMethod("item", &T::DoItem);
}

void TJVCLBaseTreeNodes::ReleaseVCL() {
  TJVCLPersistent::ReleaseVCL();
  owner_ = nullptr;
}

void TJVCLBaseTreeNodes::CheckVCL(TJValueList* args, int32_t count) {
  TJVCLPersistent::CheckVCL(args, count);
  if (!owner_) RaiseVCLError("vcl is null");
}

void TJVCLBaseTreeNodes::DoAssign(TJValueList*, TJValue& result) { result.Clear(); }

int32_t TJVCLBaseTreeNodes::GetCount() { return Nodes() && owner_ ? Nodes()->Count() : 0; }

void TJVCLBaseTreeNodes::GetItem(int32_t index, TJValue& value) {
  value.SetNull();
  if (!Nodes() || !owner_ || index < 0 || index >= Nodes()->Count()) return;
  setNode(value, owner_->WrapTreeNode(Nodes()->Item(index)));
}

void TJVCLBaseTreeNodes::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::GetMember(name, bracketAccess, param, value);
    return;
  }
  Check();
  if (index < 0 || index >= Nodes()->Count()) RaiseArgumentsError();
  setNode(value, owner_->WrapTreeNode(Nodes()->Item(index)));
}

int32_t TJVCLBaseTreeNodes::GetCountProp() const {
  Check();
  return Nodes()->Count();
}

int32_t TJVCLBaseTreeNodes::GetHandle() const {
  Check();
  return int32_t(Nodes()->Handle());
}

TJObject* TJVCLBaseTreeNodes::GetOwnerProp() const {
  Check();
  return owner_;
}

void TJVCLBaseTreeNodes::AddWith(TJValueList* args, TJValue& result, fw::TNodeAttachMode mode, bool withObject) {
  CheckVCL(args, withObject ? 3 : 2);
  fw::TTreeNode* relative = nullptr;
  if (!ValueToTreeNode((*args)[0], relative)) RaiseArgumentsError();
  const std::string text = AsString(&(*args)[1]);
  fw::TTreeNode* node = nullptr;
  GuardOf(this, [&] { node = Nodes()->AddNode(relative, text, nullptr, mode); });
  TJVCLBaseTreeNode* wrapper = owner_ ? owner_->WrapTreeNode(node) : nullptr;
  setNode(result, wrapper);
  if (withObject && wrapper) {
    if (TJObject* data = (*args)[2].vObject()) wrapper->SetData(data);
  }
}

void TJVCLBaseTreeNodes::DoAdd(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAdd, false); }
void TJVCLBaseTreeNodes::DoAddFirst(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAddFirst, false); }
void TJVCLBaseTreeNodes::DoAddChild(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAddChild, false); }
void TJVCLBaseTreeNodes::DoAddChildFirst(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAddChildFirst, false); }
void TJVCLBaseTreeNodes::DoInsert(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naInsert, false); }
void TJVCLBaseTreeNodes::DoAddObject(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAdd, true); }
void TJVCLBaseTreeNodes::DoAddObjectFirst(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAddFirst, true); }
void TJVCLBaseTreeNodes::DoAddChildObject(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naAddChild, true); }
void TJVCLBaseTreeNodes::DoAddChildObjectFirst(TJValueList* a, TJValue& r) {
  AddWith(a, r, fw::naAddChildFirst, true);
}
void TJVCLBaseTreeNodes::DoInsertObject(TJValueList* a, TJValue& r) { AddWith(a, r, fw::naInsert, true); }

void TJVCLBaseTreeNodes::DoBeginUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  GuardOf(this, [&] { Nodes()->BeginUpdate(); });
}

void TJVCLBaseTreeNodes::DoEndUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  GuardOf(this, [&] { Nodes()->EndUpdate(); });
}

void TJVCLBaseTreeNodes::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  GuardOf(this, [&] { Nodes()->Clear(); });
}

void TJVCLBaseTreeNodes::DoDelete(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  fw::TTreeNode* node = nullptr;
  if (!ValueToTreeNode((*args)[0], node) || !node) return;
  GuardOf(this, [&] { Nodes()->Delete(node); });
}

void TJVCLBaseTreeNodes::DoGetFirstNode(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  setNode(result, owner_->WrapTreeNode(Nodes()->GetFirstNode()));
}

void TJVCLBaseTreeNodes::DoGetNode(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  setNode(result, owner_->WrapTreeNode(Nodes()->GetNode(AsInteger(&(*args)[0]))));
}

void TJVCLBaseTreeNodes::DoItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  const double d = AsDouble(&(*args)[0]);
  if (!(d >= 0 && d < Nodes()->Count())) RaiseArgumentsError();
  setNode(result, owner_->WrapTreeNode(Nodes()->Item(int32_t(d))));
}

// ---- node ----

const rt::ClassInfo& TJVCLBaseTreeNode::StaticClassInfo() {
  using T = TJVCLBaseTreeNode;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseTreeNode", &TJVCLPersistent::StaticClassInfo())
                                         .property("AbsoluteIndex", &T::GetAbsoluteIndex)
                                         .property("Count", &T::GetCountProp)
                                         .property("Cut", &T::GetCut, &T::SetCut)
                                         .property("Data", &T::GetData, &T::SetData)
                                         .property("Deleting", &T::GetDeleting)
                                         .property("DropTarget", &T::GetDropTarget, &T::SetDropTarget)
                                         .property("Expanded", &T::GetExpanded, &T::SetExpanded)
                                         .property("Focused", &T::GetFocused, &T::SetFocused)
                                         .property("Handle", &T::GetHandle)
                                         .property("HasChildren", &T::GetHasChildren, &T::SetHasChildren)
                                         .property("ImageIndex", &T::GetImageIndex, &T::SetImageIndex)
                                         .property("Index", &T::GetIndex)
                                         .property("IsVisible", &T::GetIsVisible)
                                         .property("ItemId", &T::GetItemId)
                                         .property("Level", &T::GetLevel)
                                         .property("OverlayIndex", &T::GetOverlayIndex, &T::SetOverlayIndex)
                                         .property("Owner", &T::GetOwnerProp)
                                         .property("Parent", &T::GetParentNode)
                                         .property("Selected", &T::GetSelected, &T::SetSelected)
                                         .property("SelectedIndex", &T::GetSelectedIndex, &T::SetSelectedIndex)
                                         .property("StateIndex", &T::GetStateIndex, &T::SetStateIndex)
                                         .property("Text", &T::GetText, &T::SetText)
                                         .property("TreeView", &T::GetTreeView)
                                         .build();
  return info;
}

TJVCLBaseTreeNode::TJVCLBaseTreeNode(TJBaseEngine* engine, TJValueList* param) : TJVCLPersistent(engine, param) {
  RegistName("VCLTreeNode");
}

TJVCLBaseTreeNode::~TJVCLBaseTreeNode() {
  if (fw::TTreeNode* node = Node(); node && node->BridgeLink() == this) {
    if (TJVCLBaseTreeView* view = View()) view->NodeWrapperGone(this, node);
    else node->SetBridgeLink(nullptr);
  }
}

const rt::ClassInfo& TJVCLBaseTreeNode::VCLClass() const { return fw::TTreeNode::StaticClassInfo(); }

void TJVCLBaseTreeNode::SetView(TJVCLBaseTreeView* view) { view_.reset(view); }

void TJVCLBaseTreeNode::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  using T = TJVCLBaseTreeNode;
  RegistMethod("alphaSort", &T::DoAlphaSort);
  RegistMethod("collapse", &T::DoCollapse);
  RegistMethod("expand", &T::DoExpand);
  RegistMethod("delete", &T::DoDelete);
  RegistMethod("deleteChildren", &T::DoDeleteChildren);
  RegistMethod("displayRect", &T::DoDisplayRect);
  RegistMethod("editText", &T::DoEditText);
  RegistMethod("endEdit", &T::DoEndEdit);
  RegistMethod("makeVisible", &T::DoMakeVisible);
  RegistMethod("getFirstChild", &T::DoGetFirstChild);
  RegistMethod("getLastChild", &T::DoGetLastChild);
  RegistMethod("getNext", &T::DoGetNext);
  RegistMethod("getPrev", &T::DoGetPrev);
  RegistMethod("getNextSibling", &T::DoGetNextSibling);
  RegistMethod("getPrevSibling", &T::DoGetPrevSibling);
  RegistMethod("getNextVisible", &T::DoGetNextVisible);
  RegistMethod("getPrevVisible", &T::DoGetPrevVisible);
  RegistMethod("getNextChild", &T::DoGetNextChild);
  RegistMethod("getPrevChild", &T::DoGetPrevChild);
  RegistMethod("hasAsParent", &T::DoHasAsParent);
  RegistMethod("indexOf", &T::DoIndexOf);
  RegistMethod("moveTo", &T::DoMoveTo);
  RegistMethod("item", &T::DoItem);
}

void TJVCLBaseTreeNode::ReleaseVCL() {
  TJVCLPersistent::ReleaseVCL();
  view_.reset();
  data_.reset();
}

void TJVCLBaseTreeNode::Dispose() {
  data_.reset();
  TJVCLPersistent::Dispose();
}

void TJVCLBaseTreeNode::CheckVCL(TJValueList* args, int32_t count) {
  TJVCLPersistent::CheckVCL(args, count);
  if (!View()) RaiseVCLError("vcl is null");
}

fw::TTreeNode* TJVCLBaseTreeNode::NodeArg(TJValueList* args, int32_t index) {
  fw::TTreeNode* node = nullptr;
  if (!ValueToTreeNode((*args)[index], node)) RaiseArgumentsError();
  return node;
}

int32_t TJVCLBaseTreeNode::GetCount() { return Node() && View() ? Node()->Count() : 0; }

void TJVCLBaseTreeNode::GetItem(int32_t index, TJValue& value) {
  value.SetNull();
  if (!Node() || !View() || index < 0 || index >= Node()->Count()) return;
  setNode(value, View()->WrapTreeNode(Node()->Item(index)));
}

void TJVCLBaseTreeNode::ChildAccess(int32_t index, const TJValue* value, TJValue& result) {
  Check();
  result.SetNull();
  fw::TTreeNode* node = Node();
  if (index < 0 || index >= node->Count()) RaiseArgumentsError();
  fw::TTreeNode* child = node->Item(index);
  if (!value) {
    setNode(result, View()->WrapTreeNode(child));
    return;
  }
  result = *value;
  fw::TTreeNode* source = nullptr;
  if (!ValueToTreeNode(*value, source)) RaiseArgumentsError();
  if (!source) RaiseVCLError("Cannot assign a nil to a TTreeNode");
  // The bridge link is not part of the assignment, so the child keeps its own wrapper.
  GuardOf(this, [&] { child->Assign(source); });
  TJVCLBaseTreeNode* target = View()->WrapTreeNode(child);
  auto* from = dynamic_cast<TJVCLBaseTreeNode*>(value->vObject());
  if (target && from) target->SetData(from->GetData());
}

void TJVCLBaseTreeNode::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::GetMember(name, bracketAccess, param, value);
    return;
  }
  ChildAccess(index, nullptr, value);
}

void TJVCLBaseTreeNode::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::PutMember(name, value, bracketAccess, param);
    return;
  }
  TJValue ignored;
  ChildAccess(index, &value, ignored);
}

std::string TJVCLBaseTreeNode::GetText() const {
  Check();
  return Node()->Text();
}
void TJVCLBaseTreeNode::SetText(std::string text) {
  Check();
  GuardOf(this, [&] { Node()->SetText(text); });
}
bool TJVCLBaseTreeNode::GetCut() const {
  Check();
  return Node()->Cut();
}
void TJVCLBaseTreeNode::SetCut(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetCut(v); });
}
bool TJVCLBaseTreeNode::GetDropTarget() const {
  Check();
  return Node()->DropTarget();
}
void TJVCLBaseTreeNode::SetDropTarget(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetDropTarget(v); });
}
bool TJVCLBaseTreeNode::GetExpanded() const {
  Check();
  return Node()->Expanded();
}
void TJVCLBaseTreeNode::SetExpanded(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetExpanded(v); });
}
bool TJVCLBaseTreeNode::GetFocused() const {
  Check();
  return Node()->Focused();
}
void TJVCLBaseTreeNode::SetFocused(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetFocused(v); });
}
bool TJVCLBaseTreeNode::GetHasChildren() const {
  Check();
  return Node()->HasChildren();
}
void TJVCLBaseTreeNode::SetHasChildren(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetHasChildren(v); });
}
bool TJVCLBaseTreeNode::GetSelected() const {
  Check();
  return Node()->Selected();
}
void TJVCLBaseTreeNode::SetSelected(bool v) {
  Check();
  GuardOf(this, [&] { Node()->SetSelected(v); });
}
int32_t TJVCLBaseTreeNode::GetImageIndex() const {
  Check();
  return Node()->ImageIndex();
}
void TJVCLBaseTreeNode::SetImageIndex(int32_t v) {
  Check();
  Node()->SetImageIndex(v);
}
int32_t TJVCLBaseTreeNode::GetOverlayIndex() const {
  Check();
  return Node()->OverlayIndex();
}
void TJVCLBaseTreeNode::SetOverlayIndex(int32_t v) {
  Check();
  Node()->SetOverlayIndex(v);
}
int32_t TJVCLBaseTreeNode::GetSelectedIndex() const {
  Check();
  return Node()->SelectedIndex();
}
void TJVCLBaseTreeNode::SetSelectedIndex(int32_t v) {
  Check();
  Node()->SetSelectedIndex(v);
}
int32_t TJVCLBaseTreeNode::GetStateIndex() const {
  Check();
  return Node()->StateIndex();
}
void TJVCLBaseTreeNode::SetStateIndex(int32_t v) {
  Check();
  Node()->SetStateIndex(v);
}
int32_t TJVCLBaseTreeNode::GetAbsoluteIndex() const {
  Check();
  return Node()->AbsoluteIndex();
}
int32_t TJVCLBaseTreeNode::GetIndex() const {
  Check();
  return Node()->Index();
}
int32_t TJVCLBaseTreeNode::GetLevel() const {
  Check();
  return Node()->Level();
}
int32_t TJVCLBaseTreeNode::GetItemId() const {
  Check();
  return Node()->ItemId();
}
int32_t TJVCLBaseTreeNode::GetHandle() const {
  Check();
  return int32_t(Node()->Handle());
}
int32_t TJVCLBaseTreeNode::GetCountProp() const {
  Check();
  return Node()->Count();
}
bool TJVCLBaseTreeNode::GetDeleting() const {
  Check();
  return Node()->Deleting();
}
bool TJVCLBaseTreeNode::GetIsVisible() const {
  Check();
  return Node()->IsVisible();
}
TJObject* TJVCLBaseTreeNode::GetParentNode() const {
  Check();
  return View()->WrapTreeNode(Node()->Parent());
}
TJObject* TJVCLBaseTreeNode::GetOwnerProp() const {
  Check();
  return View()->GetItems();
}
TJObject* TJVCLBaseTreeNode::GetTreeView() const {
  Check();
  return View();
}

TJObject* TJVCLBaseTreeNode::GetData() const {
  TJObject* data = data_.get();
  return data && !data->IsDisposed() ? data : nullptr;
}

void TJVCLBaseTreeNode::SetData(TJObject* data) {
  TJRef<TJObject> hold(data);
  data_ = hold;
}

void TJVCLBaseTreeNode::DoAlphaSort(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool sorted = false;
  GuardOf(this, [&] { sorted = Node()->AlphaSort(false); });
  result.SetBool(sorted);
}

void TJVCLBaseTreeNode::DoCollapse(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const bool recurse = Truth((*args)[0]);
  GuardOf(this, [&] { Node()->Collapse(recurse); });
}

void TJVCLBaseTreeNode::DoExpand(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const bool recurse = Truth((*args)[0]);
  GuardOf(this, [&] { Node()->Expand(recurse); });
}

void TJVCLBaseTreeNode::DoDelete(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.Clear();
  TJKeepAlive keep(this);
  GuardOf(this, [&] { Node()->Delete(); });
}

void TJVCLBaseTreeNode::DoDeleteChildren(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  GuardOf(this, [&] { Node()->DeleteChildren(); });
}

void TJVCLBaseTreeNode::DoDisplayRect(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const bool textOnly = Truth((*args)[0]);
  fw::TRect r;
  GuardOf(this, [&] { r = Node()->DisplayRect(textOnly); });
  result.SetObject(NewRect(Engine(), r));
}

void TJVCLBaseTreeNode::DoEditText(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool editing = false;
  GuardOf(this, [&] { editing = Node()->EditText(); });
  result.SetBool(editing);
}

void TJVCLBaseTreeNode::DoEndEdit(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const bool cancel = Truth((*args)[0]);
  GuardOf(this, [&] { Node()->EndEdit(cancel); });
}

void TJVCLBaseTreeNode::DoMakeVisible(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  GuardOf(this, [&] { Node()->MakeVisible(); });
}

void TJVCLBaseTreeNode::Navigate(TJValueList* args, TJValue& result, fw::TTreeNode* (fw::TTreeNode::*step)() const) {
  CheckVCL(args, 0);
  setNode(result, View()->WrapTreeNode((Node()->*step)()));
}

void TJVCLBaseTreeNode::DoGetFirstChild(TJValueList* a, TJValue& r) { Navigate(a, r, &fw::TTreeNode::GetFirstChild); }
void TJVCLBaseTreeNode::DoGetLastChild(TJValueList* a, TJValue& r) { Navigate(a, r, &fw::TTreeNode::GetLastChild); }
void TJVCLBaseTreeNode::DoGetNext(TJValueList* a, TJValue& r) { Navigate(a, r, &fw::TTreeNode::GetNext); }
void TJVCLBaseTreeNode::DoGetPrev(TJValueList* a, TJValue& r) { Navigate(a, r, &fw::TTreeNode::GetPrev); }
void TJVCLBaseTreeNode::DoGetNextSibling(TJValueList* a, TJValue& r) {
  Navigate(a, r, &fw::TTreeNode::GetNextSibling);
}
void TJVCLBaseTreeNode::DoGetPrevSibling(TJValueList* a, TJValue& r) {
  Navigate(a, r, &fw::TTreeNode::GetPrevSibling);
}
void TJVCLBaseTreeNode::DoGetNextVisible(TJValueList* a, TJValue& r) {
  Navigate(a, r, &fw::TTreeNode::GetNextVisible);
}
void TJVCLBaseTreeNode::DoGetPrevVisible(TJValueList* a, TJValue& r) {
  Navigate(a, r, &fw::TTreeNode::GetPrevVisible);
}

void TJVCLBaseTreeNode::DoGetNextChild(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  fw::TTreeNode* child = NodeArg(args, 0);
  setNode(result, View()->WrapTreeNode(Node()->GetNextChild(child)));
}

void TJVCLBaseTreeNode::DoGetPrevChild(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  fw::TTreeNode* child = NodeArg(args, 0);
  setNode(result, View()->WrapTreeNode(Node()->GetPrevChild(child)));
}

void TJVCLBaseTreeNode::DoHasAsParent(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(Node()->HasAsParent(NodeArg(args, 0)));
}

void TJVCLBaseTreeNode::DoIndexOf(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetInteger(Node()->IndexOf(NodeArg(args, 0)));
}

void TJVCLBaseTreeNode::DoMoveTo(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  fw::TTreeNode* destination = NodeArg(args, 0);
  const TJValue& m = (*args)[1];
  int mode = -1;
  if (m.ValueType() == vtString) {
    mode = enumTypeOf(fw::naAdd).valueOf(AsString(&m));
  } else if (m.ValueType() == vtInteger || m.ValueType() == vtDouble) {
    const double d = AsDouble(&m);
    if (d >= int(fw::naAdd) && d <= int(fw::naInsert) && d == int(d)) mode = int(d);
  }
  if (mode < 0) RaiseArgumentsError();
  GuardOf(this, [&] { Node()->MoveTo(destination, fw::TNodeAttachMode(mode)); });
}

void TJVCLBaseTreeNode::DoItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const double d = AsDouble(&(*args)[0]);
  if (!(d >= 0 && d < Node()->Count())) RaiseArgumentsError();
  ChildAccess(int32_t(d), ArgCount(args) > 1 ? &(*args)[1] : nullptr, result);
}

// ---- tree view ----

const rt::ClassInfo& TJVCLBaseTreeView::StaticClassInfo() {
  using T = TJVCLBaseTreeView;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseTreeView", &TJVCLWinControl::StaticClassInfo())
                                         .property("DropTarget", &T::GetDropTargetNode, &T::SetDropTargetNode)
                                         .property("Items", &T::GetItems)
                                         .property("Selected", &T::GetSelectedNode, &T::SetSelectedNode)
                                         .property("TopItem", &T::GetTopItem, &T::SetTopItem)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLTreeView, TJVCLBaseTreeView)

namespace {
// A node freed while it still holds its wrapper (the tree went with its view's wrapper already
// gone): the wrapper lets the node go and the view's reference on it is dropped.
void releaseNodeLink(void* link) {
  // The framework is in the middle of freeing the node: what the wrapper held waits for it.
  fw::TDispatchScope scope;
  auto* wrapper = static_cast<TJVCLBaseTreeNode*>(link);
  wrapper->ReleaseVCL();
  wrapper->DecRef();
}

// Before a sort compares a node: its wrapper, which a script comparer reads first.
void warmNodeLink(void* link, int stage) {
  if (stage == 1) fw::WarmBytes(link, sizeof(TJVCLBaseTreeNode));
}
}  // namespace

TJVCLBaseTreeView::TJVCLBaseTreeView(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLTreeView");
  static const bool hooked = [] {
    fw::SetTreeNodeBridgeRelease(&releaseNodeLink);
    fw::SetTreeNodeBridgeWarm(&warmNodeLink);
    return true;
  }();
  (void)hooked;
}

TJVCLBaseTreeView::~TJVCLBaseTreeView() {
  if (items_) items_->SetView(nullptr);
  items_.reset();
}

const rt::ClassInfo& TJVCLBaseTreeView::VCLClass() const { return fw::TTreeView::StaticClassInfo(); }

void TJVCLBaseTreeView::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  if (!items_) items_ = TJRef<TJVCLBaseTreeNodes>(TJObject::Create<TJVCLBaseTreeNodes>(Engine(), nullptr, false));
}

bool TJVCLBaseTreeView::AttachVCL(rt::TPersistent* object, bool owned) {
  if (!TJVCLWinControl::AttachVCL(object, owned)) return false;
  if (items_ && TreeView()) {
    items_->AttachVCL(TreeView()->Items(), false);
    items_->TrackLiveness(TreeView()->LivenessToken());
    items_->SetView(this);
  }
  return true;
}

void TJVCLBaseTreeView::ReleaseAllNodes() {
  fw::TCustomTreeView* view = TreeView();
  if (!view) return;
  for (fw::TTreeNode* n = view->Items()->GetFirstNode(); n; n = n->GetNext())
    if (n->BridgeLink()) ReleaseTreeNode(n);
}

void TJVCLBaseTreeView::ReleaseVCL() {
  TJKeepAlive keep(this);
  ReleaseAllNodes();
  TJVCLWinControl::ReleaseVCL();
  if (items_) items_->ReleaseVCL();
}

void TJVCLBaseTreeView::Dispose() {
  ReleaseVCL();
  if (items_) items_->SetView(nullptr);
  compareBox_.Reset();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseTreeView::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  using T = TJVCLBaseTreeView;
  RegistMethod("alphaSort", &T::DoAlphaSort);
  RegistMethod("fullCollapse", &T::DoFullCollapse);
  RegistMethod("fullExpand", &T::DoFullExpand);
  RegistMethod("getHitTestInfoAt", &T::DoGetHitTestInfoAt);
  RegistMethod("getNodeAt", &T::DoGetNodeAt);
  RegistMethod("isEditing", &T::DoIsEditing);
  RegistMethod("loadFromFile", &T::DoLoadFromFile);
  RegistMethod("saveToFile", &T::DoSaveToFile);
}

void TJVCLBaseTreeView::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  HookWinControlEvents(true);
  fw::TCustomTreeView* v = TreeView();
  v->OnAdvancedCustomDraw = fw::TTVAdvancedCustomDrawEvent(&HandleAdvancedCustomDraw, this);
  v->OnAdvancedCustomDrawItem = fw::TTVAdvancedCustomDrawItemEvent(&HandleAdvancedCustomDrawItem, this);
  v->OnChange = fw::TTVChangedEvent(&HandleChange, this);
  v->OnChanging = fw::TTVChangingEvent(&HandleChanging, this);
  v->OnCollapsed = fw::TTVExpandedEvent(&HandleCollapsed, this);
  v->OnCollapsing = fw::TTVCollapsingEvent(&HandleCollapsing, this);
  v->OnCompare = fw::TTVCompareEvent(&HandleCompare, this);
  v->OnCustomDraw = fw::TTVCustomDrawEvent(&HandleCustomDraw, this);
  v->OnCustomDrawItem = fw::TTVCustomDrawItemEvent(&HandleCustomDrawItem, this);
  v->OnDeletion = fw::TTVExpandedEvent(&HandleDeletion, this);
  v->OnEditing = fw::TTVEditingEvent(&HandleEditing, this);
  v->OnEdited = fw::TTVEditedEvent(&HandleEdited, this);
  v->OnExpanded = fw::TTVExpandedEvent(&HandleExpanded, this);
  v->OnExpanding = fw::TTVExpandingEvent(&HandleExpanding, this);
  v->OnGetImageIndex = fw::TTVExpandedEvent(&HandleGetImageIndex, this);
  v->OnGetSelectedIndex = fw::TTVExpandedEvent(&HandleGetSelectedIndex, this);
}

void TJVCLBaseTreeView::BindTreeNode(fw::TTreeNode* node) {
  if (!node || node->Deleted() || node->BridgeLink() || IsDisposed() || !TreeView()) return;
  auto* wrapper = TJObject::Create<TJVCLBaseTreeNode>(Engine(), nullptr, true);
  TJKeepAlive keep(wrapper);
  if (!wrapper->AttachVCL(node, false)) return;
  wrapper->TrackLiveness(node->LivenessToken());
  wrapper->SetView(this);
  wrapper->IncRef();
  node->SetBridgeLink(wrapper);
}

TJVCLBaseTreeNode* TJVCLBaseTreeView::WrapTreeNode(fw::TTreeNode* node) {
  if (!node) return nullptr;
  BindTreeNode(node);
  return static_cast<TJVCLBaseTreeNode*>(node->BridgeLink());
}

void TJVCLBaseTreeView::ReleaseTreeNode(fw::TTreeNode* node) {
  auto* wrapper = static_cast<TJVCLBaseTreeNode*>(node->BridgeLink());
  if (!wrapper) return;
  node->SetBridgeLink(nullptr);
  wrapper->ReleaseVCL();
  wrapper->DecRef();
}

void TJVCLBaseTreeView::NodeWrapperGone(TJVCLBaseTreeNode* wrapper, fw::TTreeNode* node) {
  if (node->BridgeLink() == wrapper) node->SetBridgeLink(nullptr);
}

TJObject* TJVCLBaseTreeView::GetItems() const {
  Check();
  return items_.get();
}

TJObject* TJVCLBaseTreeView::GetDropTargetNode() const {
  Check();
  return const_cast<TJVCLBaseTreeView*>(this)->WrapTreeNode(TreeView()->DropTarget());
}

void TJVCLBaseTreeView::SetDropTargetNode(TJObject* value) {
  Check();
  fw::TTreeNode* node = nullptr;
  TJValue v;
  if (value) v.SetObject(value);
  else v.SetNull();
  if (!ValueToTreeNode(v, node)) RaiseArgumentsError();
  Guard([&] { TreeView()->SetDropTarget(node); });
}

TJObject* TJVCLBaseTreeView::GetSelectedNode() const {
  Check();
  return const_cast<TJVCLBaseTreeView*>(this)->WrapTreeNode(TreeView()->Selected());
}

void TJVCLBaseTreeView::SetSelectedNode(TJObject* value) {
  Check();
  fw::TTreeNode* node = nullptr;
  TJValue v;
  if (value) v.SetObject(value);
  else v.SetNull();
  if (!ValueToTreeNode(v, node)) RaiseArgumentsError();
  Guard([&] { TreeView()->SetSelected(node); });
}

TJObject* TJVCLBaseTreeView::GetTopItem() const {
  Check();
  return const_cast<TJVCLBaseTreeView*>(this)->WrapTreeNode(TreeView()->TopItem());
}

void TJVCLBaseTreeView::SetTopItem(TJObject* value) {
  Check();
  fw::TTreeNode* node = nullptr;
  TJValue v;
  if (value) v.SetObject(value);
  else v.SetNull();
  if (!ValueToTreeNode(v, node)) RaiseArgumentsError();
  Guard([&] { TreeView()->SetTopItem(node); });
}

void TJVCLBaseTreeView::DoAlphaSort(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool sorted = false;
  Guard([&] { sorted = TreeView()->AlphaSort(true); });
  result.SetBool(sorted);
}

void TJVCLBaseTreeView::DoFullCollapse(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { TreeView()->FullCollapse(); });
}

void TJVCLBaseTreeView::DoFullExpand(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { TreeView()->FullExpand(); });
}

void TJVCLBaseTreeView::DoGetHitTestInfoAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  const int32_t x = AsInteger(&(*args)[0]), y = AsInteger(&(*args)[1]);
  result.SetString(SetText(TreeView()->GetHitTestInfoAt(x, y)));
}

void TJVCLBaseTreeView::DoGetNodeAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  const int32_t x = AsInteger(&(*args)[0]), y = AsInteger(&(*args)[1]);
  setNode(result, WrapTreeNode(TreeView()->GetNodeAt(x, y)));
}

void TJVCLBaseTreeView::DoIsEditing(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(TreeView()->IsEditing());
}

void TJVCLBaseTreeView::DoLoadFromFile(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const std::string name = AsString(&(*args)[0]);
  Guard([&] { TreeView()->LoadFromFile(name); });
}

void TJVCLBaseTreeView::DoSaveToFile(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  const std::string name = AsString(&(*args)[0]);
  Guard([&] { TreeView()->SaveToFile(name); });
}

// ---- bridge handlers ----

void TJVCLBaseTreeView::FireNode(const char* name, fw::TObject* sender, fw::TTreeNode* node) {
  Fire(name, sender, [&](TJValueList& a) {
    TJValue n;
    setNode(n, WrapTreeNode(node));
    a.Add(n);
  }, [](TJValueList&) {});
}

void TJVCLBaseTreeView::FireAllow(const char* name, fw::TObject* sender, fw::TTreeNode* node, bool& allow) {
  Fire(name, sender, [&](TJValueList& a) {
    TJValue n;
    setNode(n, WrapTreeNode(node));
    a.Add(n);
    a.AddObject(NewBooleanBox(Engine(), allow));
  }, [&](TJValueList& a) { allow = BooleanBoxValue(a[2], allow); });
}

void TJVCLBaseTreeView::HandleAdvancedCustomDraw(void* data, fw::TObject* sender, const fw::TRect& rect,
                                                 fw::TCustomDrawStage stage, bool& defaultDraw) {
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konAdvancedCustomDraw, sender, [&](TJValueList& a) {
    a.AddObject(NewRect(w->Engine(), rect));
    a.Add(TJValue::String(EnumText(stage)));
    a.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
  }, [&](TJValueList& a) { defaultDraw = BooleanBoxValue(a[3], defaultDraw); });
}

void TJVCLBaseTreeView::HandleAdvancedCustomDrawItem(void* data, fw::TObject* sender, fw::TTreeNode* node,
                                                     fw::TCustomDrawState state, fw::TCustomDrawStage stage,
                                                     bool& paintImages, bool& defaultDraw) {
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konAdvancedCustomDrawItem, sender, [&](TJValueList& a) {
    TJValue n;
    setNode(n, w->WrapTreeNode(node));
    a.Add(n);
    a.Add(TJValue::String(SetText(state)));
    a.Add(TJValue::String(EnumText(stage)));
    a.AddObject(NewBooleanBox(w->Engine(), paintImages));
    a.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
  }, [&](TJValueList& a) {
    paintImages = BooleanBoxValue(a[4], paintImages);
    defaultDraw = BooleanBoxValue(a[5], defaultDraw);
  });
}

void TJVCLBaseTreeView::HandleChange(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  self(data)->FireNode(konChange, sender, node);
}

void TJVCLBaseTreeView::HandleChanging(void* data, fw::TObject* sender, fw::TTreeNode* node, bool& allow) {
  self(data)->FireAllow(konChanging, sender, node, allow);
}

void TJVCLBaseTreeView::HandleCollapsed(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  self(data)->FireNode(konCollapsed, sender, node);
}

void TJVCLBaseTreeView::HandleCollapsing(void* data, fw::TObject* sender, fw::TTreeNode* node, bool& allow) {
  self(data)->FireAllow(konCollapsing, sender, node, allow);
}

void TJVCLBaseTreeView::HandleCompare(void* data, fw::TObject* sender, fw::TTreeNode* a, fw::TTreeNode* b,
                                      int32_t value, int32_t& compare) {
  // A comparer that deleted nodes is not asked about them again (the sort still holds them).
  if (a->Deleted() || b->Deleted()) return;
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konCompare, sender, [&](TJValueList& args) {
    TJValue n1, n2;
    setNode(n1, w->WrapTreeNode(a));
    setNode(n2, w->WrapTreeNode(b));
    args.Add(n1);
    args.Add(n2);
    args.Add(TJValue::Integer(value));
    args.AddObject(w->compareBox_.Box(w->Engine(), compare));
  }, [&](TJValueList& args) { compare = NumberBoxValue(args[4], compare); });
}

void TJVCLBaseTreeView::HandleCustomDraw(void* data, fw::TObject* sender, const fw::TRect& rect, bool& defaultDraw) {
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konCustomDraw, sender, [&](TJValueList& a) {
    a.AddObject(NewRect(w->Engine(), rect));
    a.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
  }, [&](TJValueList& a) { defaultDraw = BooleanBoxValue(a[2], defaultDraw); });
}

void TJVCLBaseTreeView::HandleCustomDrawItem(void* data, fw::TObject* sender, fw::TTreeNode* node,
                                             fw::TCustomDrawState state, bool& defaultDraw) {
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konCustomDrawItem, sender, [&](TJValueList& a) {
    TJValue n;
    setNode(n, w->WrapTreeNode(node));
    a.Add(n);
    a.Add(TJValue::String(SetText(state)));
    a.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
  }, [&](TJValueList& a) { defaultDraw = BooleanBoxValue(a[3], defaultDraw); });
}

void TJVCLBaseTreeView::HandleDeletion(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  TJVCLBaseTreeView* w = self(data);
  fw::TDispatchScope scope;
  TJKeepAlive keep(w);
  try {
    if (!w->IsDisposed()) w->FireNode(konDeletion, sender, node);
  } catch (...) {
    if (node->BridgeLink()) w->ReleaseTreeNode(node);
    throw;
  }
  if (node->BridgeLink()) w->ReleaseTreeNode(node);
}

void TJVCLBaseTreeView::HandleEditing(void* data, fw::TObject* sender, fw::TTreeNode* node, bool& allow) {
  self(data)->FireAllow(konEditing, sender, node, allow);
}

void TJVCLBaseTreeView::HandleEdited(void* data, fw::TObject* sender, fw::TTreeNode* node, std::string& text) {
  TJVCLBaseTreeView* w = self(data);
  w->Fire(konEdited, sender, [&](TJValueList& a) {
    TJValue n;
    setNode(n, w->WrapTreeNode(node));
    a.Add(n);
    a.AddObject(NewStringBox(w->Engine(), text));
  }, [&](TJValueList& a) { text = StringBoxValue(a[2]); });
}

void TJVCLBaseTreeView::HandleExpanded(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  self(data)->FireNode(konExpanded, sender, node);
}

void TJVCLBaseTreeView::HandleExpanding(void* data, fw::TObject* sender, fw::TTreeNode* node, bool& allow) {
  self(data)->FireAllow(konExpanding, sender, node, allow);
}

void TJVCLBaseTreeView::HandleGetImageIndex(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  self(data)->FireNode(konGetImageIndex, sender, node);
}

void TJVCLBaseTreeView::HandleGetSelectedIndex(void* data, fw::TObject* sender, fw::TTreeNode* node) {
  self(data)->FireNode(konGetSelectedIndex, sender, node);
}

}  // namespace gui
