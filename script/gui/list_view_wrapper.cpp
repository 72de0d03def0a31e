#include "script/gui/list_view_wrapper.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/fw/warm_sort.h"
#include "script/core/published.h"
#include "script/gui/caster.h"
#include "script/gui/values.h"
#include "script/gui/wrapper_cache.h"
#include "script/host/strings_object.h"

namespace gui {

using namespace engine;

namespace {

// An enumeration argument given by name or by ordinal; -1 for anything else.
int enumArg(const TJValue& v, const rt::EnumType& type) {
  if (v.ValueType() == vtString) return type.valueOf(v.vString());
  if (v.ValueType() == vtInteger || v.ValueType() == vtDouble) {
    const double d = AsDouble(&v);
    if (d >= 0 && d <= type.maxValue() && d == double(int(d))) return int(d);
  }
  return -1;
}

// "isFocused,isSelected", optionally in brackets; false for an unknown name.
bool parseStates(std::string text, fw::TItemStates& states) {
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '[' || c == ']'; }),
             text.end());
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = text.substr(start, comma - start);
    if (!name.empty()) {
      const int v = enumTypeOf(fw::isNone).valueOf(name);
      if (v < 0) return false;
      states.include(fw::TItemState(v));
    }
    start = comma + 1;
  }
  return true;
}

// Before a sort compares an item: its wrapper (stage 1), then the sub-items object the wrapper
// holds (stage 2).
void warmLink(void* link, int stage) {
  auto* wrapper = static_cast<const TJVCLBaseListItem*>(link);
  if (stage == 1) fw::WarmBytes(wrapper, sizeof(TJVCLBaseListItem));
  else wrapper->WarmSubItems();
}

void releaseLink(void* link) {
  // The framework is in the middle of freeing the item: what the wrapper held waits for it.
  fw::TDispatchScope scope;
  auto* wrapper = static_cast<TJVCLBaseListItem*>(link);
  wrapper->Detach();
  wrapper->DecRef();
}

}  // namespace

bool ValueToListItem(const TJValue& value, fw::TListItem*& item) {
  item = nullptr;
  if (value.ValueType() == vtNull) return true;
  if (value.ValueType() != vtObject) return false;
  auto* w = dynamic_cast<TJVCLBaseListItem*>(value.vObject());
  if (!w) return false;
  item = w->Item();
  return true;
}

// ---- item collection ----

const rt::ClassInfo& TJVCLBaseListItems::StaticClassInfo() {
  using T = TJVCLBaseListItems;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseListItems", &TJVCLPersistent::StaticClassInfo())
                                         .property("Count", &T::GetCountProp, &T::SetCountProp)
                                         .property("Handle", &T::GetHandle)
                                         .property("Owner", &T::GetOwnerProp)
                                         .build();
  return info;
}

TJVCLBaseListItems::TJVCLBaseListItems(TJBaseEngine* engine, TJValueList* param) : TJVCLPersistent(engine, param) {
  RegistName("VCLListItems");
}

const rt::ClassInfo& TJVCLBaseListItems::VCLClass() const { return fw::TListItems::StaticClassInfo(); }

TJVCLBaseListView* TJVCLBaseListItems::OwnerView() const { return owner_.get(); }
void TJVCLBaseListItems::SetOwnerView(TJVCLBaseListView* view) { owner_.reset(view); }

template <class F>
void TJVCLBaseListItems::Guard(F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
}

void TJVCLBaseListItems::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  RegistMethod("add", &TJVCLBaseListItems::DoAdd);
  RegistMethod("insert", &TJVCLBaseListItems::DoInsert);
  RegistMethod("delete", &TJVCLBaseListItems::DoDelete);
  RegistMethod("clear", &TJVCLBaseListItems::DoClear);
  RegistMethod("beginUpdate", &TJVCLBaseListItems::DoBeginUpdate);
  RegistMethod("endUpdate", &TJVCLBaseListItems::DoEndUpdate);
  RegistMethod("indexOf", &TJVCLBaseListItems::DoIndexOf);
  RegistMethod("item", &TJVCLBaseListItems::DoItem);
}

void TJVCLBaseListItems::CheckVCL(TJValueList* args, int32_t count) {
  TJVCLPersistent::CheckVCL(args, count);
  if (!owner_.get()) RaiseVCLError("vcl is null");
}

int32_t TJVCLBaseListItems::GetCount() {
  Check();
  return Items()->Count();
}

void TJVCLBaseListItems::GetItem(int32_t index, TJValue& value) { ItemAccess(index, nullptr, value); }

void TJVCLBaseListItems::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::GetMember(name, bracketAccess, param, value);
    return;
  }
  ItemAccess(index, nullptr, value);
}

void TJVCLBaseListItems::PutMember(std::string_view name, const TJValue& value, bool bracketAccess,
                                   TJValueList* param) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::PutMember(name, value, bracketAccess, param);
    return;
  }
  TJValue result;
  ItemAccess(index, &value, result);
}

void TJVCLBaseListItems::ItemAccess(int32_t index, const TJValue* value, TJValue& result) {
  Check();
  result.SetNull();
  fw::TListItems* items = Items();
  if (index < 0 || index >= items->Count()) return;
  TJVCLBaseListView* view = owner_.get();
  if (!value) {
    TJObject* w = nullptr;
    Guard([&] { w = view->WrapIndex(index); });
    if (w) result.SetObject(w);
    return;
  }
  result = *value;
  fw::TListItem* source = nullptr;
  if (!ValueToListItem(*value, source)) RaiseArgumentsError();
  Guard([&] {
    if (!source) throw fw::EInvalidOperation("Cannot assign a nil to a TListItem");
    fw::TListItem* target = items->Item(index);
    // The bridge's slot is not copied: the target keeps its own wrapper.
    target->Assign(source);
  });
  // Then the script's data goes along.
  if (items->Owner()->OwnerData()) return;
  auto* from = dynamic_cast<TJVCLBaseListItem*>(value->vObject());
  auto* to = dynamic_cast<TJVCLBaseListItem*>(view->WrapListItem(items->Item(index)));
  if (from && to) to->SetData(from->GetData());
}

int32_t TJVCLBaseListItems::GetCountProp() const {
  Check();
  return Items()->Count();
}

void TJVCLBaseListItems::SetCountProp(int32_t count) {
  Check();
  const_cast<TJVCLBaseListItems*>(this)->Guard([&] { Items()->SetCount(count); });
}

int32_t TJVCLBaseListItems::GetHandle() const {
  Check();
  return Items()->Handle();
}

TJVCLPersistent* TJVCLBaseListItems::GetOwnerProp() const {
  Check();
  return owner_.get();
}

void TJVCLBaseListItems::DoAdd(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  fw::TListItem* item = nullptr;
  Guard([&] { item = Items()->Add(); });
  SetAdded(item, result);
}

void TJVCLBaseListItems::DoInsert(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  fw::TListItem* item = nullptr;
  Guard([&] { item = Items()->Insert(AsInteger(&(*args)[0])); });
  SetAdded(item, result);
}

void TJVCLBaseListItems::SetAdded(fw::TListItem* item, TJValue& result) {
  // OnInsert may have deleted the item, or let go of the view's wrapper.
  TJVCLBaseListView* view = owner_.get();
  TJObject* w = view && !view->IsDisposed() ? view->WrapListItem(item) : nullptr;
  if (w) result.SetObject(w);
  else result.SetNull();
}

void TJVCLBaseListItems::DoDelete(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  Guard([&] { Items()->Delete(AsInteger(&(*args)[0])); });
}

void TJVCLBaseListItems::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Items()->Clear(); });
}

void TJVCLBaseListItems::DoBeginUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Items()->BeginUpdate(); });
}

void TJVCLBaseListItems::DoEndUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Items()->EndUpdate(); });
}

void TJVCLBaseListItems::DoIndexOf(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  fw::TListItem* item = nullptr;
  if (!ValueToListItem((*args)[0], item)) RaiseArgumentsError();
  result.SetInteger(Items()->IndexOf(item));
}

void TJVCLBaseListItems::DoItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const TJValue* value = ArgCount(args) > 1 ? &(*args)[1] : nullptr;
  const double d = AsDouble(&(*args)[0]);
  const int32_t index = d >= 0 && d < 2147483647.0 ? int32_t(d) : -1;
  ItemAccess(index, value, result);
}

// ---- item ----

const rt::ClassInfo& TJVCLBaseListItem::StaticClassInfo() {
  using T = TJVCLBaseListItem;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseListItem", &TJVCLPersistent::StaticClassInfo())
                                         .property("Caption", &T::GetCaption, &T::SetCaption)
                                         .property("Checked", &T::GetChecked, &T::SetChecked)
                                         .property("Cut", &T::GetCut, &T::SetCut)
                                         .property("DropTarget", &T::GetDropTarget, &T::SetDropTarget)
                                         .property("Focused", &T::GetFocused, &T::SetFocused)
                                         .property("Selected", &T::GetSelected, &T::SetSelected)
                                         .property("ImageIndex", &T::GetImageIndex, &T::SetImageIndex)
                                         .property("OverlayIndex", &T::GetOverlayIndex, &T::SetOverlayIndex)
                                         .property("StateIndex", &T::GetStateIndex, &T::SetStateIndex)
                                         .property("Indent", &T::GetIndent, &T::SetIndent)
                                         .property("Left", &T::GetLeft, &T::SetLeft)
                                         .property("Top", &T::GetTop, &T::SetTop)
                                         .property("Index", &T::GetIndex)
                                         .property("Handle", &T::GetHandle)
                                         .property("Position", &T::GetPosition, &T::SetPosition)
                                         .property("SubItems", &T::GetSubItems)
                                         .property("Data", &T::GetData, &T::SetData)
                                         .property("Owner", &T::GetOwnerProp)
                                         .property("ListView", &T::GetListView)
                                         .build();
  return info;
}

TJVCLBaseListItem::TJVCLBaseListItem(TJBaseEngine* engine, TJValueList* param) : TJVCLPersistent(engine, param) {
  RegistName("VCLListItem");
}

TJVCLBaseListItem::~TJVCLBaseListItem() {
  pointSubItems(nullptr);
}

const rt::ClassInfo& TJVCLBaseListItem::VCLClass() const { return fw::TListItem::StaticClassInfo(); }

TJVCLBaseListView* TJVCLBaseListItem::ListViewWrapper() const { return listView_.get(); }
void TJVCLBaseListItem::SetListViewWrapper(TJVCLBaseListView* view) { listView_.reset(view); }

template <class F>
void TJVCLBaseListItem::Guard(F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
}

void TJVCLBaseListItem::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  RegistMethod("cancelEdit", &TJVCLBaseListItem::DoCancelEdit);
  RegistMethod("delete", &TJVCLBaseListItem::DoDelete);
  RegistMethod("displayRect", &TJVCLBaseListItem::DoDisplayRect);
  RegistMethod("editCaption", &TJVCLBaseListItem::DoEditCaption);
  RegistMethod("makeVisible", &TJVCLBaseListItem::DoMakeVisible);
  RegistMethod("update", &TJVCLBaseListItem::DoUpdate);
  RegistMethod("workArea", &TJVCLBaseListItem::DoWorkArea);
  RegistMethod("subItemImages", &TJVCLBaseListItem::DoSubItemImages);
}

// The sub-items object is made when a script first asks for it: most items never need one.
void TJVCLBaseListItem::CreateObjects() { TJVCLPersistent::CreateObjects(); }

void TJVCLBaseListItem::pointSubItems(fw::TStrings* list) {
  if (!subItems_ || (list == subItemsList_ && subItems_->Strings() == list)) return;
  // A stored wrapper hears of its item's end (and points the sub-items away then); another one
  // has the sub-items object watch the list itself.
  subItems_->SetStrings(list, !stored_);
  subItemsList_ = list;
}

bool TJVCLBaseListItem::AttachVCL(rt::TPersistent* object, bool owned) {
  const bool ok = TJVCLPersistent::AttachVCL(object, owned);
  if (ok && !owned && !stored_) {
    // A wrapper the item does not keep is not told when the item goes: it watches the item's
    // liveness and reads as unbound from then on. (The stored wrapper is let go by the item.)
    TrackLiveness(static_cast<fw::TListItem*>(object)->LivenessToken());
  }
  pointSubItems();
  return ok;
}

void TJVCLBaseListItem::ReleaseVCL() {
  TJVCLPersistent::ReleaseVCL();
  listView_.reset();
  pointSubItems(nullptr);
  data_.reset();
}

void TJVCLBaseListItem::Detach() {
  fw::TListItem* item = Item();
  if (item && item->BridgeLink() == this) item->SetBridgeLink(nullptr);
  ReleaseVCL();
}

void TJVCLBaseListItem::Dispose() {
  // A stored wrapper that goes while its item lives leaves no link behind.
  fw::TListItem* item = Item();
  if (item && item->BridgeLink() == this) item->SetBridgeLink(nullptr);
  data_.reset();
  pointSubItems(nullptr);
  subItems_.reset();
  TJVCLPersistent::Dispose();
}

void TJVCLBaseListItem::CheckVCL(TJValueList* args, int32_t count) {
  TJVCLPersistent::CheckVCL(args, count);
  if (!listView_.get()) RaiseVCLError("vcl is null");
}

std::string TJVCLBaseListItem::GetCaption() const {
  Check();
  return Item()->Caption();
}
void TJVCLBaseListItem::SetCaption(std::string s) {
  Check();
  Guard([&] { Item()->SetCaption(s); });
}
bool TJVCLBaseListItem::GetChecked() const {
  Check();
  return Item()->Checked();
}
void TJVCLBaseListItem::SetChecked(bool v) {
  Check();
  Guard([&] { Item()->SetChecked(v); });
}
bool TJVCLBaseListItem::GetCut() const {
  Check();
  return Item()->Cut();
}
void TJVCLBaseListItem::SetCut(bool v) {
  Check();
  Guard([&] { Item()->SetCut(v); });
}
bool TJVCLBaseListItem::GetDropTarget() const {
  Check();
  return Item()->DropTarget();
}
void TJVCLBaseListItem::SetDropTarget(bool v) {
  Check();
  Guard([&] { Item()->SetDropTarget(v); });
}
bool TJVCLBaseListItem::GetFocused() const {
  Check();
  return Item()->Focused();
}
void TJVCLBaseListItem::SetFocused(bool v) {
  Check();
  Guard([&] { Item()->SetFocused(v); });
}
bool TJVCLBaseListItem::GetSelected() const {
  Check();
  return Item()->Selected();
}
void TJVCLBaseListItem::SetSelected(bool v) {
  Check();
  Guard([&] { Item()->SetSelected(v); });
}
int32_t TJVCLBaseListItem::GetImageIndex() const {
  Check();
  return Item()->ImageIndex();
}
void TJVCLBaseListItem::SetImageIndex(int32_t v) {
  Check();
  Guard([&] { Item()->SetImageIndex(v); });
}
int32_t TJVCLBaseListItem::GetOverlayIndex() const {
  Check();
  return Item()->OverlayIndex();
}
void TJVCLBaseListItem::SetOverlayIndex(int32_t v) {
  Check();
  Guard([&] { Item()->SetOverlayIndex(v); });
}
int32_t TJVCLBaseListItem::GetStateIndex() const {
  Check();
  return Item()->StateIndex();
}
void TJVCLBaseListItem::SetStateIndex(int32_t v) {
  Check();
  Guard([&] { Item()->SetStateIndex(v); });
}
int32_t TJVCLBaseListItem::GetIndent() const {
  Check();
  return Item()->Indent();
}
void TJVCLBaseListItem::SetIndent(int32_t v) {
  Check();
  Guard([&] { Item()->SetIndent(v); });
}
int32_t TJVCLBaseListItem::GetLeft() const {
  Check();
  return Item()->Left();
}
void TJVCLBaseListItem::SetLeft(int32_t v) {
  Check();
  Guard([&] { Item()->SetLeft(v); });
}
int32_t TJVCLBaseListItem::GetTop() const {
  Check();
  return Item()->Top();
}
void TJVCLBaseListItem::SetTop(int32_t v) {
  Check();
  Guard([&] { Item()->SetTop(v); });
}
int32_t TJVCLBaseListItem::GetIndex() const {
  Check();
  return Item()->Index();
}
int32_t TJVCLBaseListItem::GetHandle() const {
  Check();
  return Item()->Handle();
}
TJObject* TJVCLBaseListItem::GetPosition() const {
  Check();
  return NewPoint(Engine(), Item()->Position());
}
void TJVCLBaseListItem::SetPosition(TJObject* p) {
  Check();
  fw::TPoint point;
  TJValue v;
  if (p) v.SetObject(p);
  // A missing point is refused as bad arguments (not as an error without a message).
  if (!p || !ReadPoint(v, point)) RaiseArgumentsError();
  Guard([&] { Item()->SetPosition(point); });
}
TJObject* TJVCLBaseListItem::GetSubItems() const {
  Check();
  auto* self = const_cast<TJVCLBaseListItem*>(this);
  if (!subItems_ && !IsDisposed()) {
    self->subItems_ = TJRef<host::TJBaseStringsObject>(host::WrapStrings(Engine(), nullptr));
    self->subItemsList_ = nullptr;
  }
  fw::TStrings* list = Item()->SubItems();
  // Pointed already (the usual case): the item's list lives as long as the item.
  if (list != subItemsList_) self->pointSubItems(list);
  return subItems_.get();
}
void TJVCLBaseListItem::WarmSubItems() const {
  if (subItems_) fw::WarmBytes(subItems_.get(), sizeof(host::TJBaseStringsObject));
}
TJObject* TJVCLBaseListItem::GetData() const {
  TJObject* d = data_.get();
  return d && !d->IsDisposed() ? d : nullptr;
}
void TJVCLBaseListItem::SetData(TJObject* data) {
  TJRef<TJObject> keep(data);
  data_ = std::move(keep);
}
TJVCLPersistent* TJVCLBaseListItem::GetOwnerProp() const {
  Check();
  TJVCLBaseListView* view = listView_.get();
  return view ? static_cast<TJVCLPersistent*>(view->GetItems()) : nullptr;
}
TJVCLPersistent* TJVCLBaseListItem::GetListView() const {
  Check();
  return listView_.get();
}

void TJVCLBaseListItem::DoCancelEdit(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Item()->CancelEdit(); });
}

void TJVCLBaseListItem::DoDelete(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.Clear();
  TJKeepAlive keep(this);
  Guard([&] { Item()->Delete(); });
}

void TJVCLBaseListItem::DoDisplayRect(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const int code = enumArg((*args)[0], enumTypeOf(fw::drBounds));
  if (code < 0) {
    result.SetNull();
    return;
  }
  fw::TRect r;
  Guard([&] { r = Item()->DisplayRect(fw::TDisplayCode(code)); });
  result.SetObject(NewRect(Engine(), r));
}

void TJVCLBaseListItem::DoEditCaption(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool ok = false;
  Guard([&] { ok = Item()->EditCaption(); });
  result.SetBool(ok);
}

void TJVCLBaseListItem::DoMakeVisible(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  Guard([&] { Item()->MakeVisible(Truth((*args)[0])); });
}

void TJVCLBaseListItem::DoUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Item()->Update(); });
}

void TJVCLBaseListItem::DoWorkArea(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetInteger(Item()->WorkArea());
}

void TJVCLBaseListItem::DoSubItemImages(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const int32_t index = AsInteger(&(*args)[0]);
  fw::TListItem* item = Item();
  if (index < 0 || index >= item->SubItems()->Count()) {
    result.SetInteger(-1);
    return;
  }
  if (ArgCount(args) > 1) {
    result = (*args)[1];
    const int32_t image = AsInteger(&(*args)[1]);
    Guard([&] { item->SetSubItemImages(index, image); });
    return;
  }
  result.SetInteger(item->SubItemImages(index));
}

// ---- columns ----

const rt::ClassInfo& TJVCLBaseListColumns::StaticClassInfo() {
  using T = TJVCLBaseListColumns;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseListColumns", &TJVCLPersistent::StaticClassInfo())
                                         .property("Count", &T::GetCountProp)
                                         .build();
  return info;
}

TJVCLBaseListColumns::TJVCLBaseListColumns(TJBaseEngine* engine, TJValueList* param)
    : TJVCLPersistent(engine, param) {
  RegistName("VCLListColumns");
}

const rt::ClassInfo& TJVCLBaseListColumns::VCLClass() const { return fw::TListColumns::StaticClassInfo(); }

void TJVCLBaseListColumns::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  RegistMethod("add", &TJVCLBaseListColumns::DoAdd);
  RegistMethod("items", &TJVCLBaseListColumns::DoItems);
}

// One generic wrapper per column while something holds it; it says "VCL is null" once the
// column is gone.
TJObject* TJVCLBaseListColumns::WrapColumn(fw::TListColumn* column) { return WrapLive(Engine(), column); }

int32_t TJVCLBaseListColumns::GetCount() { return GetCountProp(); }

void TJVCLBaseListColumns::GetItem(int32_t index, TJValue& value) {
  CheckVCL(nullptr, 0);
  if (index < 0 || index >= Columns()->Count()) {
    value.SetNull();
    return;
  }
  value.SetObject(WrapColumn(Columns()->Items(index)));
}

int32_t TJVCLBaseListColumns::GetCountProp() const {
  const_cast<TJVCLBaseListColumns*>(this)->CheckVCL(nullptr, 0);
  return Columns()->Count();
}

void TJVCLBaseListColumns::DoAdd(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  fw::TListColumn* column = nullptr;
  try {
    column = Columns()->Add();
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
  result.SetObject(WrapColumn(column));
}

void TJVCLBaseListColumns::DoItems(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const double d = AsDouble(&(*args)[0]);
  if (!(d >= 0 && d < Columns()->Count())) RaiseArgumentsError();
  result.SetObject(WrapColumn(Columns()->Items(int(d))));
}

// ---- list view ----

const rt::ClassInfo& TJVCLBaseListView::StaticClassInfo() {
  using T = TJVCLBaseListView;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseListView", &TJVCLWinControl::StaticClassInfo())
                                         .property("items", &T::GetItems)
                                         .property("column", &T::GetColumn)
                                         .property("DropTarget", &T::GetDropTarget, &T::SetDropTarget)
                                         .property("ItemFocused", &T::GetItemFocused, &T::SetItemFocused)
                                         .property("Selected", &T::GetSelected, &T::SetSelected)
                                         .property("TopItem", &T::GetTopItem)
                                         .property("ItemIndex", &T::GetItemIndex, &T::SetItemIndex)
                                         .property("SelCount", &T::GetSelCount)
                                         .property("VisibleRowCount", &T::GetVisibleRowCount)
                                         .property("ViewOrigin", &T::GetViewOrigin)
                                         .property("BoundingRect", &T::GetBoundingRect)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLListView, TJVCLBaseListView)

TJVCLBaseListView::TJVCLBaseListView(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLListView");
  static const bool hooked = [] {
    fw::SetListItemBridgeRelease(&releaseLink);
    fw::SetListItemBridgeWarm(&warmLink);
    return true;
  }();
  (void)hooked;
}

TJVCLBaseListView::~TJVCLBaseListView() {
  releaseAllItems();
  if (items_) items_->SetOwnerView(nullptr);
}

const rt::ClassInfo& TJVCLBaseListView::VCLClass() const { return fw::TListView::StaticClassInfo(); }

void TJVCLBaseListView::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  if (!items_) items_ = TJRef<TJVCLBaseListItems>(TJObject::Create<TJVCLBaseListItems>(Engine(), nullptr, false));
  if (!column_)
    column_ = TJRef<TJVCLBaseListColumns>(TJObject::Create<TJVCLBaseListColumns>(Engine(), nullptr, false));
}

bool TJVCLBaseListView::AttachVCL(rt::TPersistent* object, bool owned) {
  if (!TJVCLWinControl::AttachVCL(object, owned)) return false;
  fw::TCustomListView* lv = ListView();
  if (items_ && lv) {
    items_->AttachVCL(lv->Items(), false);
    items_->TrackLiveness(lv->Items()->LivenessToken());
    items_->SetOwnerView(this);
  }
  if (column_ && lv) {
    column_->AttachVCL(lv->Columns(), false);
    column_->TrackLiveness(lv->Columns()->LivenessToken());
  }
  return true;
}

void TJVCLBaseListView::releaseAllItems() {
  fw::TCustomListView* lv = ListView();
  if (!lv || lv->OwnerData()) return;
  for (fw::TListItem* item : lv->Items()->List())
    if (item->BridgeLink()) ReleaseItem(item);
}

void TJVCLBaseListView::ReleaseVCL() {
  // Stored item wrappers of an adopted view let their items go with the view's wrapper.
  if (ListView() && !Owned()) releaseAllItems();
  TJVCLWinControl::ReleaseVCL();
  if (items_) items_->ReleaseVCL();
  if (column_) column_->ReleaseVCL();
}

void TJVCLBaseListView::Dispose() {
  releaseAllItems();
  if (items_) {
    items_->SetOwnerView(nullptr);
    items_->ReleaseVCL();
  }
  if (column_) column_->ReleaseVCL();
  items_.reset();
  column_.reset();
  compareBox_.Reset();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseListView::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("alphaSort", &TJVCLBaseListView::DoAlphaSort);
  RegistMethod("arrange", &TJVCLBaseListView::DoArrange);
  RegistMethod("findCaption", &TJVCLBaseListView::DoFindCaption);
  RegistMethod("findData", &TJVCLBaseListView::DoFindData);
  RegistMethod("getHitTestInfoAt", &TJVCLBaseListView::DoGetHitTestInfoAt);
  RegistMethod("getItemAt", &TJVCLBaseListView::DoGetItemAt);
  RegistMethod("getNearestItem", &TJVCLBaseListView::DoGetNearestItem);
  RegistMethod("getNextItem", &TJVCLBaseListView::DoGetNextItem);
  RegistMethod("getSearchString", &TJVCLBaseListView::DoGetSearchString);
  RegistMethod("isEditing", &TJVCLBaseListView::DoIsEditing);
  RegistMethod("scroll", &TJVCLBaseListView::DoScroll);
  RegistMethod("stringWidth", &TJVCLBaseListView::DoStringWidth);
  RegistMethod("updateItems", &TJVCLBaseListView::DoUpdateItems);
}

// ---- item wrappers ----

void TJVCLBaseListView::BindItem(fw::TListItem* item) {
  fw::TCustomListView* lv = ListView();
  if (!lv || lv->OwnerData() || !item || item->BridgeLink()) return;
  auto* w = TJObject::Create<TJVCLBaseListItem>(Engine(), nullptr, true);
  w->IncRef();  // the view's reference, released with the item
  w->SetStored();
  w->AttachVCL(item, false);
  w->SetListViewWrapper(this);
  item->SetBridgeLink(w);
}

void TJVCLBaseListView::ReleaseItem(fw::TListItem* item) {
  if (!item) return;
  auto* w = static_cast<TJVCLBaseListItem*>(item->BridgeLink());
  if (!w) return;
  item->SetBridgeLink(nullptr);
  w->Detach();
  w->DecRef();
}

TJObject* TJVCLBaseListView::WrapListItem(fw::TListItem* item) {
  // A deleted item (a handler deleted it while it was being added, say) has no wrapper any more.
  if (!item || item->Deleted()) return nullptr;
  if (auto* w = static_cast<TJVCLBaseListItem*>(item->BridgeLink())) return w;
  fw::TCustomListView* lv = ListView();
  if (lv && !lv->OwnerData() && item->ListView() == lv && lv->Items()->IndexOf(item) >= 0) {
    // An item that was there before the view was wrapped gets its wrapper now, for good.
    BindItem(item);
    if (item->BridgeLink()) return static_cast<TJVCLBaseListItem*>(item->BridgeLink());
  }
  auto* w = TJObject::Create<TJVCLBaseListItem>(Engine(), nullptr, true);
  TJKeepAlive keep(w);
  w->AttachVCL(item, false);
  w->SetListViewWrapper(this);
  return w;
}

TJObject* TJVCLBaseListView::WrapIndex(int32_t index) {
  fw::TCustomListView* lv = ListView();
  if (!lv || index < 0 || index >= lv->Items()->Count()) return nullptr;
  if (!lv->OwnerData()) return WrapListItem(lv->Items()->Item(index));
  std::unique_ptr<fw::TListItem> item(lv->DataItem(index));
  auto* w = TJObject::Create<TJVCLBaseListItem>(Engine(), nullptr, true);
  TJKeepAlive keep(w);
  w->AttachVCL(item.release(), true);
  w->SetListViewWrapper(this);
  return w;
}

TJObject* TJVCLBaseListView::wrapOrNull(fw::TListItem* item) const {
  return const_cast<TJVCLBaseListView*>(this)->WrapListItem(item);
}

// ---- properties ----

TJObject* TJVCLBaseListView::GetItems() const { return items_.get(); }
TJObject* TJVCLBaseListView::GetColumn() const { return column_.get(); }

TJObject* TJVCLBaseListView::GetDropTarget() const {
  Check();
  const int32_t i = ListView()->DropTargetIndex();
  return i < 0 ? nullptr : const_cast<TJVCLBaseListView*>(this)->WrapIndex(i);
}

void TJVCLBaseListView::SetDropTarget(TJObject* item) {
  Check();
  TJValue v;
  if (item) v.SetObject(item);
  else v.SetNull();
  fw::TListItem* it = nullptr;
  if (!ValueToListItem(v, it)) RaiseArgumentsError();
  Guard([&] { ListView()->SetDropTarget(it); });
}

TJObject* TJVCLBaseListView::GetItemFocused() const {
  Check();
  const int32_t i = ListView()->FocusedIndex();
  return i < 0 ? nullptr : const_cast<TJVCLBaseListView*>(this)->WrapIndex(i);
}

void TJVCLBaseListView::SetItemFocused(TJObject* item) {
  Check();
  TJValue v;
  if (item) v.SetObject(item);
  else v.SetNull();
  fw::TListItem* it = nullptr;
  if (!ValueToListItem(v, it)) RaiseArgumentsError();
  Guard([&] { ListView()->SetItemFocused(it); });
}

TJObject* TJVCLBaseListView::GetSelected() const {
  Check();
  const int32_t i = ListView()->SelectedIndex();
  return i < 0 ? nullptr : const_cast<TJVCLBaseListView*>(this)->WrapIndex(i);
}

void TJVCLBaseListView::SetSelected(TJObject* item) {
  Check();
  TJValue v;
  if (item) v.SetObject(item);
  else v.SetNull();
  fw::TListItem* it = nullptr;
  if (!ValueToListItem(v, it)) RaiseArgumentsError();
  Guard([&] { ListView()->SetSelected(it); });
}

TJObject* TJVCLBaseListView::GetTopItem() const {
  Check();
  fw::TCustomListView* lv = ListView();
  if (lv->Items()->Count() == 0) return nullptr;
  return const_cast<TJVCLBaseListView*>(this)->WrapIndex(std::min(lv->TopIndex(), lv->Items()->Count() - 1));
}

int32_t TJVCLBaseListView::GetItemIndex() const {
  Check();
  return ListView()->ItemIndex();
}

void TJVCLBaseListView::SetItemIndex(int32_t index) {
  Check();
  Guard([&] { ListView()->SetItemIndex(index); });
}

int32_t TJVCLBaseListView::GetSelCount() const {
  Check();
  return ListView()->SelCount();
}

int32_t TJVCLBaseListView::GetVisibleRowCount() const {
  Check();
  return ListView()->VisibleRowCount();
}

TJObject* TJVCLBaseListView::GetViewOrigin() const {
  Check();
  return NewPoint(Engine(), ListView()->ViewOrigin());
}

TJObject* TJVCLBaseListView::GetBoundingRect() const {
  Check();
  return NewRect(Engine(), ListView()->BoundingRect());
}

// ---- natives ----

void TJVCLBaseListView::DoAlphaSort(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool ok = false;
  Guard([&] { ok = ListView()->AlphaSort(); });
  result.SetBool(ok);
}

void TJVCLBaseListView::DoArrange(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const int code = enumArg((*args)[0], enumTypeOf(fw::arDefault));
  if (code < 0) RaiseArgumentsError();
  result.SetObject(this);
  Guard([&] { ListView()->Arrange(fw::TListArrangement(code)); });
}

void TJVCLBaseListView::DoFindCaption(TJValueList* args, TJValue& result) {
  CheckVCL(args, 5);
  const int32_t start = AsInteger(&(*args)[0]);
  const std::string value = AsString(&(*args)[1]);
  const bool partial = Truth((*args)[2]), inclusive = Truth((*args)[3]), wrap = Truth((*args)[4]);
  fw::TListItem* item = nullptr;
  fw::TCustomListView* lv = ListView();
  int32_t index = -1;
  Guard([&] {
    item = lv->FindCaption(start, value, partial, inclusive, wrap);
    index = item ? item->Index() : -1;
  });
  if (!item) {
    result.SetNull();
    return;
  }
  TJObject* w = lv->OwnerData() ? WrapIndex(index) : WrapListItem(item);
  if (w) result.SetObject(w);
  else result.SetNull();
}

void TJVCLBaseListView::DoFindData(TJValueList*, TJValue& result) { result.Clear(); }

void TJVCLBaseListView::DoGetHitTestInfoAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  fw::THitTests hits;
  Guard([&] { hits = ListView()->GetHitTestInfoAt(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
  result.SetString(SetText(hits));
}

void TJVCLBaseListView::DoGetItemAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  int32_t index = -1;
  Guard([&] { index = ListView()->IndexAt(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
  TJObject* w = index < 0 ? nullptr : WrapIndex(index);
  if (w) result.SetObject(w);
  else result.SetNull();
}

void TJVCLBaseListView::DoGetNearestItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  fw::TPoint p;
  if (!ReadPoint((*args)[0], p)) RaiseArgumentsError();
  const int dir = enumArg((*args)[1], enumTypeOf(fw::sdAll));
  if (dir < 0) RaiseArgumentsError();
  fw::TListItem* item = nullptr;
  int32_t index = -1;
  Guard([&] {
    item = ListView()->GetNearestItem(p, fw::TSearchDirection(dir));
    index = item ? item->Index() : -1;
  });
  TJObject* w = index < 0 ? nullptr : WrapIndex(index);
  if (w) result.SetObject(w);
  else result.SetNull();
}

void TJVCLBaseListView::DoGetNextItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 3);
  fw::TListItem* start = nullptr;
  if (!ValueToListItem((*args)[0], start)) RaiseArgumentsError();
  const int dir = enumArg((*args)[1], enumTypeOf(fw::sdAll));
  if (dir < 0) RaiseArgumentsError();
  fw::TItemStates states;
  if (!parseStates(AsString(&(*args)[2]), states)) RaiseArgumentsError();
  fw::TListItem* item = nullptr;
  int32_t index = -1;
  Guard([&] {
    item = ListView()->GetNextItem(start, fw::TSearchDirection(dir), states);
    index = item ? item->Index() : -1;
  });
  TJObject* w = index < 0 ? nullptr : WrapIndex(index);
  if (w) result.SetObject(w);
  else result.SetNull();
}

void TJVCLBaseListView::DoGetSearchString(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetString(ListView()->SearchString());
}

void TJVCLBaseListView::DoIsEditing(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(ListView()->IsEditing());
}

void TJVCLBaseListView::DoScroll(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  Guard([&] { ListView()->Scroll(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
}

void TJVCLBaseListView::DoStringWidth(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  int32_t w = 0;
  Guard([&] { w = ListView()->StringWidth(AsString(&(*args)[0])); });
  result.SetInteger(w);
}

void TJVCLBaseListView::DoUpdateItems(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  Guard([&] { ListView()->UpdateItems(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
}

// ---- events ----

namespace {

TJVCLBaseListView* self(void* p) { return static_cast<TJVCLBaseListView*>(p); }

void addItem(TJVCLBaseListView* w, TJValueList& args, fw::TListItem* item) {
  TJObject* o = w->WrapListItem(item);
  if (o) args.AddObject(o);
  else args.Add(TJValue::Null());
}

void handleAdvancedCustomDraw(void* p, fw::TCustomListView* sender, const fw::TRect& r, fw::TCustomDrawStage stage,
                              bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onAdvancedCustomDraw", sender,
      [&](TJValueList& args) {
        args.AddObject(NewRect(w->Engine(), r));
        args.Add(TJValue::String(EnumText(stage)));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[3], defaultDraw); });
}

void handleAdvancedCustomDrawItem(void* p, fw::TCustomListView* sender, fw::TListItem* item,
                                  fw::TCustomDrawState state, fw::TCustomDrawStage stage, bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onAdvancedCustomDrawItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::String(SetText(state)));
        args.Add(TJValue::String(EnumText(stage)));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[4], defaultDraw); });
}

void handleAdvancedCustomDrawSubItem(void* p, fw::TCustomListView* sender, fw::TListItem* item, int32_t subItem,
                                     fw::TCustomDrawState state, fw::TCustomDrawStage stage, bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onAdvancedCustomDrawSubItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::Integer(subItem));
        args.Add(TJValue::String(SetText(state)));
        args.Add(TJValue::String(EnumText(stage)));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[5], defaultDraw); });
}

void handleChange(void* p, fw::TObject* sender, fw::TListItem* item, fw::TItemChange change) {
  auto* w = self(p);
  w->Fire(
      "onChange", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::String(EnumText(change)));
      },
      [](TJValueList&) {});
}

void handleChanging(void* p, fw::TObject* sender, fw::TListItem* item, fw::TItemChange change, bool& allow) {
  auto* w = self(p);
  w->Fire(
      "onChanging", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::String(EnumText(change)));
        args.AddObject(NewBooleanBox(w->Engine(), allow));
      },
      [&](TJValueList& args) { allow = BooleanBoxValue(args[3], allow); });
}

void handleColumnClick(void* p, fw::TObject* sender, fw::TListColumn* column) {
  auto* w = self(p);
  w->Fire(
      "onColumnClick", sender,
      [&](TJValueList& args) {
        auto* cols = static_cast<TJVCLBaseListColumns*>(w->GetColumn());
        args.AddObject(cols->WrapColumn(column));
      },
      [](TJValueList&) {});
}

void handleColumnDragged(void* p, fw::TObject* sender) { self(p)->FireNotify("onColumnDragged", sender); }

void handleColumnRightClick(void* p, fw::TObject* sender, fw::TListColumn* column, fw::TPoint point) {
  auto* w = self(p);
  w->Fire(
      "onColumnRightClick", sender,
      [&](TJValueList& args) {
        auto* cols = static_cast<TJVCLBaseListColumns*>(w->GetColumn());
        args.AddObject(cols->WrapColumn(column));
        args.AddObject(NewPoint(w->Engine(), point));
      },
      [](TJValueList&) {});
}

// Without a script comparer the items go in the order of their captions (an unanswered
// comparison would otherwise leave every pair equal and the sort would do nothing).
void handleCompare(void* p, fw::TObject* sender, fw::TListItem* a, fw::TListItem* b, int32_t data, int32_t& compare) {
  auto* w = self(p);
  TJValue handler;
  if (!w->FindHandler("onCompare", handler)) {
    compare = fw::CompareCaptions(a, b);
    return;
  }
  w->FireHandler(
      handler, sender,
      [&](TJValueList& args) {
        addItem(w, args, a);
        addItem(w, args, b);
        args.Add(TJValue::Integer(data));
        args.AddObject(w->CompareBox(compare));
      },
      [&](TJValueList& args) { compare = NumberBoxValue(args[4], compare); });
}

void handleCustomDraw(void* p, fw::TCustomListView* sender, const fw::TRect& r, bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onCustomDraw", sender,
      [&](TJValueList& args) {
        args.AddObject(NewRect(w->Engine(), r));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[2], defaultDraw); });
}

void handleCustomDrawItem(void* p, fw::TCustomListView* sender, fw::TListItem* item, fw::TCustomDrawState state,
                          bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onCustomDrawItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::String(SetText(state)));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[3], defaultDraw); });
}

void handleCustomDrawSubItem(void* p, fw::TCustomListView* sender, fw::TListItem* item, int32_t subItem,
                             fw::TCustomDrawState state, bool& defaultDraw) {
  auto* w = self(p);
  w->Fire(
      "onCustomDrawSubItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::Integer(subItem));
        args.Add(TJValue::String(SetText(state)));
        args.AddObject(NewBooleanBox(w->Engine(), defaultDraw));
      },
      [&](TJValueList& args) { defaultDraw = BooleanBoxValue(args[4], defaultDraw); });
}

void handleData(void* p, fw::TObject* sender, fw::TListItem* item) {
  auto* w = self(p);
  w->Fire("onData", sender, [&](TJValueList& args) { addItem(w, args, item); }, [](TJValueList&) {});
}

void handleDataFind(void* p, fw::TObject* sender, fw::TItemFind find, const std::string& findString,
                    const fw::TPoint& findPosition, int32_t findData, int32_t startIndex,
                    fw::TSearchDirection direction, bool wrap, int32_t& index) {
  auto* w = self(p);
  w->Fire(
      "onDataFind", sender,
      [&](TJValueList& args) {
        args.Add(TJValue::String(EnumText(find)));
        args.Add(TJValue::String(findString));
        args.AddObject(NewPoint(w->Engine(), findPosition));
        args.Add(TJValue::Integer(findData));
        args.Add(TJValue::Integer(startIndex));
        args.Add(TJValue::String(EnumText(direction)));
        args.Add(TJValue::Bool(wrap));
        args.AddObject(NewNumberBox(w->Engine(), index));
      },
      [&](TJValueList& args) { index = NumberBoxValue(args[8], index); });
}

void handleDataHint(void* p, fw::TObject* sender, int32_t startIndex, int32_t endIndex) {
  auto* w = self(p);
  w->Fire(
      "onDataHint", sender,
      [&](TJValueList& args) {
        args.Add(TJValue::Integer(startIndex));
        args.Add(TJValue::Integer(endIndex));
      },
      [](TJValueList&) {});
}

void handleDataStateChange(void* p, fw::TObject* sender, int32_t startIndex, int32_t endIndex,
                           fw::TItemStates oldState, fw::TItemStates newState) {
  auto* w = self(p);
  w->Fire(
      "onDataStateChange", sender,
      [&](TJValueList& args) {
        args.Add(TJValue::Integer(startIndex));
        args.Add(TJValue::Integer(endIndex));
        args.Add(TJValue::String(SetText(oldState)));
        args.Add(TJValue::String(SetText(newState)));
      },
      [](TJValueList&) {});
}

void handleDeletion(void* p, fw::TObject* sender, fw::TListItem* item) {
  auto* w = self(p);
  fw::TDispatchScope scope;
  TJKeepAlive keep(w);
  try {
    w->Fire("onDeletion", sender, [&](TJValueList& args) { addItem(w, args, item); }, [](TJValueList&) {});
  } catch (...) {
    w->ReleaseItem(item);
    throw;
  }
  w->ReleaseItem(item);
}

void handleDrawItem(void* p, fw::TCustomListView* sender, fw::TListItem* item, fw::TRect r, fw::TOwnerDrawState state) {
  auto* w = self(p);
  w->Fire(
      "onDrawItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.AddObject(NewRect(w->Engine(), r));
        args.Add(TJValue::String(SetText(state)));
      },
      [](TJValueList&) {});
}

void handleEdited(void* p, fw::TObject* sender, fw::TListItem* item, std::string& text) {
  auto* w = self(p);
  w->Fire(
      "onEdited", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.AddObject(NewStringBox(w->Engine(), text));
      },
      [&](TJValueList& args) { text = StringBoxValue(args[2]); });
}

void handleEditing(void* p, fw::TObject* sender, fw::TListItem* item, bool& allow) {
  auto* w = self(p);
  w->Fire(
      "onEditing", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.AddObject(NewBooleanBox(w->Engine(), allow));
      },
      [&](TJValueList& args) { allow = BooleanBoxValue(args[2], allow); });
}

void handleGetImageIndex(void* p, fw::TObject* sender, fw::TListItem* item) {
  auto* w = self(p);
  w->Fire("onGetImageIndex", sender, [&](TJValueList& args) { addItem(w, args, item); }, [](TJValueList&) {});
}

void handleGetSubItemImage(void* p, fw::TObject* sender, fw::TListItem* item, int32_t subItem, int32_t& image) {
  auto* w = self(p);
  w->Fire(
      "onGetSubItemImage", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::Integer(subItem));
        args.AddObject(NewNumberBox(w->Engine(), image));
      },
      [&](TJValueList& args) { image = NumberBoxValue(args[3], image); });
}

void handleInfoTip(void* p, fw::TObject* sender, fw::TListItem* item, std::string& tip) {
  auto* w = self(p);
  w->Fire(
      "onInfoTip", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.AddObject(NewStringBox(w->Engine(), tip));
      },
      [&](TJValueList& args) { tip = StringBoxValue(args[2]); });
}

void handleInsert(void* p, fw::TObject* sender, fw::TListItem* item) {
  auto* w = self(p);
  w->BindItem(item);
  w->Fire("onInsert", sender, [&](TJValueList& args) { addItem(w, args, item); }, [](TJValueList&) {});
}

void handleSelectItem(void* p, fw::TObject* sender, fw::TListItem* item, bool selected) {
  auto* w = self(p);
  w->Fire(
      "onSelectItem", sender,
      [&](TJValueList& args) {
        addItem(w, args, item);
        args.Add(TJValue::Bool(selected));
      },
      [](TJValueList&) {});
}

}  // namespace

void TJVCLBaseListView::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  HookWinControlEvents(true);
  Hook<konResize>(ListView()->OnResize);
  fw::TCustomListView* lv = ListView();
  lv->OnAdvancedCustomDraw = fw::TLVAdvancedCustomDrawEvent(&handleAdvancedCustomDraw, this);
  lv->OnAdvancedCustomDrawItem = fw::TLVAdvancedCustomDrawItemEvent(&handleAdvancedCustomDrawItem, this);
  lv->OnAdvancedCustomDrawSubItem = fw::TLVAdvancedCustomDrawSubItemEvent(&handleAdvancedCustomDrawSubItem, this);
  lv->OnChange = fw::TLVChangeEvent(&handleChange, this);
  lv->OnChanging = fw::TLVChangingEvent(&handleChanging, this);
  lv->OnColumnClick = fw::TLVColumnClickEvent(&handleColumnClick, this);
  lv->OnColumnDragged = fw::TNotifyEvent(&handleColumnDragged, this);
  lv->OnColumnRightClick = fw::TLVColumnRClickEvent(&handleColumnRightClick, this);
  lv->OnCompare = fw::TLVCompareEvent(&handleCompare, this);
  lv->OnCustomDraw = fw::TLVCustomDrawEvent(&handleCustomDraw, this);
  lv->OnCustomDrawItem = fw::TLVCustomDrawItemEvent(&handleCustomDrawItem, this);
  lv->OnCustomDrawSubItem = fw::TLVCustomDrawSubItemEvent(&handleCustomDrawSubItem, this);
  lv->OnData = fw::TLVOwnerDataEvent(&handleData, this);
  lv->OnDataFind = fw::TLVOwnerDataFindEvent(&handleDataFind, this);
  lv->OnDataHint = fw::TLVOwnerDataHintEvent(&handleDataHint, this);
  lv->OnDataStateChange = fw::TLVOwnerDataStateChangeEvent(&handleDataStateChange, this);
  lv->OnDeletion = fw::TLVDeletedEvent(&handleDeletion, this);
  lv->OnDrawItem = fw::TLVDrawItemEvent(&handleDrawItem, this);
  lv->OnEdited = fw::TLVEditedEvent(&handleEdited, this);
  lv->OnEditing = fw::TLVEditingEvent(&handleEditing, this);
  lv->OnGetImageIndex = fw::TLVOwnerDataEvent(&handleGetImageIndex, this);
  lv->OnGetSubItemImage = fw::TLVSubItemImageEvent(&handleGetSubItemImage, this);
  lv->OnInfoTip = fw::TLVInfoTipEvent(&handleInfoTip, this);
  lv->OnInsert = fw::TLVDeletedEvent(&handleInsert, this);
  lv->OnSelectItem = fw::TLVSelectItemEvent(&handleSelectItem, this);
}

}  // namespace gui
