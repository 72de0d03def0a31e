#include "script/gui/list_wrapper.h"

#include <algorithm>

#include "platform/rt/utf8.h"
#include "script/gui/values.h"
#include "script/host/strings_object.h"

namespace gui {

using namespace engine;

namespace {

int32_t charsBefore(const std::string& text, int32_t byteOffset) {
  return int32_t(rt::utf8::charIndex(text, size_t(std::clamp<int32_t>(byteOffset, 0, int32_t(text.size())))));
}

int32_t bytesOf(const std::string& text, int32_t charIndex) {
  return int32_t(rt::utf8::byteOffset(text, size_t(std::max(charIndex, 0))));
}

// The check state a value names ("cbChecked") or numbers (1); -1 for anything else.
int stateOf(const TJValue& v) {
  if (v.ValueType() == vtString) return enumTypeOf(fw::cbUnchecked).valueOf(v.vString());
  if (v.ValueType() == vtInteger || v.ValueType() == vtDouble) {
    const double d = AsDouble(&v);
    if (d == 0 || d == 1 || d == 2) return int(d);
  }
  return -1;
}

}  // namespace

// ---- the items field ----

void TJVCLItems::Create(TJBaseEngine* engine) {
  if (!object_) object_ = TJRef<TJObject>(host::WrapStrings(engine, nullptr));
}

TJObject* TJVCLItems::Point(fw::TStrings* list) const {
  auto* strings = dynamic_cast<host::TJBaseStringsObject*>(object_.get());
  if (strings) strings->SetStrings(list);
  return object_.get();
}

void TJVCLItems::Drop() {
  Detach();
  object_.reset();
}

// ---- list box ----

const rt::ClassInfo& TJVCLBaseListBox::StaticClassInfo() {
  using T = TJVCLBaseListBox;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseListBox", &TJVCLWinControl::StaticClassInfo())
                                         .property("ItemIndex", &T::GetItemIndex, &T::SetItemIndex)
                                         .property("Items", &T::GetItems)
                                         .property("SelCount", &T::GetSelCount)
                                         .property("TopIndex", &T::GetTopIndex, &T::SetTopIndex)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLListBox, TJVCLBaseListBox)

TJVCLBaseListBox::TJVCLBaseListBox(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLListBox");
}

TJVCLBaseListBox::~TJVCLBaseListBox() { items_.Detach(); }

const rt::ClassInfo& TJVCLBaseListBox::VCLClass() const { return fw::TListBox::StaticClassInfo(); }

void TJVCLBaseListBox::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  items_.Create(Engine());
}

void TJVCLBaseListBox::ReleaseVCL() {
  TJVCLWinControl::ReleaseVCL();
  items_.Detach();
}

void TJVCLBaseListBox::Dispose() {
  items_.Drop();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseListBox::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("clear", &TJVCLBaseListBox::DoClear);
  RegistMethod("clearSelection", &TJVCLBaseListBox::DoClearSelection);
  RegistMethod("deleteSelected", &TJVCLBaseListBox::DoDeleteSelected);
  RegistMethod("itemAtPos", &TJVCLBaseListBox::DoItemAtPos);
  RegistMethod("itemRect", &TJVCLBaseListBox::DoItemRect);
  RegistMethod("selectAll", &TJVCLBaseListBox::DoSelectAll);
  RegistMethod("selected", &TJVCLBaseListBox::DoSelected);
}

void TJVCLBaseListBox::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  HookWinControlEvents(true);
}

int32_t TJVCLBaseListBox::GetItemIndex() const {
  Check();
  return ListBox()->ItemIndex();
}

void TJVCLBaseListBox::SetItemIndex(int32_t index) {
  Check();
  Guard([&] { ListBox()->SetItemIndex(index); });
}

TJObject* TJVCLBaseListBox::GetItems() const {
  Check();
  return items_.Point(ListBox()->Items());
}

int32_t TJVCLBaseListBox::GetSelCount() const {
  Check();
  return ListBox()->SelCount();
}

int32_t TJVCLBaseListBox::GetTopIndex() const {
  Check();
  return ListBox()->TopIndex();
}

void TJVCLBaseListBox::SetTopIndex(int32_t index) {
  Check();
  Guard([&] { ListBox()->SetTopIndex(index); });
}

int32_t TJVCLBaseListBox::ItemArg(TJValueList* args, int32_t count) {
  CheckVCL(args, count);
  const double d = AsDouble(&(*args)[0]);
  if (!(d >= 0 && d < ListBox()->Count())) return -1;
  return int32_t(d);
}

void TJVCLBaseListBox::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ListBox()->Clear(); });
}

void TJVCLBaseListBox::DoClearSelection(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ListBox()->ClearSelection(); });
}

void TJVCLBaseListBox::DoDeleteSelected(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ListBox()->DeleteSelected(); });
}

void TJVCLBaseListBox::DoItemAtPos(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  fw::TPoint p;
  if (!ReadPoint((*args)[0], p)) RaiseArgumentsError();
  const bool existing = Truth((*args)[1]);
  result.SetInteger(ListBox()->ItemAtPos(p, existing));
}

void TJVCLBaseListBox::DoItemRect(TJValueList* args, TJValue& result) {
  const int32_t index = ItemArg(args, 1);
  if (index < 0) {
    result.SetNull();
    return;
  }
  result.SetObject(NewRect(Engine(), ListBox()->ItemRect(index)));
}

void TJVCLBaseListBox::DoSelectAll(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ListBox()->SelectAll(); });
}

void TJVCLBaseListBox::DoSelected(TJValueList* args, TJValue& result) {
  const int32_t index = ItemArg(args, 1);
  if (index < 0) {
    result.SetBool(false);
    return;
  }
  if (ArgCount(args) > 1) Guard([&] { ListBox()->SetSelected(index, Truth((*args)[1])); });
  result.SetBool(index < ListBox()->Count() && ListBox()->Selected(index));
}

// ---- check list box ----

const rt::ClassInfo& TJVCLBaseCheckListBox::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJVCLBaseCheckListBox>("TJVCLBaseCheckListBox", &TJVCLBaseListBox::StaticClassInfo()).build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLCheckListBox, TJVCLBaseCheckListBox)

TJVCLBaseCheckListBox::TJVCLBaseCheckListBox(TJBaseEngine* engine, TJValueList* param)
    : TJVCLBaseListBox(engine, param) {
  RegistName("VCLCheckListBox");
}

const rt::ClassInfo& TJVCLBaseCheckListBox::VCLClass() const { return fw::TCheckListBox::StaticClassInfo(); }

void TJVCLBaseCheckListBox::RegistMethods() {
  TJVCLBaseListBox::RegistMethods();
  RegistMethod("checked", &TJVCLBaseCheckListBox::DoChecked);
  RegistMethod("itemEnabled", &TJVCLBaseCheckListBox::DoItemEnabled);
  RegistMethod("state", &TJVCLBaseCheckListBox::DoState);
}

void TJVCLBaseCheckListBox::HookEvents() {
  TJVCLBaseListBox::HookEvents();
  Hook<konClickCheck>(CheckList()->OnClickCheck);
}

void TJVCLBaseCheckListBox::DoChecked(TJValueList* args, TJValue& result) {
  const int32_t index = ItemArg(args, 1);
  if (index < 0) {
    result.SetBool(false);
    return;
  }
  if (ArgCount(args) > 1) Guard([&] { CheckList()->SetChecked(index, Truth((*args)[1])); });
  result.SetBool(index < CheckList()->Count() && CheckList()->Checked(index));
}

void TJVCLBaseCheckListBox::DoItemEnabled(TJValueList* args, TJValue& result) {
  const int32_t index = ItemArg(args, 1);
  if (index < 0) {
    result.SetBool(false);
    return;
  }
  if (ArgCount(args) > 1) Guard([&] { CheckList()->SetItemEnabled(index, Truth((*args)[1])); });
  result.SetBool(index < CheckList()->Count() && CheckList()->ItemEnabled(index));
}

void TJVCLBaseCheckListBox::DoState(TJValueList* args, TJValue& result) {
  const int32_t index = ItemArg(args, 1);
  if (index < 0) {
    result.SetString("");
    return;
  }
  if (ArgCount(args) > 1) {
    const int state = stateOf((*args)[1]);
    if (state >= 0) Guard([&] { CheckList()->SetState(index, fw::TCheckBoxState(state)); });
  }
  if (index >= CheckList()->Count()) {
    result.SetString("");
    return;
  }
  result.SetString(EnumText(CheckList()->State(index)));
}

// ---- combo box ----

const rt::ClassInfo& TJVCLBaseComboBox::StaticClassInfo() {
  using T = TJVCLBaseComboBox;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseComboBox", &TJVCLWinControl::StaticClassInfo())
                                         .property("CharCase", &T::GetCharCase, &T::SetCharCase)
                                         .property("DroppedDown", &T::GetDroppedDown, &T::SetDroppedDown)
                                         .property("ItemIndex", &T::GetItemIndex, &T::SetItemIndex)
                                         .property("Items", &T::GetItems)
                                         .property("SelLength", &T::GetSelLength, &T::SetSelLength)
                                         .property("SelStart", &T::GetSelStart, &T::SetSelStart)
                                         .property("SelText", &T::GetSelText, &T::SetSelText)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLComboBox, TJVCLBaseComboBox)

TJVCLBaseComboBox::TJVCLBaseComboBox(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLComboBox");
}

TJVCLBaseComboBox::~TJVCLBaseComboBox() { items_.Detach(); }

const rt::ClassInfo& TJVCLBaseComboBox::VCLClass() const { return fw::TComboBox::StaticClassInfo(); }

void TJVCLBaseComboBox::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  items_.Create(Engine());
}

void TJVCLBaseComboBox::ReleaseVCL() {
  TJVCLWinControl::ReleaseVCL();
  items_.Detach();
}

void TJVCLBaseComboBox::Dispose() {
  items_.Drop();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseComboBox::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("clear", &TJVCLBaseComboBox::DoClear);
  RegistMethod("selectAll", &TJVCLBaseComboBox::DoSelectAll);
}

void TJVCLBaseComboBox::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, false);
  // A combo box tells no mouse button or movement to its script.
  fw::TCustomComboBox* c = ComboBox();
  c->OnMouseDown = {};
  c->OnMouseUp = {};
  c->OnMouseMove = {};
  HookWinControlEvents(true);
  Hook<konChange>(c->OnChange);
  Hook<konDropDown>(c->OnDropDown);
}

std::string TJVCLBaseComboBox::GetCharCase() const {
  Check();
  return EnumText(ComboBox()->CharCase());
}

void TJVCLBaseComboBox::SetCharCase(std::string name) {
  Check();
  const int value = enumTypeOf(fw::ecNormal).valueOf(name);
  if (value < 0) return;
  Guard([&] { ComboBox()->SetCharCase(fw::TEditCharCase(value)); });
}

bool TJVCLBaseComboBox::GetDroppedDown() const {
  Check();
  return ComboBox()->DroppedDown();
}

void TJVCLBaseComboBox::SetDroppedDown(bool value) {
  Check();
  Guard([&] { ComboBox()->SetDroppedDown(value); });
}

int32_t TJVCLBaseComboBox::GetItemIndex() const {
  Check();
  return ComboBox()->ItemIndex();
}

void TJVCLBaseComboBox::SetItemIndex(int32_t index) {
  Check();
  Guard([&] { ComboBox()->SetItemIndex(index); });
}

TJObject* TJVCLBaseComboBox::GetItems() const {
  Check();
  return items_.Point(ComboBox()->Items());
}

int32_t TJVCLBaseComboBox::GetSelStart() const {
  Check();
  return charsBefore(ComboBox()->GetText(), ComboBox()->SelStart());
}

void TJVCLBaseComboBox::SetSelStart(int32_t start) {
  Check();
  ComboBox()->SetSelStart(bytesOf(ComboBox()->GetText(), start));
}

int32_t TJVCLBaseComboBox::GetSelLength() const {
  Check();
  const std::string text = ComboBox()->GetText();
  const int32_t start = ComboBox()->SelStart();
  return charsBefore(text, start + ComboBox()->SelLength()) - charsBefore(text, start);
}

void TJVCLBaseComboBox::SetSelLength(int32_t length) {
  Check();
  const std::string text = ComboBox()->GetText();
  const int32_t startChars = charsBefore(text, ComboBox()->SelStart());
  ComboBox()->SetSelLength(bytesOf(text, startChars + std::max(length, 0)) - ComboBox()->SelStart());
}

std::string TJVCLBaseComboBox::GetSelText() const {
  Check();
  return ComboBox()->SelText();
}

void TJVCLBaseComboBox::SetSelText(std::string text) {
  Check();
  Guard([&] { ComboBox()->SetSelText(text); });
}

void TJVCLBaseComboBox::DoClear(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ComboBox()->Clear(); });
}

void TJVCLBaseComboBox::DoSelectAll(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { ComboBox()->SelectAll(); });
}

// ---- radio group ----

const rt::ClassInfo& TJVCLBaseRadioGroup::StaticClassInfo() {
  using T = TJVCLBaseRadioGroup;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseRadioGroup", &TJVCLWinControl::StaticClassInfo())
                                         .property("Items", &T::GetItems)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLRadioGroup, TJVCLBaseRadioGroup)

TJVCLBaseRadioGroup::TJVCLBaseRadioGroup(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLRadioGroup");
}

TJVCLBaseRadioGroup::~TJVCLBaseRadioGroup() { items_.Detach(); }

const rt::ClassInfo& TJVCLBaseRadioGroup::VCLClass() const { return fw::TRadioGroup::StaticClassInfo(); }

void TJVCLBaseRadioGroup::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  items_.Create(Engine());
}

void TJVCLBaseRadioGroup::ReleaseVCL() {
  TJVCLWinControl::ReleaseVCL();
  items_.Detach();
}

void TJVCLBaseRadioGroup::Dispose() {
  items_.Drop();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseRadioGroup::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, false);
  fw::TCustomRadioGroup* c = RadioGroup();
  c->OnMouseDown = {};
  c->OnMouseUp = {};
  c->OnMouseMove = {};
  Hook<konEnter>(c->OnEnter);
  Hook<konExit>(c->OnExit);
}

TJObject* TJVCLBaseRadioGroup::GetItems() const {
  const_cast<TJVCLBaseRadioGroup*>(this)->CheckVCL(nullptr, 0);
  return items_.Point(RadioGroup()->Items());
}

}  // namespace gui
