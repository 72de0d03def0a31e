#include "script/gui/tool_wrapper.h"

#include "script/core/value.h"
#include "script/gui/caster.h"

namespace gui {

using namespace engine;

#define BR_GUI_BASE_CLASS_INFO(Class, Parent)                                                    \
  const rt::ClassInfo& Class::StaticClassInfo() {                                                \
    static const rt::ClassInfo& info = rt::ClassBuilder<Class>(#Class, &Parent::StaticClassInfo()).build(); \
    return info;                                                                                 \
  }

BR_GUI_BASE_CLASS_INFO(TJVCLToolWindow, TJVCLWinControl)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseCoolBar, TJVCLToolWindow)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseUpDown, TJVCLToolWindow)
BR_GUI_BASE_CLASS_INFO(TJVCLBaseSpinEdit, TJVCLBaseEdit)
BR_GUI_CREATING_CLASS_INFO(TJVCLToolButton, TJVCLBaseToolButton)
BR_GUI_CREATING_CLASS_INFO(TJVCLToolBar, TJVCLBaseToolBar)
BR_GUI_CREATING_CLASS_INFO(TJVCLCoolBar, TJVCLBaseCoolBar)
BR_GUI_CREATING_CLASS_INFO(TJVCLUpDown, TJVCLBaseUpDown)
BR_GUI_CREATING_CLASS_INFO(TJVCLSpinEdit, TJVCLBaseSpinEdit)

namespace {
void noStart(void*, fw::TObject*, fw::TObject*&) {}
}  // namespace

// ---- tool window ----

TJVCLToolWindow::TJVCLToolWindow(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLToolWindow");
}

const rt::ClassInfo& TJVCLToolWindow::VCLClass() const { return fw::TToolWindow::StaticClassInfo(); }

void TJVCLToolWindow::HookEvents() { TJVCLComponent::HookEvents(); }

// ---- tool button ----

const rt::ClassInfo& TJVCLBaseToolButton::StaticClassInfo() {
  using T = TJVCLBaseToolButton;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseToolButton", &TJVCLControl::StaticClassInfo())
                                         .property("Index", &T::GetIndex)
                                         .property("action", &TJVCLComponent::GetAction, &TJVCLComponent::SetAction)
                                         .build();
  return info;
}

TJVCLBaseToolButton::TJVCLBaseToolButton(TJBaseEngine* engine, TJValueList* param) : TJVCLControl(engine, param) {
  RegistName("VCLToolButton");
}

const rt::ClassInfo& TJVCLBaseToolButton::VCLClass() const { return fw::TToolButton::StaticClassInfo(); }

void TJVCLBaseToolButton::HookEvents() {
  TJVCLComponent::HookEvents();
  // With an action, the action has the click.
  HookControlEvents(!Control()->Action(), false);
}

int32_t TJVCLBaseToolButton::GetIndex() const {
  const_cast<TJVCLBaseToolButton*>(this)->CheckVCL(nullptr, 0);
  return Button()->Index();
}

// ---- tool bar ----

const rt::ClassInfo& TJVCLBaseToolBar::StaticClassInfo() {
  using T = TJVCLBaseToolBar;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseToolBar", &TJVCLToolWindow::StaticClassInfo())
                                         .property("ButtonCount", &T::GetButtonCount)
                                         .property("RowCount", &T::GetRowCount)
                                         .build();
  return info;
}

TJVCLBaseToolBar::TJVCLBaseToolBar(TJBaseEngine* engine, TJValueList* param) : TJVCLToolWindow(engine, param) {
  RegistName("VCLToolBar");
}

const rt::ClassInfo& TJVCLBaseToolBar::VCLClass() const { return fw::TToolBar::StaticClassInfo(); }

void TJVCLBaseToolBar::RegistMethods() {
  TJVCLToolWindow::RegistMethods();
  RegistMethod("trackMenu", &TJVCLBaseToolBar::DoTrackMenu);
  RegistMethod("buttons", &TJVCLBaseToolBar::DoButtons);
}

void TJVCLBaseToolBar::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  fw::TToolBar* b = Bar();
  Hook<konEnter>(b->OnEnter);
  Hook<konExit>(b->OnExit);
  Hook<konResize>(b->OnResize);
}

int32_t TJVCLBaseToolBar::GetButtonCount() const {
  const_cast<TJVCLBaseToolBar*>(this)->CheckVCL(nullptr, 0);
  return Bar()->ButtonCount();
}

int32_t TJVCLBaseToolBar::GetRowCount() const {
  const_cast<TJVCLBaseToolBar*>(this)->CheckVCL(nullptr, 0);
  return Bar()->RowCount();
}

int32_t TJVCLBaseToolBar::GetCount() { return GetButtonCount(); }

void TJVCLBaseToolBar::GetItem(int32_t index, TJValue& value) {
  CheckVCL(nullptr, 0);
  value.SetNull();
  if (index < 0 || index >= Bar()->ButtonCount()) return;
  fw::TToolButton* button = nullptr;
  Guard([&] { button = Bar()->Buttons(index); });
  if (TJObject* wrapper = GetCaster().Cast(button, Engine())) value.SetObject(wrapper);
}

void TJVCLBaseToolBar::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index;
  if (bracketAccess && TextToInteger(name, index)) {
    GetItem(index, value);
    return;
  }
  TJVCLToolWindow::GetMember(name, bracketAccess, param, value);
}

void TJVCLBaseToolBar::DoTrackMenu(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(false);
  auto* button = dynamic_cast<TJVCLBaseToolButton*>((*args)[0].vObject());
  if (!button || !button->Button()) return;
  bool shown = false;
  Guard([&] { shown = Bar()->TrackMenu(button->Button()); });
  result.SetBool(shown);
}

void TJVCLBaseToolBar::DoButtons(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  GetItem(AsInteger(&(*args)[0]), result);
}

// ---- cool bar ----

TJVCLBaseCoolBar::TJVCLBaseCoolBar(TJBaseEngine* engine, TJValueList* param) : TJVCLToolWindow(engine, param) {
  RegistName("VCLCoolBar");
}

const rt::ClassInfo& TJVCLBaseCoolBar::VCLClass() const { return fw::TCoolBar::StaticClassInfo(); }

void TJVCLBaseCoolBar::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
  auto* bar = static_cast<fw::TCoolBar*>(VCL());
  Hook<konChange>(bar->OnChange);
  Hook<konResize>(bar->OnResize);
}

// ---- up-down ----

TJVCLBaseUpDown::TJVCLBaseUpDown(TJBaseEngine* engine, TJValueList* param) : TJVCLToolWindow(engine, param) {
  RegistName("VCLUpDown");
}

const rt::ClassInfo& TJVCLBaseUpDown::VCLClass() const { return fw::TUpDown::StaticClassInfo(); }

void TJVCLBaseUpDown::HookEvents() {
  TJVCLComponent::HookEvents();
  fw::TUpDown* u = UpDown();
  u->OnChanging = fw::TUDChangingEvent(&HandleChanging, this);
  u->OnChangingEx = fw::TUDChangingEventEx(&HandleChangingEx, this);
  u->OnUDClick = fw::TUDClickEvent(&HandleClick, this);
  u->OnContextPopup = fw::TContextPopupEvent(&TJVCLControl::HandleContextPopup, this);
  Hook<konEnter>(u->OnEnter);
  Hook<konExit>(u->OnExit);
  u->OnMouseDown = fw::TMouseEvent(&TJVCLControl::HandleMouseDown, this);
  u->OnMouseMove = fw::TMouseMoveEvent(&TJVCLControl::HandleMouseMove, this);
  u->OnMouseUp = fw::TMouseEvent(&TJVCLControl::HandleMouseUp, this);
}

void TJVCLBaseUpDown::HandleChanging(void* self, fw::TObject* sender, bool& allowChange) {
  auto* w = static_cast<TJVCLBaseUpDown*>(self);
  w->Fire(
      konChanging, sender, [&](TJValueList& a) { a.AddObject(NewBooleanBox(w->Engine(), allowChange)); },
      [&](TJValueList& a) { allowChange = BooleanBoxValue(a[1], allowChange); });
}

void TJVCLBaseUpDown::HandleChangingEx(void* self, fw::TObject* sender, bool& allowChange, int16_t newValue,
                                       fw::TUpDownDirection direction) {
  auto* w = static_cast<TJVCLBaseUpDown*>(self);
  w->Fire(
      konChangingEx, sender,
      [&](TJValueList& a) {
        a.AddObject(NewBooleanBox(w->Engine(), allowChange));
        a.Add(TJValue::Integer(newValue));
        TJValue name;
        name.SetString(EnumText(direction));
        a.Add(name);
      },
      [&](TJValueList& a) { allowChange = BooleanBoxValue(a[1], allowChange); });
}

void TJVCLBaseUpDown::HandleClick(void* self, fw::TObject* sender, fw::TUDBtnType button) {
  auto* w = static_cast<TJVCLBaseUpDown*>(self);
  w->Fire(
      konClick, sender,
      [&](TJValueList& a) {
        TJValue name;
        name.SetString(EnumText(button));
        a.Add(name);
      },
      [](TJValueList&) {});
}

// ---- spin edit ----

TJVCLBaseSpinEdit::TJVCLBaseSpinEdit(TJBaseEngine* engine, TJValueList* param) : TJVCLBaseEdit(engine, param) {
  RegistName("VCLSpinEdit");
}

const rt::ClassInfo& TJVCLBaseSpinEdit::VCLClass() const { return fw::TSpinEdit::StaticClassInfo(); }

void TJVCLBaseSpinEdit::HookEvents() {
  TJVCLComponent::HookEvents();
  fw::TCustomEdit* e = Edit();
  Hook<konChange>(e->OnChange);
  Hook<konClick>(e->OnClick);
  Hook<konDblClick>(e->OnDblClick);
  e->OnDragDrop = fw::TDragDropEvent(&TJVCLControl::HandleDragDrop, this);
  e->OnDragOver = fw::TDragOverEvent(&TJVCLControl::HandleDragOver, this);
  e->OnEndDrag = fw::TEndDragEvent(&TJVCLControl::HandleEndDrag, this);
  e->OnStartDrag = fw::TStartDragEvent(&noStart, this);
  Hook<konEnter>(e->OnEnter);
  Hook<konExit>(e->OnExit);
  e->OnKeyDown = fw::TKeyEvent(&TJVCLWinControl::HandleKeyDown, this);
  e->OnKeyPress = fw::TKeyPressEvent(&TJVCLWinControl::HandleKeyPress, this);
  e->OnKeyUp = fw::TKeyEvent(&TJVCLWinControl::HandleKeyUp, this);
  e->OnMouseDown = fw::TMouseEvent(&TJVCLControl::HandleMouseDown, this);
  e->OnMouseMove = fw::TMouseMoveEvent(&TJVCLControl::HandleMouseMove, this);
  e->OnMouseUp = fw::TMouseEvent(&TJVCLControl::HandleMouseUp, this);
}

}  // namespace gui
