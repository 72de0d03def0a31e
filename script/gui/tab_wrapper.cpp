#include "script/gui/tab_wrapper.h"

#include "script/host/strings_object.h"
#include "script/gui/values.h"

namespace gui {

using namespace engine;

const rt::ClassInfo& TJVCLBaseTabControl::StaticClassInfo() {
  using T = TJVCLBaseTabControl;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseTabControl", &TJVCLWinControl::StaticClassInfo())
                                         .property("DisplayRect", &T::GetDisplayRect)
                                         .property("RowCount", &T::GetRowCount)
                                         .property("tabs", &T::GetTabs)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLTabControl, TJVCLBaseTabControl)

TJVCLBaseTabControl::TJVCLBaseTabControl(TJBaseEngine* engine, TJValueList* param)
    : TJVCLWinControl(engine, param) {
  RegistName("VCLTabControl");
}

TJVCLBaseTabControl::~TJVCLBaseTabControl() { DetachTabs(); }

const rt::ClassInfo& TJVCLBaseTabControl::VCLClass() const { return fw::TTabControl::StaticClassInfo(); }

void TJVCLBaseTabControl::DetachTabs() {
  if (auto* tabs = dynamic_cast<host::TJBaseStringsObject*>(tabs_.get())) tabs->SetStrings(nullptr);
}

void TJVCLBaseTabControl::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  if (!tabs_) tabs_ = TJRef<TJObject>(host::WrapStrings(Engine(), nullptr));
}

void TJVCLBaseTabControl::ReleaseVCL() {
  TJVCLWinControl::ReleaseVCL();
  // The tabs object never refers to a list freed with the control.
  DetachTabs();
}

void TJVCLBaseTabControl::Dispose() {
  DetachTabs();
  tabs_.reset();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseTabControl::RegistMethods() {
  TJVCLWinControl::RegistMethods();
  RegistMethod("indexOfTabAt", &TJVCLBaseTabControl::DoIndexOfTabAt);
  RegistMethod("getHitTestInfoAt", &TJVCLBaseTabControl::DoGetHitTestInfoAt);
  RegistMethod("tabRect", &TJVCLBaseTabControl::DoTabRect);
  RegistMethod("scrollTabs", &TJVCLBaseTabControl::DoScrollTabs);
}

void TJVCLBaseTabControl::HookEvents() {
  HookControlEvents(false, false);
  fw::TCustomTabControl* c = TabControl();
  Hook<konEnter>(c->OnEnter);
  Hook<konExit>(c->OnExit);
  Hook<konResize>(c->OnResize);
  Hook<konChange>(c->OnChange);
  c->OnChanging = fw::TTabChangingEvent(&HandleChanging, this);
  c->OnGetImageIndex = fw::TTabGetImageEvent(&HandleGetImageIndex, this);
}

TJObject* TJVCLBaseTabControl::GetDisplayRect() const {
  Check();
  return NewRect(Engine(), TabControl()->DisplayRect());
}

int32_t TJVCLBaseTabControl::GetRowCount() const {
  Check();
  return TabControl()->RowCount();
}

TJObject* TJVCLBaseTabControl::GetTabs() const {
  Check();
  auto* tabs = static_cast<host::TJBaseStringsObject*>(tabs_.get());
  tabs->SetStrings(TabControl()->Tabs());
  // Kept alive with the control only: once it goes the object is detached by ReleaseVCL.
  return tabs;
}

void TJVCLBaseTabControl::DoIndexOfTabAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  int32_t index = -1;
  Guard([&] { index = TabControl()->IndexOfTabAt(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
  result.SetInteger(index);
}

void TJVCLBaseTabControl::DoGetHitTestInfoAt(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  fw::THitTests hits;
  Guard([&] { hits = TabControl()->GetHitTestInfoAt(AsInteger(&(*args)[0]), AsInteger(&(*args)[1])); });
  result.SetString(SetText(hits));
}

void TJVCLBaseTabControl::DoTabRect(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  fw::TRect r;
  Guard([&] { r = TabControl()->TabRect(AsInteger(&(*args)[0])); });
  result.SetObject(NewRect(Engine(), r));
}

void TJVCLBaseTabControl::DoScrollTabs(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  Guard([&] { TabControl()->ScrollTabs(AsInteger(&(*args)[0])); });
}

void TJVCLBaseTabControl::HandleChanging(void* self, fw::TObject* sender, bool& allowChange) {
  auto* w = static_cast<TJVCLBaseTabControl*>(self);
  w->Fire(
      "onChanging", sender, [&](TJValueList& args) { args.AddObject(NewBooleanBox(w->Engine(), allowChange)); },
      [&](TJValueList& args) { allowChange = BooleanBoxValue(args[1], allowChange); });
}

void TJVCLBaseTabControl::HandleGetImageIndex(void* self, fw::TObject* sender, int32_t tabIndex,
                                              int32_t& imageIndex) {
  auto* w = static_cast<TJVCLBaseTabControl*>(self);
  w->Fire(
      "onGetImageIndex", sender,
      [&](TJValueList& args) {
        args.Add(TJValue::Integer(tabIndex));
        args.AddObject(NewNumberBox(w->Engine(), imageIndex));
      },
      [&](TJValueList& args) { imageIndex = NumberBoxValue(args[2], imageIndex); });
}

}  // namespace gui
