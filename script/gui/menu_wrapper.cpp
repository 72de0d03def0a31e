#include "script/gui/menu_wrapper.h"

#include <algorithm>

#include "script/gui/caster.h"

namespace gui {

using namespace engine;

namespace {

const char* const kFindKinds[] = {"fkCommand", "fkHandle", "fkShortCut"};

}  // namespace

// ---- menu items ----

const rt::ClassInfo& TJVCLBaseMenuItem::StaticClassInfo() {
  using T = TJVCLBaseMenuItem;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseMenuItem", &TJVCLComponent::StaticClassInfo())
                                         .property("Command", &T::GetCommand)
                                         .property("Handle", &T::GetHandle)
                                         .property("Count", &T::GetItemCount)
                                         .property("MenuIndex", &T::GetMenuIndex, &T::SetMenuIndex)
                                         .property("Parent", &T::GetParentItem)
                                         .property("action", &TJVCLComponent::GetAction, &TJVCLComponent::SetAction)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLMenuItem, TJVCLBaseMenuItem)

TJVCLBaseMenuItem::TJVCLBaseMenuItem(TJBaseEngine* engine, TJValueList* param) : TJVCLComponent(engine, param) {
  RegistName("VCLMenuItem");
}

const rt::ClassInfo& TJVCLBaseMenuItem::VCLClass() const { return fw::TMenuItem::StaticClassInfo(); }

void TJVCLBaseMenuItem::RegistMethods() {
  TJVCLComponent::RegistMethods();
  using T = TJVCLBaseMenuItem;
  RegistMethod("add", &T::DoAdd);
  RegistMethod("insert", &T::DoInsert);
  RegistMethod("delete", &T::DoDelete);
  RegistMethod("clear", &T::DoClear);
  RegistMethod("click", &T::DoClick);
  RegistMethod("find", &T::DoFind);
  RegistMethod("indexOf", &T::DoIndexOf);
  RegistMethod("isLine", &T::DoIsLine);
  RegistMethod("getParentMenu", &T::DoGetParentMenu);
  RegistMethod("newTopLine", &T::DoNewTopLine);
  RegistMethod("newBottomLine", &T::DoNewBottomLine);
  RegistMethod("insertNewLineBefore", &T::DoInsertNewLineBefore);
  RegistMethod("insertNewLineAfter", &T::DoInsertNewLineAfter);
  RegistMethod("remove", &T::DoRemove);
  RegistMethod("rethinkHotkeys", &T::DoRethinkHotkeys);
  RegistMethod("rethinkLines", &T::DoRethinkLines);
  RegistMethod("items", &T::DoItems);
  RegistMethod("initiateAction", &T::DoInitiateAction);
}

void TJVCLBaseMenuItem::HookEvents() {
  TJVCLComponent::HookEvents();
  if (!Item()->Action()) Hook<konClick>(Item()->OnClick);
}

void TJVCLBaseMenuItem::ReleaseVCL() {
  kept_.clear();
  TJVCLComponent::ReleaseVCL();
}

void TJVCLBaseMenuItem::Dispose() {
  kept_.clear();
  TJVCLComponent::Dispose();
}

fw::TMenuItem* TJVCLBaseMenuItem::ItemOf(const TJValue& value) {
  auto* wrapper = dynamic_cast<TJVCLBaseMenuItem*>(value.vObject());
  return wrapper ? wrapper->Item() : nullptr;
}

void TJVCLBaseMenuItem::SetWrapped(TJValue& result, rt::TPersistent* object) {
  TJObject* wrapper = object ? GetCaster().Cast(object, Engine()) : nullptr;
  if (wrapper)
    result.SetObject(wrapper);
  else
    result.SetNull();
}

void TJVCLBaseMenuItem::KeepChildren() {
  // The new list is whole before the old one lets go: a child only this list holds must not go
  // (and leave the menu) while the list is rebuilt.
  std::vector<TJRef<TJObject>> kept;
  if (fw::TMenuItem* item = Item()) {
    for (int i = 0; i < item->Count(); ++i) {
      auto* child = static_cast<TJVCLBaseMenuItem*>(item->Items(i)->BridgeLink());
      if (child && child->Owned() && !child->IsDisposed()) kept.emplace_back(child);
    }
  }
  kept_.swap(kept);
}

int32_t TJVCLBaseMenuItem::GetCount() { return Item() ? Item()->Count() : 0; }

void TJVCLBaseMenuItem::GetItem(int32_t index, TJValue& value) {
  if (!Item() || index < 0 || index >= Item()->Count()) {
    value.Clear();
    return;
  }
  SetWrapped(value, Item()->Items(index));
}

int32_t TJVCLBaseMenuItem::GetCommand() const {
  const_cast<TJVCLBaseMenuItem*>(this)->CheckVCL(nullptr, 0);
  return Item()->Command();
}

int32_t TJVCLBaseMenuItem::GetHandle() const {
  const_cast<TJVCLBaseMenuItem*>(this)->CheckVCL(nullptr, 0);
  return int32_t(Item()->Handle());
}

int32_t TJVCLBaseMenuItem::GetItemCount() const {
  const_cast<TJVCLBaseMenuItem*>(this)->CheckVCL(nullptr, 0);
  return Item()->Count();
}

int32_t TJVCLBaseMenuItem::GetMenuIndex() const {
  const_cast<TJVCLBaseMenuItem*>(this)->CheckVCL(nullptr, 0);
  return Item()->MenuIndex();
}

void TJVCLBaseMenuItem::SetMenuIndex(int32_t index) {
  CheckVCL(nullptr, 0);
  Guard([&] { Item()->SetMenuIndex(index); });
}

TJVCLPersistent* TJVCLBaseMenuItem::GetParentItem() const {
  const_cast<TJVCLBaseMenuItem*>(this)->CheckVCL(nullptr, 0);
  fw::TMenuItem* parent = Item()->Parent();
  if (!parent) return nullptr;
  return dynamic_cast<TJVCLPersistent*>(GetCaster().Cast(parent, Engine()));
}

void TJVCLBaseMenuItem::DoAdd(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  std::vector<fw::TMenuItem*> items;
  for (int32_t i = 0; i < args->Count(); ++i)
    if (fw::TMenuItem* item = ItemOf((*args)[i])) items.push_back(item);
  Guard([&] { Item()->Add(items); });
  KeepChildren();
}

void TJVCLBaseMenuItem::DoInsert(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  int32_t index = AsInteger(&(*args)[0]);
  fw::TMenuItem* item = ItemOf((*args)[1]);
  if (!item) return;
  Guard([&] { Item()->Insert(index, item); });
  KeepChildren();
}

void TJVCLBaseMenuItem::DoDelete(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  int32_t index = AsInteger(&(*args)[0]);
  if (index < 0 || index >= Item()->Count()) return;
  TJKeepAlive keep(this);
  Guard([&] { Item()->Delete(index); });
  KeepChildren();
}

void TJVCLBaseMenuItem::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { Item()->Clear(); });
  KeepChildren();
}

void TJVCLBaseMenuItem::DoClick(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { Item()->Click(); });
}

void TJVCLBaseMenuItem::DoFind(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  std::string caption = AsString(&(*args)[0]);
  fw::TMenuItem* found = nullptr;
  Guard([&] { found = Item()->Find(caption); });
  SetWrapped(result, found);
}

void TJVCLBaseMenuItem::DoIndexOf(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetInteger(-1);
  fw::TMenuItem* item = ItemOf((*args)[0]);
  if (item) result.SetInteger(Item()->IndexOf(item));
}

void TJVCLBaseMenuItem::DoIsLine(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(Item()->IsLine());
}

void TJVCLBaseMenuItem::DoGetParentMenu(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetNull();
  SetWrapped(result, Item()->GetParentMenu());
}

void TJVCLBaseMenuItem::DoNewTopLine(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  int index = -1;
  Guard([&] { index = Item()->NewTopLine(); });
  result.SetInteger(index);
}

void TJVCLBaseMenuItem::DoNewBottomLine(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  int index = -1;
  Guard([&] { index = Item()->NewBottomLine(); });
  result.SetInteger(index);
}

void TJVCLBaseMenuItem::DoInsertNewLineBefore(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetInteger(-1);
  fw::TMenuItem* item = ItemOf((*args)[0]);
  if (!item) return;
  int index = -1;
  Guard([&] { index = Item()->InsertNewLineBefore(item); });
  result.SetInteger(index);
}

void TJVCLBaseMenuItem::DoInsertNewLineAfter(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetInteger(-1);
  fw::TMenuItem* item = ItemOf((*args)[0]);
  if (!item) return;
  int index = -1;
  Guard([&] { index = Item()->InsertNewLineAfter(item); });
  result.SetInteger(index);
}

void TJVCLBaseMenuItem::DoRemove(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  fw::TMenuItem* item = ItemOf((*args)[0]);
  if (!item) return;
  TJKeepAlive keep(this);
  // The item's wrapper stays with the script: it is let go of after the item is out.
  TJRef<TJObject> child(static_cast<TJObject*>(static_cast<TJVCLComponent*>(item->BridgeLink())));
  Guard([&] { Item()->Remove(item); });
  KeepChildren();
}

void TJVCLBaseMenuItem::DoRethinkHotkeys(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool changed = false;
  Guard([&] { changed = Item()->RethinkHotkeys(); });
  result.SetBool(changed);
}

void TJVCLBaseMenuItem::DoRethinkLines(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  bool changed = false;
  Guard([&] { changed = Item()->RethinkLines(); });
  result.SetBool(changed);
}

void TJVCLBaseMenuItem::DoItems(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  int32_t index = AsInteger(&(*args)[0]);
  if (index < 0 || index >= Item()->Count()) RaiseArgumentsError();
  SetWrapped(result, Item()->Items(index));
}

void TJVCLBaseMenuItem::DoInitiateAction(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  TJKeepAlive keep(this);
  Guard([&] { Item()->InitiateAction(); });
}

// ---- menus ----

const rt::ClassInfo& TJVCLBaseMenu::StaticClassInfo() {
  using T = TJVCLBaseMenu;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseMenu", &TJVCLComponent::StaticClassInfo())
                                         .property("Handle", &T::GetHandle)
                                         .property("WindowHandle", &T::GetWindowHandle, &T::SetWindowHandle)
                                         .property("items", &T::GetItems)
                                         .build();
  return info;
}

TJVCLBaseMenu::TJVCLBaseMenu(TJBaseEngine* engine, TJValueList* param) : TJVCLComponent(engine, param) {
  RegistName("VCLMenu");
}

const rt::ClassInfo& TJVCLBaseMenu::VCLClass() const { return fw::TMenu::StaticClassInfo(); }

void TJVCLBaseMenu::RegistMethods() {
  TJVCLComponent::RegistMethods();
  RegistMethod("dispatchCommand", &TJVCLBaseMenu::DoDispatchCommand);
  RegistMethod("dispatchPopup", &TJVCLBaseMenu::DoDispatchPopup);
  RegistMethod("findItem", &TJVCLBaseMenu::DoFindItem);
  RegistMethod("getHelpContext", &TJVCLBaseMenu::DoGetHelpContext);
}

void TJVCLBaseMenu::ReleaseVCL() {
  fw::TMenu* menu = Menu();
  TJRef<TJObject> items = items_;
  TJVCLComponent::ReleaseVCL();
  // An adopted menu stays; its root item's wrapper lets go of it as this one did of the menu.
  auto* wrapper = dynamic_cast<TJVCLBaseMenuItem*>(items.get());
  if (menu && wrapper && wrapper->VCL() && !wrapper->IsDisposed()) wrapper->ReleaseVCL();
}

void TJVCLBaseMenu::Dispose() {
  TJVCLComponent::Dispose();
  items_ = TJRef<TJObject>();
}

int32_t TJVCLBaseMenu::GetHandle() const {
  const_cast<TJVCLBaseMenu*>(this)->CheckVCL(nullptr, 0);
  return int32_t(Menu()->Handle());
}

int32_t TJVCLBaseMenu::GetWindowHandle() const {
  const_cast<TJVCLBaseMenu*>(this)->CheckVCL(nullptr, 0);
  return int32_t(Menu()->WindowHandle());
}

void TJVCLBaseMenu::SetWindowHandle(int32_t handle) {
  CheckVCL(nullptr, 0);
  Menu()->SetWindowHandle(fw::HWND(handle));
}

TJVCLPersistent* TJVCLBaseMenu::GetItems() const {
  const_cast<TJVCLBaseMenu*>(this)->CheckVCL(nullptr, 0);
  TJObject* wrapper = GetCaster().Cast(Menu()->Items(), Engine());
  if (items_.get() != wrapper) items_ = TJRef<TJObject>(wrapper);
  return dynamic_cast<TJVCLPersistent*>(wrapper);
}

void TJVCLBaseMenu::DoDispatchCommand(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(false);
  int32_t command = AsInteger(&(*args)[0]);
  TJKeepAlive keep(this);
  bool found = false;
  Guard([&] { found = command >= 0 && command <= 0xFFFF && Menu()->DispatchCommand(uint16_t(command)); });
  result.SetBool(found);
}

void TJVCLBaseMenu::DoDispatchPopup(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(false);
  int32_t handle = AsInteger(&(*args)[0]);
  TJKeepAlive keep(this);
  bool found = false;
  Guard([&] { found = Menu()->DispatchPopup(fw::HWND(handle)); });
  result.SetBool(found);
}

void TJVCLBaseMenu::DoFindItem(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetNull();
  int32_t value = AsInteger(&(*args)[0]);
  const TJValue& kindValue = (*args)[1];
  int kind = -1;
  if (kindValue.ValueType() == vtInteger || kindValue.ValueType() == vtDouble) {
    kind = AsInteger(&kindValue);
  } else {
    std::string name = AsString(&kindValue);
    for (int i = 0; i < 3; ++i)
      if (name == kFindKinds[i]) kind = i;
  }
  if (kind < 0 || kind > 2) return;
  fw::TMenuItem* item = nullptr;
  Guard([&] { item = Menu()->FindItem(value, fw::TFindItemKind(kind)); });
  if (TJObject* wrapper = item ? GetCaster().Cast(item, Engine()) : nullptr) result.SetObject(wrapper);
}

void TJVCLBaseMenu::DoGetHelpContext(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  int32_t value = AsInteger(&(*args)[0]);
  bool byCommand = Truth((*args)[1]);
  int32_t context = 0;
  Guard([&] { context = Menu()->GetHelpContext(value, byCommand); });
  result.SetInteger(context);
}

void TJVCLBaseMenu::HandleChange(void* self, fw::TObject* sender, fw::TMenuItem* source, bool rebuild) {
  auto* wrapper = static_cast<TJVCLBaseMenu*>(self);
  wrapper->Fire(
      konChange, sender,
      [&](TJValueList& args) {
        TJObject* item = source ? GetCaster().Cast(source, wrapper->Engine()) : nullptr;
        // Without a source item the handler still gets a menu item object, one with no item.
        if (!item) item = TJObject::Create<TJVCLBaseMenuItem>(wrapper->Engine(), nullptr, true);
        args.AddObject(item);
        args.AddBool(rebuild);
      },
      [](TJValueList&) {});
}

// ---- main menus ----

const rt::ClassInfo& TJVCLBaseMainMenu::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseMainMenu>("TJVCLBaseMainMenu", &TJVCLBaseMenu::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLMainMenu, TJVCLBaseMainMenu)

TJVCLBaseMainMenu::TJVCLBaseMainMenu(TJBaseEngine* engine, TJValueList* param) : TJVCLBaseMenu(engine, param) {
  RegistName("VCLMainMenu");
}

const rt::ClassInfo& TJVCLBaseMainMenu::VCLClass() const { return fw::TMainMenu::StaticClassInfo(); }

void TJVCLBaseMainMenu::RegistMethods() {
  TJVCLBaseMenu::RegistMethods();
  RegistMethod("merge", &TJVCLBaseMainMenu::DoMerge);
  RegistMethod("unmerge", &TJVCLBaseMainMenu::DoUnmerge);
}

void TJVCLBaseMainMenu::HookEvents() {
  TJVCLBaseMenu::HookEvents();
  MainMenu()->OnChange = fw::TMenuChangeEvent(&HandleChange, this);
}

void TJVCLBaseMainMenu::DoMerge(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  auto* other = dynamic_cast<TJVCLBaseMainMenu*>((*args)[0].vObject());
  if (!other || !other->MainMenu()) return;
  Guard([&] { MainMenu()->Merge(other->MainMenu()); });
}

void TJVCLBaseMainMenu::DoUnmerge(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  auto* other = dynamic_cast<TJVCLBaseMainMenu*>((*args)[0].vObject());
  if (!other || !other->MainMenu()) return;
  Guard([&] { MainMenu()->Unmerge(other->MainMenu()); });
}

// ---- popup menus ----

const rt::ClassInfo& TJVCLBasePopupMenu::StaticClassInfo() {
  using T = TJVCLBasePopupMenu;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBasePopupMenu", &TJVCLBaseMenu::StaticClassInfo())
                                         .property("PopupComponent", &T::GetPopupComponent, &T::SetPopupComponent)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLPopupMenu, TJVCLBasePopupMenu)

TJVCLBasePopupMenu::TJVCLBasePopupMenu(TJBaseEngine* engine, TJValueList* param) : TJVCLBaseMenu(engine, param) {
  RegistName("VCLPopupMenu");
}

const rt::ClassInfo& TJVCLBasePopupMenu::VCLClass() const { return fw::TPopupMenu::StaticClassInfo(); }

void TJVCLBasePopupMenu::RegistMethods() {
  TJVCLBaseMenu::RegistMethods();
  RegistMethod("popup", &TJVCLBasePopupMenu::DoPopup);
}

void TJVCLBasePopupMenu::HookEvents() {
  TJVCLBaseMenu::HookEvents();
  PopupMenu()->OnChange = fw::TMenuChangeEvent(&HandleChange, this);
  Hook<konPopup>(PopupMenu()->OnPopup);
}

TJVCLPersistent* TJVCLBasePopupMenu::GetPopupComponent() const {
  const_cast<TJVCLBasePopupMenu*>(this)->CheckVCL(nullptr, 0);
  fw::TComponent* c = PopupMenu()->PopupComponent();
  return c ? dynamic_cast<TJVCLPersistent*>(GetCaster().Cast(c, Engine())) : nullptr;
}

void TJVCLBasePopupMenu::SetPopupComponent(TJVCLPersistent* component) {
  auto* wrapper = dynamic_cast<TJVCLComponent*>(component);
  if (!PopupMenu() || !wrapper || !wrapper->Component()) return;
  PopupMenu()->SetPopupComponent(wrapper->Component());
}

void TJVCLBasePopupMenu::DoPopup(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  int32_t x = AsInteger(&(*args)[0]);
  int32_t y = AsInteger(&(*args)[1]);
  TJKeepAlive keep(this);
  Guard([&] { PopupMenu()->Popup(x, y); });
}

}  // namespace gui
