#include "script/gui/control_wrapper.h"

#include <algorithm>

#include "platform/fw/form.h"
#include "platform/fw/services.h"
#include "script/core/base_engine.h"
#include "script/gui/caster.h"
#include "script/gui/values.h"

namespace gui {

using namespace engine;

namespace {

TJVCLControl* self(void* data) { return static_cast<TJVCLControl*>(data); }

void noStart(void*, fw::TObject*, fw::TObject*&) {}

// Window messages a script may send with perform.
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;

}  // namespace

// ---- TJVCLControl ----

const rt::ClassInfo& TJVCLControl::StaticClassInfo() {
  using T = TJVCLControl;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLControl", &TJVCLComponent::StaticClassInfo())
                                         .property("parent", &T::GetParent, &T::SetParent)
                                         .build();
  return info;
}

TJVCLControl::TJVCLControl(TJBaseEngine* engine, TJValueList* param) : TJVCLComponent(engine, param) {
  RegistName("VCLControl");
}

const rt::ClassInfo& TJVCLControl::VCLClass() const { return fw::TControl::StaticClassInfo(); }

void TJVCLControl::RegistMethods() {
  TJVCLComponent::RegistMethods();
  RegistMethod("bringToFront", &TJVCLControl::DoBringToFront);
  RegistMethod("clientToScreen", &TJVCLControl::DoClientToScreen);
  RegistMethod("hasParent", &TJVCLControl::DoHasParent);
  RegistMethod("hide", &TJVCLControl::DoHide);
  RegistMethod("invalidate", &TJVCLControl::DoInvalidate);
  RegistMethod("perform", &TJVCLControl::DoPerform);
  RegistMethod("refresh", &TJVCLControl::DoRefresh);
  RegistMethod("repaint", &TJVCLControl::DoRepaint);
  RegistMethod("screenToClient", &TJVCLControl::DoScreenToClient);
  RegistMethod("sendToBack", &TJVCLControl::DoSendToBack);
  RegistMethod("show", &TJVCLControl::DoShow);
  RegistMethod("update", &TJVCLControl::DoUpdate);
  RegistMethod("setBounds", &TJVCLControl::DoSetBounds);
}

void TJVCLControl::AfterCreate(TJValueList* param) {
  TJVCLComponent::AfterCreate(param);
  if (ArgCount(param) < 1 || !Control()) return;
  if (auto* parent = dynamic_cast<TJVCLWinControl*>((*param)[0].vObject())) SetParentWrapper(parent);
}

void TJVCLControl::HookControlEvents(bool click, bool dblClick) {
  fw::TControl* c = Control();
  if (click) Hook<konClick>(c->OnClick);
  if (dblClick) Hook<konDblClick>(c->OnDblClick);
  c->OnMouseDown = fw::TMouseEvent(&HandleMouseDown, this);
  c->OnMouseMove = fw::TMouseMoveEvent(&HandleMouseMove, this);
  c->OnMouseUp = fw::TMouseEvent(&HandleMouseUp, this);
  c->OnContextPopup = fw::TContextPopupEvent(&HandleContextPopup, this);
  c->OnDragDrop = fw::TDragDropEvent(&HandleDragDrop, this);
  c->OnDragOver = fw::TDragOverEvent(&HandleDragOver, this);
  c->OnEndDrag = fw::TEndDragEvent(&HandleEndDrag, this);
  c->OnEndDock = fw::TEndDragEvent(&HandleEndDock, this);
  c->OnStartDrag = fw::TStartDragEvent(&noStart, this);
  c->OnStartDock = fw::TStartDockEvent(&noStart, this);
}

void TJVCLControl::HookEvents() {
  TJVCLComponent::HookEvents();
  HookControlEvents(true, true);
}

TJVCLWinControl* TJVCLControl::GetParentWrapper() const {
  if (!Control() || !Control()->Parent()) return nullptr;
  return dynamic_cast<TJVCLWinControl*>(GetCaster().Cast(Control()->Parent(), Engine()));
}

TJVCLPersistent* TJVCLControl::GetParent() const { return GetParentWrapper(); }

void TJVCLControl::SetParent(TJVCLPersistent* parent) {
  auto* window = dynamic_cast<TJVCLWinControl*>(parent);
  if (parent && !window) {
    CheckVCL(nullptr, 0);
    RaiseArgumentsError();
  }
  SetParentWrapper(window);
}

void TJVCLControl::SetParentWrapper(TJVCLWinControl* parent) {
  CheckVCL(nullptr, 0);
  fw::TWinControl* target = parent ? parent->WinControl() : nullptr;
  if (parent && !target) RaiseVCLError("VCL is null");
  if (TJVCLWinControl* old = GetParentWrapper()) old->Unkeep(this);
  Guard([&] { Control()->SetParent(target); });
  KeepWithParent();
}

void TJVCLControl::KeepWithParent() {
  if (!Owned() || !Control() || !Control()->Parent()) return;
  if (auto* parent = dynamic_cast<TJVCLWinControl*>(GetCaster().Cast(Control()->Parent(), Engine())))
    parent->Keep(this);
}

void TJVCLControl::DoBringToFront(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->BringToFront(); });
}

void TJVCLControl::DoClientToScreen(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  TJObject* point = NewPoint(Engine(), {});
  result.SetObject(point);
  fw::TPoint p;
  if (!ReadPoint((*args)[0], p)) RaiseArgumentsError();
  Guard([&] { SetPoint(point, Control()->ClientToScreen(p)); });
}

void TJVCLControl::DoScreenToClient(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  TJObject* point = NewPoint(Engine(), {});
  result.SetObject(point);
  fw::TPoint p;
  if (!ReadPoint((*args)[0], p)) RaiseArgumentsError();
  Guard([&] { SetPoint(point, Control()->ScreenToClient(p)); });
}

void TJVCLControl::DoHasParent(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(Control()->Parent() != nullptr);
}

void TJVCLControl::DoHide(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Hide(); });
}

void TJVCLControl::DoInvalidate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Invalidate(); });
}

void TJVCLControl::DoPerform(TJValueList* args, TJValue& result) {
  CheckVCL(args, 3);
  result.SetInteger(0);
  uint32_t msg = uint32_t(AsInteger(&(*args)[0]));
  int32_t wParam = AsInteger(&(*args)[1]);
  Guard([&] {
    fw::TControl* c = Control();
    switch (msg) {
      case WM_CLOSE:
        if (auto* form = dynamic_cast<fw::TCustomForm*>(c)) form->Close();
        break;
      case WM_GETTEXTLENGTH: result.SetInteger(int32_t(c->GetText().size())); break;
      case WM_ENABLE: c->SetEnabled(wParam != 0); break;
      case WM_SHOWWINDOW: c->SetVisible(wParam != 0); break;
      default: break;  // messages without a meaning here answer 0
    }
  });
}

void TJVCLControl::DoRefresh(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Refresh(); });
}

void TJVCLControl::DoRepaint(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Repaint(); });
}

void TJVCLControl::DoSendToBack(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->SendToBack(); });
}

void TJVCLControl::DoShow(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Show(); });
}

void TJVCLControl::DoUpdate(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { Control()->Update(); });
}

void TJVCLControl::DoSetBounds(TJValueList* args, TJValue& result) {
  CheckVCL(args, 4);
  result.SetObject(this);
  int32_t l = AsInteger(&(*args)[0]), t = AsInteger(&(*args)[1]), w = AsInteger(&(*args)[2]),
          h = AsInteger(&(*args)[3]);
  Guard([&] { Control()->SetBounds(l, t, w, h); });
}

// ---- control handlers ----

void TJVCLControl::HandleMouseDown(void* data, fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift,
                                   int32_t x, int32_t y) {
  self(data)->Fire("onMouseDown", sender, [&](TJValueList& a) {
    a.AddString(EnumText(button));
    a.AddString(SetText(shift));
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

void TJVCLControl::HandleMouseUp(void* data, fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift,
                                 int32_t x, int32_t y) {
  self(data)->Fire("onMouseUp", sender, [&](TJValueList& a) {
    a.AddString(EnumText(button));
    a.AddString(SetText(shift));
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

void TJVCLControl::HandleMouseMove(void* data, fw::TObject* sender, fw::TShiftState shift, int32_t x, int32_t y) {
  self(data)->Fire("onMouseMove", sender, [&](TJValueList& a) {
    a.AddString(SetText(shift));
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

void TJVCLControl::HandleCanResize(void* data, fw::TObject* sender, int32_t& width, int32_t& height, bool& resize) {
  TJVCLControl* w = self(data);
  w->Fire("onCanResize", sender, [&](TJValueList& a) {
    a.AddObject(NewNumberBox(w->Engine(), width));
    a.AddObject(NewNumberBox(w->Engine(), height));
    a.AddObject(NewBooleanBox(w->Engine(), resize));
  }, [&](TJValueList& a) {
    width = NumberBoxValue(a[1], width);
    height = NumberBoxValue(a[2], height);
    resize = BooleanBoxValue(a[3], resize);
  });
}

void TJVCLControl::HandleConstrainedResize(void* data, fw::TObject* sender, int32_t& minWidth, int32_t& minHeight,
                                           int32_t& maxWidth, int32_t& maxHeight) {
  TJVCLControl* w = self(data);
  // The maximum height comes before the maximum width.
  w->Fire("onConstrainedResize", sender, [&](TJValueList& a) {
    a.AddObject(NewNumberBox(w->Engine(), minWidth));
    a.AddObject(NewNumberBox(w->Engine(), minHeight));
    a.AddObject(NewNumberBox(w->Engine(), maxHeight));
    a.AddObject(NewNumberBox(w->Engine(), maxWidth));
  }, [&](TJValueList& a) {
    minWidth = NumberBoxValue(a[1], minWidth);
    minHeight = NumberBoxValue(a[2], minHeight);
    maxHeight = NumberBoxValue(a[3], maxHeight);
    maxWidth = NumberBoxValue(a[4], maxWidth);
  });
}

void TJVCLControl::HandleContextPopup(void* data, fw::TObject* sender, fw::TPoint mousePos, bool& handled) {
  TJVCLControl* w = self(data);
  w->Fire("onContextPopup", sender, [&](TJValueList& a) {
    a.AddObject(NewPoint(w->Engine(), mousePos));
    a.AddObject(NewBooleanBox(w->Engine(), handled));
  }, [&](TJValueList& a) { handled = BooleanBoxValue(a[2], handled); });
}

void TJVCLControl::HandleDragDrop(void* data, fw::TObject* sender, fw::TObject* source, int32_t x, int32_t y) {
  TJVCLControl* w = self(data);
  w->Fire("onDragDrop", sender, [&](TJValueList& a) {
    TJObject* s = GetCaster().Cast(source, w->Engine());
    a.Add(s ? TJValue::Object(s) : TJValue::Null());
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

void TJVCLControl::HandleDragOver(void* data, fw::TObject* sender, fw::TObject* source, int32_t x, int32_t y,
                                  fw::TDragState state, bool& accept) {
  TJVCLControl* w = self(data);
  w->Fire("onDragOver", sender, [&](TJValueList& a) {
    TJObject* s = GetCaster().Cast(source, w->Engine());
    a.Add(s ? TJValue::Object(s) : TJValue::Null());
    a.AddInteger(x);
    a.AddInteger(y);
    a.AddString(EnumText(state));
    a.AddObject(NewBooleanBox(w->Engine(), accept));
  }, [&](TJValueList& a) { accept = BooleanBoxValue(a[5], accept); });
}

void TJVCLControl::HandleEndDrag(void* data, fw::TObject* sender, fw::TObject* target, int32_t x, int32_t y) {
  TJVCLControl* w = self(data);
  w->Fire("onEndDrag", sender, [&](TJValueList& a) {
    TJObject* t = GetCaster().Cast(target, w->Engine());
    a.Add(t ? TJValue::Object(t) : TJValue::Null());
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

void TJVCLControl::HandleEndDock(void* data, fw::TObject* sender, fw::TObject* target, int32_t x, int32_t y) {
  TJVCLControl* w = self(data);
  w->Fire("onEndDock", sender, [&](TJValueList& a) {
    TJObject* t = GetCaster().Cast(target, w->Engine());
    a.Add(t ? TJValue::Object(t) : TJValue::Null());
    a.AddInteger(x);
    a.AddInteger(y);
  }, [](TJValueList&) {});
}

// ---- TJVCLWinControl ----

const rt::ClassInfo& TJVCLWinControl::StaticClassInfo() {
  using T = TJVCLWinControl;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLWinControl", &TJVCLControl::StaticClassInfo())
                                         .property("ControlCount", &T::GetControlCount)
                                         .property("acceptDrop", &T::GetAcceptDrop, &T::SetAcceptDrop)
                                         .property("handle", &T::GetHandle)
                                         .property("ParentWindow", &T::GetParentWindow, &T::SetParentWindow)
                                         .property("Showing", &T::GetShowing)
                                         .property("VisibleDockClientCount", &T::GetVisibleDockClientCount)
                                         .build();
  return info;
}

TJVCLWinControl::TJVCLWinControl(TJBaseEngine* engine, TJValueList* param) : TJVCLControl(engine, param) {
  RegistName("VCLWinControl");
}

TJVCLWinControl::~TJVCLWinControl() { dropTarget_.reset(); }

const rt::ClassInfo& TJVCLWinControl::VCLClass() const { return fw::TWinControl::StaticClassInfo(); }

void TJVCLWinControl::RegistMethods() {
  TJVCLControl::RegistMethods();
  RegistMethod("canFocus", &TJVCLWinControl::DoCanFocus);
  RegistMethod("containsControl", &TJVCLWinControl::DoContainsControl);
  RegistMethod("controlAtPos", &TJVCLWinControl::DoControlAtPos);
  RegistMethod("disableAlign", &TJVCLWinControl::DoDisableAlign);
  RegistMethod("enableAlign", &TJVCLWinControl::DoEnableAlign);
  RegistMethod("findChildControl", &TJVCLWinControl::DoFindChildControl);
  RegistMethod("flipChildren", &TJVCLWinControl::DoFlipChildren);
  RegistMethod("focused", &TJVCLWinControl::DoFocused);
  RegistMethod("handleAllocated", &TJVCLWinControl::DoHandleAllocated);
  RegistMethod("handleNeeded", &TJVCLWinControl::DoHandleNeeded);
  RegistMethod("realign", &TJVCLWinControl::DoRealign);
  RegistMethod("scaleBy", &TJVCLWinControl::DoScaleBy);
  RegistMethod("scrollBy", &TJVCLWinControl::DoScrollBy);
  RegistMethod("setFocus", &TJVCLWinControl::DoSetFocus);
  RegistMethod("controls", &TJVCLWinControl::DoControls);
}

void TJVCLWinControl::HookWinControlEvents(bool keyUp) {
  fw::TWinControl* c = WinControl();
  Hook<konEnter>(c->OnEnter);
  Hook<konExit>(c->OnExit);
  c->OnKeyDown = fw::TKeyEvent(&HandleKeyDown, this);
  c->OnKeyPress = fw::TKeyPressEvent(&HandleKeyPress, this);
  if (keyUp) c->OnKeyUp = fw::TKeyEvent(&HandleKeyUp, this);
}

void TJVCLWinControl::HookWheelEvents() {
  fw::TControl* c = Control();
  c->OnMouseWheel = fw::TMouseWheelEvent(&HandleMouseWheel, this);
  c->OnMouseWheelDown = fw::TMouseWheelUpDownEvent(&HandleMouseWheelDown, this);
  c->OnMouseWheelUp = fw::TMouseWheelUpDownEvent(&HandleMouseWheelUp, this);
}

void TJVCLWinControl::HookEvents() {
  TJVCLControl::HookEvents();
  HookWinControlEvents(true);
}

void TJVCLWinControl::ReleaseVCL() {
  // Unbinding leaves the drop target in place (it follows the control, not the wrapper).
  std::vector<TJRef<TJObject>> kept;
  kept.swap(kept_);
  TJVCLControl::ReleaseVCL();
}

void TJVCLWinControl::Dispose() {
  kept_.clear();
  dropTarget_.reset();
  TJVCLControl::Dispose();
}

void TJVCLWinControl::GetEventList(std::vector<std::string>& names) {
  TJVCLControl::GetEventList(names);
  names.push_back("onDragDropText");
  names.push_back("onDragDropFiles");
}

void TJVCLWinControl::Keep(TJVCLControl* child) {
  // Those that left go once the list is whole again: letting go of one may free it.
  std::vector<TJRef<TJObject>> kept;
  kept.reserve(kept_.size() + 1);
  for (const TJRef<TJObject>& k : kept_) {
    auto* c = static_cast<TJVCLControl*>(k.get());
    if (c != child && !c->IsDisposed() && c->Control() && c->Control()->Parent() == WinControl()) kept.push_back(k);
  }
  kept.emplace_back(child);
  kept_.swap(kept);
}

void TJVCLWinControl::Unkeep(TJVCLControl* child) {
  auto it = std::find_if(kept_.begin(), kept_.end(), [&](const TJRef<TJObject>& k) { return k.get() == child; });
  if (it == kept_.end()) return;
  TJRef<TJObject> hold = *it;  // the child may be on its way out: it goes after the list is whole
  kept_.erase(it);
}

int32_t TJVCLWinControl::GetControlCount() const { return WinControl() ? WinControl()->ControlCount() : 0; }

int32_t TJVCLWinControl::GetHandle() const {
  if (!WinControl()) return 0;
  return int32_t(WinControl()->Handle());
}

int32_t TJVCLWinControl::GetParentWindow() const { return WinControl() ? parentWindow_ : 0; }

void TJVCLWinControl::SetParentWindow(int32_t handle) {
  CheckVCL(nullptr, 0);
  parentWindow_ = handle;
}

bool TJVCLWinControl::GetShowing() const { return WinControl() && WinControl()->Showing(); }

bool TJVCLWinControl::GetAcceptDrop() const {
  const_cast<TJVCLWinControl*>(this)->CheckVCL(nullptr, 0);
  return dropTarget_ && dropTarget_->Target();
}

void TJVCLWinControl::SetAcceptDrop(bool accept) {
  if (!accept) {
    dropTarget_.reset();
    return;
  }
  CheckVCL(nullptr, 0);
  if (!dropTarget_) {
    dropTarget_ = std::make_unique<fw::TDragDropTarget>(nullptr);
    dropTarget_->OnDragDropFiles = fw::TDragDropFilesEvent(&HandleDragDropFiles, this);
    dropTarget_->OnDragDropText = fw::TDragDropTextEvent(&HandleDragDropText, this);
  }
  Guard([&] { dropTarget_->SetTarget(WinControl()); });
}

void TJVCLWinControl::DoCanFocus(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(WinControl()->CanFocus());
}

void TJVCLWinControl::DoContainsControl(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetBool(false);
  auto* other = dynamic_cast<TJVCLControl*>((*args)[0].vObject());
  if (!other || !other->Control()) return;
  result.SetBool(WinControl()->ContainsControl(other->Control()));
}

void TJVCLWinControl::DoControlAtPos(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetNull();
  fw::TPoint p;
  if (!ReadPoint((*args)[0], p)) RaiseArgumentsError();
  bool allowDisabled = AsBool(&(*args)[1]);
  bool allowWinControls = ArgCount(args) > 2 && AsBool(&(*args)[2]);
  fw::TControl* found = nullptr;
  Guard([&] {
    // The topmost child at the point; window controls only when allowed.
    for (int i = WinControl()->ControlCount() - 1; i >= 0; --i) {
      fw::TControl* c = WinControl()->Controls(i);
      if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
      if (c->IsWindowed() && !allowWinControls) continue;
      if (c->BoundsRect().Contains(p)) {
        found = c;
        break;
      }
    }
  });
  if (TJObject* w = GetCaster().Cast(found, Engine())) result.SetObject(w);
}

void TJVCLWinControl::DoDisableAlign(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { WinControl()->DisableAlign(); });
}

void TJVCLWinControl::DoEnableAlign(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { WinControl()->EnableAlign(); });
}

void TJVCLWinControl::DoFindChildControl(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  std::string name = AsString(&(*args)[0]);
  fw::TControl* found = nullptr;
  Guard([&] { found = WinControl()->FindChildControl(name); });
  if (TJObject* w = GetCaster().Cast(found, Engine())) result.SetObject(w);
}

void TJVCLWinControl::DoFlipChildren(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  bool all = AsBool(&(*args)[0]);
  Guard([&] { WinControl()->FlipChildren(all); });
}

void TJVCLWinControl::DoFocused(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(WinControl()->Focused());
}

void TJVCLWinControl::DoHandleAllocated(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetBool(WinControl()->HandleAllocated());
}

void TJVCLWinControl::DoHandleNeeded(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { WinControl()->HandleNeeded(); });
}

void TJVCLWinControl::DoRealign(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { WinControl()->AlignControls(); });
}

void TJVCLWinControl::DoScaleBy(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  int32_t m = AsInteger(&(*args)[0]), d = AsInteger(&(*args)[1]);
  Guard([&] { WinControl()->ScaleBy(m, d); });
}

void TJVCLWinControl::DoScrollBy(TJValueList* args, TJValue& result) {
  CheckVCL(args, 2);
  result.SetObject(this);
  int32_t dx = AsInteger(&(*args)[0]), dy = AsInteger(&(*args)[1]);
  Guard([&] { WinControl()->ScrollBy(dx, dy); });
}

void TJVCLWinControl::DoSetFocus(TJValueList* args, TJValue& result) {
  CheckVCL(args, 0);
  result.SetObject(this);
  Guard([&] { WinControl()->SetFocus(); });
}

void TJVCLWinControl::DoControls(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  int32_t index = AsInteger(&(*args)[0]);
  fw::TControl* c = nullptr;
  Guard([&] { c = WinControl()->Controls(index); });
  if (TJObject* w = GetCaster().Cast(c, Engine())) result.SetObject(w);
}

// ---- window-control handlers ----

void TJVCLWinControl::HandleKeyDown(void* data, fw::TObject* sender, uint16_t& key, fw::TShiftState shift) {
  TJVCLControl* w = self(data);
  w->Fire("onKeyDown", sender, [&](TJValueList& a) {
    a.AddObject(NewNumberBox(w->Engine(), key));
    a.AddString(SetText(shift));
  }, [&](TJValueList& a) { key = uint16_t(NumberBoxValue(a[1], key)); });
}

void TJVCLWinControl::HandleKeyUp(void* data, fw::TObject* sender, uint16_t& key, fw::TShiftState shift) {
  TJVCLControl* w = self(data);
  w->Fire("onKeyUp", sender, [&](TJValueList& a) {
    a.AddObject(NewNumberBox(w->Engine(), key));
    a.AddString(SetText(shift));
  }, [&](TJValueList& a) { key = uint16_t(NumberBoxValue(a[1], key)); });
}

void TJVCLWinControl::HandleKeyPress(void* data, fw::TObject* sender, char& key) {
  TJVCLControl* w = self(data);
  w->Fire("onKeyPress", sender, [&](TJValueList& a) { a.AddObject(NewNumberBox(w->Engine(), uint8_t(key))); },
          [&](TJValueList& a) { key = char(uint8_t(NumberBoxValue(a[1], uint8_t(key)))); });
}

void TJVCLWinControl::HandleMouseWheel(void* data, fw::TObject* sender, fw::TShiftState shift, int32_t wheelDelta,
                                       fw::TPoint mousePos, bool& handled) {
  TJVCLControl* w = self(data);
  w->Fire("onMouseWheel", sender, [&](TJValueList& a) {
    a.AddString(SetText(shift));
    a.AddInteger(wheelDelta);
    a.AddObject(NewPoint(w->Engine(), mousePos));
    a.AddObject(NewBooleanBox(w->Engine(), handled));
  }, [&](TJValueList& a) { handled = BooleanBoxValue(a[4], handled); });
}

namespace {
void fireWheelNotch(TJVCLControl* w, const char* name, fw::TObject* sender, fw::TShiftState shift, fw::TPoint mousePos,
                    bool& handled) {
  w->Fire(name, sender, [&](TJValueList& a) {
    a.AddString(SetText(shift));
    a.AddObject(NewPoint(w->Engine(), mousePos));
    a.AddObject(NewBooleanBox(w->Engine(), handled));
  }, [&](TJValueList& a) { handled = BooleanBoxValue(a[3], handled); });
}
}  // namespace

void TJVCLWinControl::HandleMouseWheelDown(void* data, fw::TObject* sender, fw::TShiftState shift, fw::TPoint mousePos,
                                           bool& handled) {
  fireWheelNotch(self(data), "onMouseWheelDown", sender, shift, mousePos, handled);
}

void TJVCLWinControl::HandleMouseWheelUp(void* data, fw::TObject* sender, fw::TShiftState shift, fw::TPoint mousePos,
                                         bool& handled) {
  fireWheelNotch(self(data), "onMouseWheelUp", sender, shift, mousePos, handled);
}

void TJVCLWinControl::HandleDragDropFiles(void* data, fw::TObject* sender, int32_t x, int32_t y, fw::TStrings* files) {
  TJVCLControl* w = self(data);
  w->Fire("onDragDropFiles", sender, [&](TJValueList& a) {
    a.AddInteger(x);
    a.AddInteger(y);
    std::vector<std::string> names;
    if (files)
      for (int i = 0; i < files->Count(); ++i) names.push_back(files->Get(i));
    a.AddObject(NewStringsCopy(w->Engine(), names));
  }, [](TJValueList&) {});
}

void TJVCLWinControl::HandleDragDropText(void* data, fw::TObject* sender, int32_t x, int32_t y,
                                         const std::string& text) {
  TJVCLControl* w = self(data);
  w->Fire("onDragDropText", sender, [&](TJValueList& a) {
    a.AddInteger(x);
    a.AddInteger(y);
    a.AddString(text);
  }, [](TJValueList&) {});
}

}  // namespace gui
