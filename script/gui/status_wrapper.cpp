#include "script/gui/status_wrapper.h"

#include "script/gui/values.h"
#include "script/gui/wrapper_cache.h"

namespace gui {

using namespace engine;

namespace {
constexpr char kBarOnHint[] = "onHint";
}  // namespace

const rt::ClassInfo& TJVCLBaseStatusPanels::StaticClassInfo() {
  using T = TJVCLBaseStatusPanels;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseStatusPanels", &TJVCLPersistent::StaticClassInfo())
                                         .property("Count", &T::GetCountProperty)
                                         .build();
  return info;
}

const rt::ClassInfo& TJVCLBaseStatusBar::StaticClassInfo() {
  using T = TJVCLBaseStatusBar;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLBaseStatusBar", &TJVCLWinControl::StaticClassInfo())
                                         .property("panels", &T::GetPanels)
                                         .property("action", &TJVCLComponent::GetAction, &TJVCLComponent::SetAction)
                                         .build();
  return info;
}
BR_GUI_CREATING_CLASS_INFO(TJVCLStatusBar, TJVCLBaseStatusBar)

// ---- status panels ----

TJVCLBaseStatusPanels::TJVCLBaseStatusPanels(TJBaseEngine* engine, TJValueList* param)
    : TJVCLPersistent(engine, param) {
  RegistName("VCLStatusPanels");
}

const rt::ClassInfo& TJVCLBaseStatusPanels::VCLClass() const { return fw::TStatusPanels::StaticClassInfo(); }

void TJVCLBaseStatusPanels::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  RegistMethod("add", &TJVCLBaseStatusPanels::DoAdd);
  RegistMethod("items", &TJVCLBaseStatusPanels::DoItems);
}

template <class F>
void TJVCLBaseStatusPanels::Guard(F&& f) {
  try {
    f();
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
}

int32_t TJVCLBaseStatusPanels::GetCount() {
  CheckVCL(nullptr, 0);
  return Panels()->Count();
}

int32_t TJVCLBaseStatusPanels::GetCountProperty() const {
  auto* self = const_cast<TJVCLBaseStatusPanels*>(this);
  self->CheckVCL(nullptr, 0);
  return Panels()->Count();
}

void TJVCLBaseStatusPanels::GetItem(int32_t index, TJValue& value) { ItemAccess(index, nullptr, value); }

void TJVCLBaseStatusPanels::ItemAccess(int32_t index, const TJValue* write, TJValue& result) {
  CheckVCL(nullptr, 0);
  result.SetNull();
  fw::TStatusPanels* panels = Panels();
  if (index < 0 || index >= panels->Count()) return;
  if (!write) {
    Guard([&] {
      if (TJObject* w = WrapLive(Engine(), panels->Items(index))) result.SetObject(w);
    });
    return;
  }
  result = *write;
  auto* source = dynamic_cast<TJVCLPersistent*>(write->vObject());
  if (!source) RaiseArgumentsError();
  auto* panel = dynamic_cast<fw::TStatusPanel*>(source->VCL());
  if (!panel) return;
  Guard([&] { panels->Items(index)->Assign(panel); });
}

void TJVCLBaseStatusPanels::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::GetMember(name, bracketAccess, param, value);
    return;
  }
  TJKeepAlive keep(this);
  ItemAccess(index, nullptr, value);
}

void TJVCLBaseStatusPanels::PutMember(std::string_view name, const TJValue& value, bool bracketAccess,
                                      TJValueList* param) {
  int32_t index = 0;
  if (!bracketAccess || !TextToInteger(name, index)) {
    TJVCLPersistent::PutMember(name, value, bracketAccess, param);
    return;
  }
  TJKeepAlive keep(this);
  TJValue ignored;
  ItemAccess(index, &value, ignored);
}

void TJVCLBaseStatusPanels::DoAdd(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetNull();
  Guard([&] {
    if (TJObject* w = WrapLive(Engine(), Panels()->Add())) result.SetObject(w);
  });
}

void TJVCLBaseStatusPanels::DoItems(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  const int32_t index = AsInteger(&(*args)[0]);
  ItemAccess(index, ArgCount(args) >= 2 ? &(*args)[1] : nullptr, result);
}

// ---- status bar ----

TJVCLBaseStatusBar::TJVCLBaseStatusBar(TJBaseEngine* engine, TJValueList* param) : TJVCLWinControl(engine, param) {
  RegistName("VCLStatusBar");
}

const rt::ClassInfo& TJVCLBaseStatusBar::VCLClass() const { return fw::TStatusBar::StaticClassInfo(); }

void TJVCLBaseStatusBar::CreateObjects() {
  TJVCLWinControl::CreateObjects();
  if (!panels_) panels_ = TJRef<TJVCLBaseStatusPanels>(TJObject::Create<TJVCLBaseStatusPanels>(Engine(), nullptr, false));
}

void TJVCLBaseStatusBar::ReleaseVCL() {
  TJVCLWinControl::ReleaseVCL();
  if (panels_) panels_->ReleaseVCL();
}

void TJVCLBaseStatusBar::Dispose() {
  if (panels_) panels_->ReleaseVCL();
  panels_.reset();
  TJVCLWinControl::Dispose();
}

void TJVCLBaseStatusBar::HookEvents() {
  TJVCLComponent::HookEvents();
  // With an action, the action has the bar's click.
  HookControlEvents(!Control()->Action(), true);
  fw::TStatusBar* b = Bar();
  Hook<konResize>(b->OnResize);
  b->OnHint = fw::TNotifyEvent(&HandleHint, this);
  b->OnDrawPanel = fw::TDrawPanelEvent(&HandleDrawPanel, this);
}

TJVCLPersistent* TJVCLBaseStatusBar::GetPanels() const {
  const_cast<TJVCLBaseStatusBar*>(this)->CheckVCL(nullptr, 0);
  fw::TStatusPanels* panels = Bar()->Panels();
  if (panels_->VCL() != panels) {
    panels_->AttachVCL(panels, false);
    panels_->TrackLiveness(panels->LivenessToken());
  }
  return panels_.get();
}

void TJVCLBaseStatusBar::HandleHint(void* self, fw::TObject* sender) {
  auto* w = static_cast<TJVCLBaseStatusBar*>(self);
  // Without a script handler the bar shows the hint itself (when AutoHint asks it to).
  if (!w->IsCallEvent(kBarOnHint)) {
    if (w->HasVCL()) w->Bar()->DeclineHint();
    return;
  }
  w->FireNotify(kBarOnHint, sender);
}

void TJVCLBaseStatusBar::HandleDrawPanel(void* self, fw::TStatusBar* sender, fw::TStatusPanel* panel,
                                         const fw::TRect& rect) {
  auto* w = static_cast<TJVCLBaseStatusBar*>(self);
  w->Fire(
      "onDrawPanel", sender,
      [&](TJValueList& args) {
        TJObject* p = WrapLive(w->Engine(), panel);
        if (p) args.AddObject(p); else args.Add(TJValue::Null());
        args.AddObject(NewRect(w->Engine(), rect));
      },
      [](TJValueList&) {});
}

}  // namespace gui
