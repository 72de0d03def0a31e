#include "platform/fw/control.h"

#include <algorithm>
#include <cstdlib>

#include "platform/fw/actions.h"
#include "platform/fw/drag_drop.h"
#include "platform/fw/errors.h"
#include "platform/fw/form.h"
#include "platform/fw/keys.h"
#include "platform/rt/persistent.h"

namespace fw {

const rt::IdentMap& CursorIdents() {
  static const rt::IdentMap m(
      "TCursor", {{"crDefault", crDefault},     {"crNone", crNone},         {"crArrow", crArrow},
                  {"crCross", crCross},         {"crIBeam", crIBeam},       {"crSizeNESW", crSizeNESW},
                  {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE},
                  {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
                  {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},     {"crVSplit", crVSplit},
                  {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},   {"crNo", crNo},
                  {"crAppStart", crAppStart},   {"crHelp", crHelp},         {"crHandPoint", crHandPoint},
                  {"crSizeAll", crSizeAll}});
  return m;
}

// ---- TControl ----

const rt::ClassInfo& TControl::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TControl>("TControl", &TComponent::StaticClassInfo())
          .property("Left", &TControl::Left, &TControl::SetLeft)
          .property("Top", &TControl::Top, &TControl::SetTop)
          .property("Width", &TControl::Width, &TControl::SetWidth)
          .property("Height", &TControl::Height, &TControl::SetHeight)
          .property("Align", &TControl::Align, &TControl::SetAlign).defaultValue(alNone)
          .property("Anchors", &TControl::Anchors, &TControl::SetAnchors)
          .defaultValue((1 << akLeft) | (1 << akTop))
          .property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).defaultValue(bdLeftToRight)
          .integer("Color", ColorIdents(), &TControl::Color, &TControl::SetColor)
          .stored([](const TControl* c) { return !c->ParentColor(); })
          .integer("Cursor", CursorIdents(), &TControl::Cursor, &TControl::SetCursor).defaultValue(crDefault)
          .integer("DragCursor", CursorIdents(), &TControl::DragCursor, &TControl::SetDragCursor)
          .defaultValue(crDrag)
          .property("DragKind", &TControl::DragKind, &TControl::SetDragKind).defaultValue(dkDrag)
          .property("DragMode", &TControl::DragMode, &TControl::SetDragMode).defaultValue(dmManual)
          .property("Enabled", &TControl::Enabled, &TControl::SetEnabled).defaultValue(true)
          .property("Font", &TControl::Font, &TControl::SetFont)
          .stored([](const TControl* c) { return !c->ParentFont(); })
          .property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).defaultValue(0)
          .property("Hint", &TControl::Hint, &TControl::SetHint)
          .stored([](const TControl* c) { return !c->Hint().empty(); })
          .property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).defaultValue(false)
          .property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).defaultValue(true)
          .property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .defaultValue(true)
          .property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .stored([](const TControl* c) { return !c->ParentShowHint(); })
          .property("Visible", &TControl::Visible, &TControl::SetVisible).defaultValue(true)
          .event("OnClick", NotifyEventType(), &TControl::OnClick)
          .event("OnContextPopup", ContextPopupEventType(), &TControl::OnContextPopup)
          .event("OnDblClick", NotifyEventType(), &TControl::OnDblClick)
          .event("OnDragDrop", DragDropEventType(), &TControl::OnDragDrop)
          .event("OnDragOver", DragOverEventType(), &TControl::OnDragOver)
          .event("OnEndDock", EndDragEventType(), &TControl::OnEndDock)
          .event("OnEndDrag", EndDragEventType(), &TControl::OnEndDrag)
          .event("OnMouseDown", MouseEventType(), &TControl::OnMouseDown)
          .event("OnMouseMove", MouseMoveEventType(), &TControl::OnMouseMove)
          .event("OnMouseUp", MouseEventType(), &TControl::OnMouseUp)
          .event("OnStartDock", StartDockEventType(), &TControl::OnStartDock)
          .event("OnStartDrag", StartDragEventType(), &TControl::OnStartDrag)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TControl(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(new TFont) {
  font_->OnChange = TNotifyEvent::bind<&TControl::FontOnChange>(this);
}

TControl::~TControl() {
  DestroyPeer();
  if (parent_) parent_->RemoveControl(this);
  delete font_;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  for (TControl* p = parent; p; p = p->parent_)
    if (p == this) throw EInvalidOperation(msg::ControlParentSetToSelf);
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  // A description being read or a control going away sets what it sets; nothing is asked.
  if ((width != width_ || height != height_) && !HasState(csLoading) && !HasState(csDestroying)) {
    auto alive = LivenessToken();
    const bool accepted = CanResize(width, height);
    if (alive.expired()) return;
    if (!accepted) {
      width = width_;
      height = height_;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
  }
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  const int32_t oldClientWidth = ClientWidth(), oldClientHeight = ClientHeight();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  PeerChanged(TPeerChange::Bounds);
  if (resized)
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
      w->AnchorChildren(oldClientWidth, oldClientHeight);
      w->AlignControls();
    }
  if (parent_ && align_ != alNone) parent_->AlignControls();
  if (resized && !HasState(csLoading)) Resize();
}

void TControl::SetClientSize(int32_t width, int32_t height) { SetBounds(left_, top_, width, height); }

bool TControl::CanResize(int32_t& width, int32_t& height) {
  auto alive = LivenessToken();
  bool resize = true;
  if (OnCanResize) OnCanResize(this, width, height, resize);
  if (!resize || alive.expired()) return false;
  // No limits of the control's own: the handler sets those it wants (0 is none).
  int32_t minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
  if (OnConstrainedResize) OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
  if (alive.expired()) return false;
  if (maxWidth > 0 && width > maxWidth) width = maxWidth;
  else if (minWidth > 0 && width < minWidth) width = minWidth;
  if (maxHeight > 0 && height > maxHeight) height = maxHeight;
  else if (minHeight > 0 && height < minHeight) height = minHeight;
  return true;
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  if (parent_ && align_ != alNone) parent_->AlignControls();
}

void TControl::VisibleChanged() { PeerChanged(TPeerChange::Visible); }

void TControl::Show() {
  if (parent_) parent_->Show();
  SetVisible(true);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value && parent_) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_ || parent_->Color() == color_) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::ColorChanged() { PeerChanged(TPeerChange::Color); }

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value && parent_) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  takingParentFont_ = true;
  try {
    font_->Assign(parent_->Font());
  } catch (...) {
    takingParentFont_ = false;
    throw;
  }
  takingParentFont_ = false;
}

void TControl::FontOnChange(TObject*) {
  if (!takingParentFont_) parentFont_ = false;
  FontChanged();
}

void TControl::FontChanged() { PeerChanged(TPeerChange::Font); }

void TControl::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  PeerChanged(TPeerChange::Cursor);
}

void TControl::Click() {
  if (clicksDisabled_ > 0) return;
  TBasicAction* action = Action();
  if (OnClick && (!action || !(OnClick == action->OnExecuteEvent())))
    OnClick(this);
  else if (action)
    actionLink_->Execute(this);
}

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  auto changed = [this] {
    if (TBasicAction* a = Action()) ActionChange(a, false);
  };
  if (LinkAction(actionLink_, action, changed)) ActionChange(action, HasState(csLoading));
}

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(sender);
  if (!a) return;
  if (!checkDefaults || Caption().empty()) SetCaption(a->Caption());
  if (!checkDefaults || Enabled()) SetEnabled(a->Enabled());
  if (!checkDefaults || Hint().empty()) SetHint(a->Hint());
  if (!checkDefaults || HelpContext() == 0) SetHelpContext(a->HelpContext());
  if (!checkDefaults || Visible()) SetVisible(a->Visible());
}

void TControl::InitiateAction() {
  if (actionLink_) actionLink_->Update();
}

bool TControl::HintToShow(std::string& hint) const {
  hint = hint_;
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) return a->DoHint(hint) && !hint.empty();
  return !hint.empty();
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Invalidate() { PeerChanged(TPeerChange::Content); }

void TControl::Repaint() {
  if (peer_) peer_->PaintNow();
}

void TControl::Update() { Repaint(); }

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  parent_->PeerChanged(TPeerChange::Order);
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  parent_->PeerChanged(TPeerChange::Order);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) leftPressed_ = true;
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  const bool click = button == mbLeft && leftPressed_ && clickOnMouseUp_ && ClientRect().Contains({x, y});
  if (button == mbLeft) leftPressed_ = false;
  // The handler may free the control: nothing of it is touched after the events.
  auto alive = LivenessToken();
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  if (click && !alive.expired() && enabled_) Click();
}

void TControl::MouseDoubleClick(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  // The second press of a double click: OnDblClick, then OnMouseDown with ssDouble; the release
  // that follows is no second click.
  leftPressed_ = false;
  auto alive = LivenessToken();
  if (button == mbLeft) DblClick();
  shift.include(ssDouble);
  if (!alive.expired() && OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

bool TControl::MouseWheel(TShiftState shift, int32_t delta, TPoint screenPos) {
  auto alive = LivenessToken();
  for (TControl* c = this; c; c = c->parent_) {
    auto asked = c->LivenessToken();
    if (c->enabled_ && c->DoMouseWheel(shift, delta, screenPos)) return true;
    // A handler that freed or moved what the wheel was going through ends the walk.
    if (alive.expired() || asked.expired()) return true;
  }
  return false;
}

bool TControl::DoMouseWheel(TShiftState shift, int32_t delta, TPoint screenPos) {
  constexpr int32_t notch = 120;
  auto alive = LivenessToken();
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, delta, screenPos, handled);
  if (handled || alive.expired()) return true;
  // Fine-grained wheels (touchpads) turn a notch over several events.
  wheelRemainder_ += delta;
  while (std::abs(wheelRemainder_) >= notch) {
    const bool down = wheelRemainder_ < 0;
    wheelRemainder_ += down ? notch : -notch;
    TMouseWheelUpDownEvent& event = down ? OnMouseWheelDown : OnMouseWheelUp;
    if (!handled && event) event(this, shift, screenPos, handled);
    if (alive.expired()) return true;
  }
  return handled;
}

void TControl::PeerChanged(TPeerChange what) const {
  if (peer_) peer_->Changed(what);
}

void TControl::CreatePeer() {
  if (peer_) return;
  IPeerFactory* factory = PeerFactory();
  if (!factory) return;
  if (parent_ && !parent_->Peer()) return;
  if (!parent_ && !dynamic_cast<TCustomForm*>(this)) return;
  peer_ = factory->CreatePeer(*this);
}

void TControl::DestroyPeer() { peer_.reset(); }

const rt::ClassInfo& TGraphicControl::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClassInfo()).build();
  return info;
}

// ---- TWinControl ----

const rt::ClassInfo& TWinControl::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClassInfo())
          .property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).defaultValue(-1)
          .property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).defaultValue(false)
          .event("OnEnter", NotifyEventType(), &TWinControl::OnEnter)
          .event("OnExit", NotifyEventType(), &TWinControl::OnExit)
          .event("OnKeyDown", KeyEventType(), &TWinControl::OnKeyDown)
          .event("OnKeyPress", KeyPressEventType(), &TWinControl::OnKeyPress)
          .event("OnKeyUp", KeyEventType(), &TWinControl::OnKeyUp)
          .event("OnResize", NotifyEventType(), &TControl::OnResize)
          .create([](rt::TPersistent* owner) -> rt::TPersistent* {
            return new TWinControl(static_cast<TComponent*>(owner));
          })
          .build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (dropTarget_) dropTarget_->SetTarget(nullptr);
  Destroying();  // no realigning of what is going away
  // The window goes first (its children's windows with it), then the child controls.
  DestroyPeer();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    child->Free();
  }
  if (handle_) ReleaseHandle(handle_);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return controls_[index];
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->parent_ == this) return;
  if (control->parent_) control->parent_->RemoveControl(control);
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    int32_t order = w->tabOrder_;
    if (order >= 0 && order < int32_t(tabList_.size()))
      tabList_.insert(tabList_.begin() + order, w);
    else
      tabList_.push_back(w);
    w->tabOrder_ = -1;
  }
  control->ParentFontChanged();
  control->ParentColorChanged();
  if (Peer()) control->CreatePeer();
  if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(control);
  control->DestroyPeer();
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    auto t = std::find(tabList_.begin(), tabList_.end(), w);
    if (t != tabList_.end()) tabList_.erase(t);
  }
  control->parent_ = nullptr;
  if (control->Align() != alNone && !HasState(csDestroying)) AlignControls();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  AlignControls();
}

void TWinControl::ScrollBy(int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0) return;
  for (TControl* c : std::vector<TControl*>(controls_)) c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
}

void TWinControl::ScaleBy(int32_t multiplier, int32_t divisor) {
  if (divisor == 0) throw EInvalidOperation("Division by zero");
  auto scale = [&](int32_t v) { return int32_t(int64_t(v) * multiplier / divisor); };
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      w->ScaleBy(multiplier, divisor);
      w->SetBounds(scale(c->Left()), scale(c->Top()), c->Width(), c->Height());
    } else {
      c->SetBounds(scale(c->Left()), scale(c->Top()), scale(c->Width()), scale(c->Height()));
    }
  }
  SetBounds(Left(), Top(), scale(Width()), scale(Height()));
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) AlignControls();
}

void TWinControl::FlipChildren(bool allLevels) {
  const int32_t width = ClientWidth();
  for (TControl* c : std::vector<TControl*>(controls_)) {
    TAlign a = c->Align();
    if (a == alLeft) c->SetAlign(alRight);
    else if (a == alRight) c->SetAlign(alLeft);
    c->SetBounds(width - c->Left() - c->Width(), c->Top(), c->Width(), c->Height());
    if (allLevels)
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->FlipChildren(true);
  }
  AlignControls();
}

void TWinControl::AlignControls() {
  if (aligning_ || alignDisabled_ > 0 || HasState(csLoading) || HasState(csDestroying)) return;
  aligning_ = true;
  try {
    TRect r = AlignRect();
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
      std::vector<TControl*> list;
      for (TControl* c : controls_)
        if (c->Visible() && c->Align() == kind) list.push_back(c);
      // Along an edge, in the order they stand there now (the list order breaks ties).
      std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
        switch (kind) {
          case alTop: return a->Top() < b->Top();
          case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
          case alLeft: return a->Left() < b->Left();
          case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
          default: return false;
        }
      });
      for (TControl* c : list) {
        const int32_t w = c->Width(), h = c->Height();
        switch (kind) {
          case alTop:
            c->SetBounds(r.Left, r.Top, r.Width(), h);
            r.Top = std::min(r.Bottom, r.Top + h);
            break;
          case alBottom:
            c->SetBounds(r.Left, r.Bottom - h, r.Width(), h);
            r.Bottom = std::max(r.Top, r.Bottom - h);
            break;
          case alLeft:
            c->SetBounds(r.Left, r.Top, w, r.Height());
            r.Left = std::min(r.Right, r.Left + w);
            break;
          case alRight:
            c->SetBounds(r.Right - w, r.Top, w, r.Height());
            r.Right = std::max(r.Left, r.Right - w);
            break;
          default: c->SetBounds(r.Left, r.Top, r.Width(), r.Height()); break;
        }
      }
    }
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::AnchorChildren(int32_t oldClientWidth, int32_t oldClientHeight) {
  if (HasState(csLoading)) return;
  const int32_t dw = ClientWidth() - oldClientWidth, dh = ClientHeight() - oldClientHeight;
  if (dw == 0 && dh == 0) return;
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->Align() != alNone) continue;
    const TAnchors a = c->Anchors();
    int32_t l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.has(akRight)) (a.has(akLeft) ? w : l) += dw;
    else if (!a.has(akLeft)) l += dw / 2;
    if (a.has(akBottom)) (a.has(akTop) ? h : t) += dh;
    else if (!a.has(akTop)) t += dh / 2;
    c->SetBounds(l, t, w, h);
  }
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(std::string_view name) const {
  for (TControl* c : controls_)
    if (rt::TextEqual{}(c->Name(), name)) return c;
  return nullptr;
}

HWND TWinControl::Handle() {
  if (!handle_) handle_ = AllocateHandle(this);
  return handle_;
}

int32_t TWinControl::TabOrder() const {
  TWinControl* p = Parent();
  if (!p) return tabOrder_;
  auto it = std::find(p->tabList_.begin(), p->tabList_.end(), this);
  return it == p->tabList_.end() ? -1 : int32_t(it - p->tabList_.begin());
}

void TWinControl::SetTabOrder(int32_t order) {
  TWinControl* p = Parent();
  if (!p) {
    tabOrder_ = order;
    return;
  }
  auto& list = p->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (order < 0 || order >= int32_t(list.size()))
    list.push_back(this);
  else
    list.insert(list.begin() + order, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return tabList_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (dynamic_cast<const TCustomForm*>(c)) return true;
  }
  return false;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(msg::CannotFocus);
  if (TCustomForm* form = GetParentForm(this); form && form != this) {
    form->SetActiveControl(this);
  } else if (Peer()) {
    Peer()->SetFocus();
  }
}

bool TWinControl::Focused() const {
  if (Peer()) return Peer()->Focused();
  TCustomForm* form = GetParentForm(this);
  return form && form->ActiveControl() == this;
}

bool TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  auto alive = LivenessToken();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->OnKeyDown) {
    form->OnKeyDown(form, key, shift);
    if (key == 0 || alive.expired()) return true;
  }
  if (OnKeyDown) {
    OnKeyDown(this, key, shift);
    if (key == 0 || alive.expired()) return true;
  }
  if (form && form->DialogKey(key, shift, this)) return true;
  return DoKeyDown(key, shift);
}

bool TWinControl::KeyPress(char& key) {
  auto alive = LivenessToken();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->OnKeyPress) {
    form->OnKeyPress(form, key);
    if (key == 0 || alive.expired()) return true;
  }
  if (OnKeyPress) {
    OnKeyPress(this, key);
    if (key == 0 || alive.expired()) return true;
  }
  return DoKeyPress(key);
}

bool TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  auto alive = LivenessToken();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->OnKeyUp) {
    form->OnKeyUp(form, key, shift);
    if (key == 0 || alive.expired()) return true;
  }
  if (OnKeyUp) {
    OnKeyUp(this, key, shift);
    if (key == 0 || alive.expired()) return true;
  }
  return DoKeyUp(key, shift);
}

bool TWinControl::DoKeyDown(uint16_t&, TShiftState) { return false; }
bool TWinControl::DoKeyPress(char&) { return false; }
bool TWinControl::DoKeyUp(uint16_t&, TShiftState) { return false; }

void TWinControl::FocusIn() {
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->ActiveControlFocused(this);
  DoEnter();
}

void TWinControl::FocusOut() { DoExit(); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CreatePeer() {
  TControl::CreatePeer();
  if (!Peer()) return;
  if (dropTarget_)
    if (IDragDropService* drops = DragDropService()) drops->Register(*this);
  for (TControl* c : std::vector<TControl*>(controls_)) c->CreatePeer();
  PeerChanged(TPeerChange::Order);
}

void TWinControl::DestroyPeer() {
  // Children first: their views live inside this one.
  for (TControl* c : controls_) c->DestroyPeer();
  TControl::DestroyPeer();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : std::vector<TControl*>(controls_)) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* c : std::vector<TControl*>(controls_)) c->ParentColorChanged();
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->Owner() == root) proc(c);
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* c = dynamic_cast<TControl*>(child);
  if (!c || c->parent_ != this) return;
  auto it = std::find(controls_.begin(), controls_.end(), c);
  controls_.erase(it);
  order = std::clamp(order, 0, int(controls_.size()));
  controls_.insert(controls_.begin() + order, c);
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

}  // namespace fw
