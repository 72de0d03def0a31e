#include "platform/fw/form.h"

#include <QImage>
#include <algorithm>

#include "platform/fw/application.h"
#include "platform/fw/button.h"
#include "platform/fw/dialogs.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/errors.h"
#include "platform/fw/form_text.h"
#include "platform/fw/keys.h"
#include "platform/fw/reader.h"
#include "platform/fw/stream.h"
#include "platform/fw/writer.h"
#include "platform/fw/menus.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::ClassInfo& TCustomForm::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClassInfo())
          .property("Visible", &TControl::Visible, &TControl::SetVisible).defaultValue(false)
          .property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
          .property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll).defaultValue(false)
          .property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
          .defaultValue((1 << biSystemMenu) | (1 << biMinimize) | (1 << biMaximize))
          .property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
          .defaultValue(bsSizeable)
          .property("Caption", &TControl::Caption, &TControl::SetCaption)
          .property("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight)
          .property("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth)
          .property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).defaultValue(fsNormal)
          .property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).defaultValue(false)
          .property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
          .property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
          .property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch)
          .property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).defaultValue(poDesigned)
          .property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).defaultValue(true)
          .property("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight)
          .property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).defaultValue(wsNormal)
          .event("OnActivate", NotifyEventType(), &TCustomForm::OnActivate)
          .event("OnCanResize", CanResizeEventType(), &TControl::OnCanResize)
          .event("OnClose", CloseEventType(), &TCustomForm::OnClose)
          .event("OnCloseQuery", CloseQueryEventType(), &TCustomForm::OnCloseQuery)
          .event("OnConstrainedResize", ConstrainedResizeEventType(), &TControl::OnConstrainedResize)
          .event("OnCreate", NotifyEventType(), &TCustomForm::OnCreate)
          .event("OnDeactivate", NotifyEventType(), &TCustomForm::OnDeactivate)
          .event("OnDestroy", NotifyEventType(), &TCustomForm::OnDestroy)
          .event("OnHelp", HelpEventType(), &TCustomForm::OnHelp)
          .event("OnHide", NotifyEventType(), &TCustomForm::OnHide)
          .event("OnMouseWheel", MouseWheelEventType(), &TControl::OnMouseWheel)
          .event("OnMouseWheelDown", MouseWheelUpDownEventType(), &TControl::OnMouseWheelDown)
          .event("OnMouseWheelUp", MouseWheelUpDownEventType(), &TControl::OnMouseWheelUp)
          .event("OnPaint", NotifyEventType(), &TCustomForm::OnPaint)
          .event("OnShow", NotifyEventType(), &TCustomForm::OnShow)
          .build();
  return info;
}

const rt::ClassInfo& TForm::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TForm>("TForm", &TCustomForm::StaticClassInfo())
          .create([](rt::TPersistent* owner) -> rt::TPersistent* { return new TForm(static_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320 + 2 * FrameWidth(), 240 + CaptionHeight() + 2 * FrameWidth());
  Screen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
  destroyed_ = true;
  // The window goes before anything of the form does.
  DestroyPeer();
  Screen()->RemoveForm(this);
  if (Application()->MainForm() == this) Application()->SetMainForm(nullptr);
  delete canvas_;
}

void TCustomForm::BeforeDestruction() {
  TWinControl::BeforeDestruction();
  destroyed_ = true;
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application()->HandleException(this);
    }
  }
}

void TCustomForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  DoCreate();
  if (Visible()) VisibleChanged();
}

void TCustomForm::DoCreate() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    Application()->HandleException(this);
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // A control named as the active one by the description gets the focus when the form shows.
}

int32_t TCustomForm::FrameWidth() const {
  switch (borderStyle_) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return 4;
    default: return 3;
  }
}

int32_t TCustomForm::CaptionHeight() const {
  switch (borderStyle_) {
    case bsNone: return 0;
    case bsToolWindow:
    case bsSizeToolWin: return 18;
    default: return 23;
  }
}

int32_t TCustomForm::MenuBarHeight() const { return menu_ ? 20 : 0; }

int32_t TCustomForm::ClientWidth() const { return std::max(0, Width() - 2 * FrameWidth()); }
int32_t TCustomForm::ClientHeight() const {
  return std::max(0, Height() - CaptionHeight() - MenuBarHeight() - 2 * FrameWidth());
}

void TCustomForm::SetClientSize(int32_t width, int32_t height) {
  SetBounds(Left(), Top(), std::max(0, width) + 2 * FrameWidth(),
            std::max(0, height) + CaptionHeight() + MenuBarHeight() + 2 * FrameWidth());
}

TPoint TCustomForm::ClientOrigin() const {
  return {Left() + FrameWidth(), Top() + FrameWidth() + CaptionHeight() + MenuBarHeight()};
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == menu_) return;
  const int32_t width = ClientWidth(), height = ClientHeight();
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = menu;
  if (menu_) menu_->FreeNotification(this);
  SetClientSize(width, height);
  PeerChanged(TPeerChange::State);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == menu_ && component) {
    const int32_t width = ClientWidth(), height = ClientHeight();
    menu_ = nullptr;
    if (!HasState(csDestroying)) {
      SetClientSize(width, height);
      PeerChanged(TPeerChange::State);
    }
  }
}

namespace {
void UpdateControlActions(TControl* control) {
  if (!control->Visible()) return;
  auto alive = control->LivenessToken();
  control->InitiateAction();
  auto* window = dynamic_cast<TWinControl*>(control);
  if (!window || alive.expired()) return;
  for (int i = 0; i < window->ControlCount() && !alive.expired(); ++i) UpdateControlActions(window->Controls(i));
}
}  // namespace

void TCustomForm::UpdateActions() {
  auto alive = LivenessToken();
  if (menu_) {
    TMenuItem* top = menu_->Items();
    for (int i = 0; i < top->Count() && !alive.expired(); ++i)
      if (top->Items(i)->Visible()) top->Items(i)->InitiateAction();
  }
  for (int i = 0; i < ControlCount() && !alive.expired(); ++i) UpdateControlActions(Controls(i));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == borderStyle_) return;
  const int32_t w = ClientWidth(), h = ClientHeight();
  borderStyle_ = style;
  SetClientSize(w, h);  // the client area keeps its size
  PeerChanged(TPeerChange::State);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  borderIcons_ = icons;
  PeerChanged(TPeerChange::State);
}

void TCustomForm::SetWindowState(TWindowState s) {
  if (s == windowState_) return;
  windowState_ = s;
  PeerChanged(TPeerChange::State);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_ && (!control || !Peer() || control->Focused())) return;
  if (control && (control == this || GetParentForm(control) != this)) throw EInvalidOperation(msg::CannotFocus);
  if (control && created_ && !HasState(csLoading) && Visible() && !control->CanFocus())
    throw EInvalidOperation(msg::CannotFocus);
  activeControl_ = control;
  if (control && control->Peer() && Showing()) control->Peer()->SetFocus();
}

void TCustomForm::ActiveControlFocused(TWinControl* control) { activeControl_ = control; }

void TCustomForm::ControlRemoved(TControl* control) {
  if (!activeControl_) return;
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->ContainsControl(activeControl_))
    activeControl_ = nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
  // Every window control of the form that can take the focus, in tab order, depth first.
  std::vector<TWinControl*> order;
  std::function<void(TWinControl*)> collect = [&](TWinControl* parent) {
    for (TWinControl* c : parent->TabList()) {
      if (c->TabStop() && c->CanFocus()) order.push_back(c);
      collect(c);
    }
  };
  collect(this);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), current);
  size_t i;
  if (it == order.end())
    i = forward ? 0 : order.size() - 1;
  else if (forward)
    i = size_t(it - order.begin() + 1) % order.size();
  else
    i = size_t(it - order.begin() + order.size() - 1) % order.size();
  SetActiveControl(order[i]);
}

TCanvas* TCustomForm::Canvas() {
  if (!canvas_) {
    canvas_ = new TCanvas;
    canvas_->Font()->Assign(Font());
    canvas_->Brush()->SetColor(Color());
    canvas_->OnChange = TNotifyEvent::bind<&TCustomForm::CanvasChanged>(this);
  }
  EnsureSurface();
  return canvas_;
}

void TCustomForm::EnsureSurface() {
  const int32_t w = std::max(1, ClientWidth()), h = std::max(1, ClientHeight());
  if (!surface_ || surface_->width() != w || surface_->height() != h) {
    auto image = std::make_unique<QImage>(w, h, QImage::Format_RGB32);
    image->fill(ColorToPixel(Color()));
    if (surface_) {
      // What was drawn stays where the new size still shows it.
      for (int y = 0; y < std::min(h, surface_->height()); ++y)
        std::copy_n(surface_->constScanLine(y), 4 * std::min(w, surface_->width()), image->scanLine(y));
    }
    surface_ = std::move(image);
    eraseNeeded_ = true;
  }
  if (canvas_) canvas_->SetSurface(surface_.get());
}

const QImage& TCustomForm::Surface() {
  Canvas();
  return *surface_;
}

void TCustomForm::CanvasChanged(TObject*) {
  if (!painting_) PeerChanged(TPeerChange::Content);
}

void TCustomForm::Invalidate() {
  eraseNeeded_ = true;
  TWinControl::Invalidate();
}

void TCustomForm::PaintWindow() {
  Canvas();
  if (!eraseNeeded_ || painting_) return;
  eraseNeeded_ = false;
  painting_ = true;
  try {
    surface_->fill(ColorToPixel(Color()));
    if (OnPaint) OnPaint(this);
  } catch (...) {
    painting_ = false;
    Application()->HandleException(this);
    return;
  }
  painting_ = false;
}

void TCustomForm::ColorChanged() {
  eraseNeeded_ = true;
  if (canvas_) canvas_->Brush()->SetColor(Color());
  TWinControl::ColorChanged();
}

void TCustomForm::TextChanged() { PeerChanged(TPeerChange::Text); }

void TCustomForm::Resize() {
  eraseNeeded_ = true;
  TWinControl::Resize();
}

bool TCustomForm::Showing() const { return Visible() && created_ && !destroyed_; }

void TCustomForm::SetVisible(bool visible) { TControl::SetVisible(visible); }

void TCustomForm::Show() {
  SetVisible(true);
  if (Peer()) Peer()->Changed(TPeerChange::Order);
}

void TCustomForm::VisibleChanged() {
  if (!created_ || HasState(csLoading) || destroyed_) return;  // shown by AfterConstruction
  if (Visible()) {
    DoShow();
    if (!Visible()) return;  // OnShow hid it again
    PlaceOnScreen();
    if (!Peer()) CreatePeer();
    PeerChanged(TPeerChange::Visible);
    if (activeControl_ && activeControl_->Peer() && activeControl_->CanFocus()) activeControl_->Peer()->SetFocus();
  } else {
    DoHide();
    PeerChanged(TPeerChange::Visible);
    active_ = false;
  }
}

void TCustomForm::PlaceOnScreen() {
  int32_t x = Left(), y = Top();
  const TCustomForm* centre = nullptr;
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      x = (Screen()->Width() - Width()) / 2;
      y = (Screen()->Height() - Height()) / 2;
      break;
    case poMainFormCenter: centre = Application()->MainForm(); break;
    case poOwnerFormCenter: centre = dynamic_cast<const TCustomForm*>(Owner()); break;
    default: return;
  }
  if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
    if (centre && centre != this && centre->Visible()) {
      x = centre->Left() + (centre->Width() - Width()) / 2;
      y = centre->Top() + (centre->Height() - Height()) / 2;
    } else {
      x = (Screen()->Width() - Width()) / 2;
      y = (Screen()->Height() - Height()) / 2;
    }
  }
  SetBounds(std::max(0, x), std::max(0, y), Width(), Height());
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::Activated() {
  if (active_) return;
  active_ = true;
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivated() {
  if (!active_) return;
  active_ = false;
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::ClientResizedByUser(int32_t width, int32_t height) {
  if (borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin) return;  // the size is the form's
  if (width == ClientWidth() && height == ClientHeight()) return;
  auto alive = LivenessToken();
  SetClientSize(width, height);
  // A size the form refused or held to its limits puts the window back to the form's.
  if (!alive.expired() && (width != ClientWidth() || height != ClientHeight())) PeerChanged(TPeerChange::Bounds);
}

int32_t TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation(msg::VisibleChangeModal);
  if (!created_) AfterConstruction();
  modalResult_ = mrNone;
  return DialogService().ShowModal(*this);
}

int32_t TCustomForm::RunModalLoop() {
  if (modal_) throw EInvalidOperation(msg::VisibleChangeModal);
  // The loop stands on the form (and its caller on more): what its handlers free waits for it.
  TDispatchScope scope;
  TApplication* app = Application();
  auto alive = LivenessToken();
  modal_ = true;
  modalResult_ = mrNone;
  try {
    Show();
    while (modalResult_ == mrNone) {
      if (!MessagePump()) {  // nothing could ever end the loop
        modalResult_ = mrCancel;
        break;
      }
      app->HandleMessage();
      if (alive.expired()) return mrCancel;
      if (app->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
      if (modalResult_ != mrNone) CloseModal();
    }
  } catch (...) {
    if (!alive.expired()) {
      modal_ = false;
      Hide();
    }
    throw;
  }
  modal_ = false;
  Hide();
  return modalResult_;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) modalResult_ = mrNone;
    else if (action == caFree) Release();
  } catch (...) {
    modalResult_ = mrNone;
    Application()->HandleException(this);
  }
}

void TCustomForm::SetModalResult(TModalResult result) {
  modalResult_ = result;
  if (modal_ && result != mrNone)
    if (IMessagePump* pump = MessagePump()) pump->Wake();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application()->MainForm() == this) {
    Application()->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    default: Release(); break;
  }
}

void TCustomForm::Release() { FreeLater(this); }

void TCustomForm::SendCancelMode(TControl*) {
  if (IPopupMenuService* popups = PopupMenuService()) popups->CancelPopups();
}

namespace {

// The visible, enabled button of the form with Default (or Cancel) set.
TButton* FindDialogButton(TWinControl* parent, bool cancel) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible() || !c->Enabled()) continue;
    if (auto* b = dynamic_cast<TButton*>(c); b && (cancel ? b->Cancel() : b->Default())) return b;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TButton* b = FindDialogButton(w, cancel)) return b;
  }
  return nullptr;
}

}  // namespace

bool TCustomForm::DialogKey(uint16_t key, TShiftState shift, TWinControl* from) {
  if (from && from->WantsKey(key)) return false;
  if (shift.has(ssAlt) || shift.has(ssCtrl)) return false;
  if (key == VK_RETURN) {
    if (auto* b = dynamic_cast<TButton*>(from)) {
      b->Click();
      return true;
    }
    if (TButton* b = FindDialogButton(this, false)) {
      b->Click();
      return true;
    }
  } else if (key == VK_ESCAPE) {
    if (TButton* b = FindDialogButton(this, true)) {
      b->Click();
      return true;
    }
  } else if (key == VK_TAB) {
    SelectNext(from == this ? nullptr : from, !shift.has(ssShift));
    return true;
  } else if (key == VK_F1 && !shift.has(ssShift)) {
    return HelpRequested(from);
  }
  return false;
}

bool TCustomForm::HelpRequested(TControl* from) {
  // The help context of the control, or of the nearest of its parents that has one.
  int32_t context = 0;
  for (TControl* c = from; c && !context; c = c->Parent()) context = c->HelpContext();
  return HelpCommand(kHelpContext, context);
}

bool TCustomForm::HelpCommand(uint16_t command, int32_t data) {
  // There is no help viewer to call: what the handler says about calling one changes nothing.
  bool callHelp = true;
  return OnHelp && OnHelp(command, data, callHelp);
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TWinControl::GetChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent()) proc(c);
  }
}

void ReadComponentText(TComponent* root, const std::string& text) {
  TStringStream binary(ObjectTextToBinary(text));
  TReader reader(binary);
  reader.ReadRootComponent(root);
}

std::string WriteComponentText(TComponent* root) {
  TStringStream binary;
  TWriter writer(binary);
  writer.WriteDescendent(root);
  return ObjectBinaryToText(binary.DataString());
}

}  // namespace fw
