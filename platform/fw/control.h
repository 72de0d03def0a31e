// Controls: TControl (position, size, visibility, caption, colour, font, cursor, mouse events),
// TGraphicControl (drawn by its parent's window, no handle, no focus) and TWinControl (a window:
// child controls, a handle, focus, tab order, keyboard events). Controls hold their state
// themselves; a peer made by the installed peer factory shows it on screen and reports input back
// through the input calls (MouseDown, KeyPress, ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/colors.h"
#include "platform/fw/component.h"
#include "platform/fw/events.h"
#include "platform/fw/font.h"
#include "platform/fw/services.h"
#include "platform/fw/types.h"

namespace fw {

FW_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
FW_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
FW_SET(TAnchors, TAnchorKind)
FW_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
FW_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
FW_ENUM(TDragMode, dmManual, dmAutomatic)
FW_ENUM(TDragKind, dkDrag, dkDock)

using TCursor = int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                         crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                         crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16,
                         crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                         crSizeAll = -22, crSize = -22;
const rt::IdentMap& CursorIdents();

class TWinControl;
class TCustomForm;
class TDragDropTarget;
class TBasicAction;
class TBasicActionLink;

class TControl : public TComponent {
  RT_CLASS(TControl)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  // Moves the control into `parent`'s children (null takes it out). Raises EInvalidOperation when
  // the control would contain itself.
  virtual void SetParent(TWinControl* parent);

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
  // A change of size asks OnCanResize (which may alter or refuse it), then OnConstrainedResize
  // for the limits it is held to, before anything moves; a refused size stays as it was while
  // the position still follows.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual int32_t ClientWidth() const { return width_; }
  virtual int32_t ClientHeight() const { return height_; }
  void SetClientWidth(int32_t w) { SetClientSize(w, ClientHeight()); }
  void SetClientHeight(int32_t h) { SetClientSize(ClientWidth(), h); }
  virtual void SetClientSize(int32_t width, int32_t height);
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  // Where the client area's top-left corner is on the screen.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors a) { anchors_ = a; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show();
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to a showing form is too.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  // The control's text (a caption, or an edit's contents).
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& text);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() const { return font_; }
  void SetFont(TFont* font) { font_->Assign(font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; parentShowHint_ = false; }
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v) { parentShowHint_ = v; }
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode m) { biDiMode_ = m; }
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode m) { dragMode_ = m; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind k) { dragKind_ = k; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor c) { dragCursor_ = c; }
  int32_t HelpContext() const { return helpContext_; }
  void SetHelpContext(int32_t c) { helpContext_ = c; }

  // Fires OnClick (also from code); without a handler of its own (or with the action's), a
  // control linked to an action runs the action.
  virtual void Click();

  // The action the control is linked to (null when none). Linking takes the action's caption,
  // enabled state, hint, visibility and help context over, and follows their changes.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  // Asks the linked action to update itself (the application does it at idle).
  virtual void InitiateAction();
  // The hint to show for the control, as its action lets it be shown; false when none is to be.
  bool HintToShow(std::string& hint) const;
  virtual void DblClick();
  // Asks for a repaint later; Repaint and Update paint at once.
  virtual void Invalidate();
  void Repaint();
  void Refresh() { Repaint(); }
  void Update();
  void BringToFront();
  void SendToBack();

  // Input, as the peer reports it (client coordinates).
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  void MouseMove(TShiftState shift, int32_t x, int32_t y);
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // The second press of a double click (in place of its MouseDown).
  void MouseDoubleClick(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // The wheel turned by `delta` (120 a notch, positive away from the user) over the control, the
  // mouse at `screenPos`: OnMouseWheel, then OnMouseWheelDown or OnMouseWheelUp for each whole
  // notch turned; what none of them handled goes on to the parent. True when handled (or when
  // a handler freed the control).
  bool MouseWheel(TShiftState shift, int32_t delta, TPoint screenPos);

  // The peer that shows the control; null while it has none.
  TControlPeer* Peer() const { return peer_.get(); }
  // Makes the peer (and those of the children) when a peer factory is installed and the parent
  // has one.
  virtual void CreatePeer();
  virtual void DestroyPeer();
  // Window controls are windows; graphic controls are drawn by their parent.
  virtual bool IsWindowed() const { return false; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void Loaded() override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TContextPopupEvent OnContextPopup;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDock;
  TStartDockEvent OnStartDock;

 protected:
  // Tells the peer (when there is one).
  void PeerChanged(TPeerChange what) const;
  void SetPeer(std::unique_ptr<TControlPeer> peer) { peer_ = std::move(peer); }
  virtual void Resize();
  // OnCanResize, then the limits of OnConstrainedResize applied; false when the size is refused.
  virtual bool CanResize(int32_t& width, int32_t& height);
  // This control's own wheel handlers (the parent is asked by MouseWheel).
  virtual bool DoMouseWheel(TShiftState shift, int32_t delta, TPoint screenPos);
  virtual void TextChanged() { PeerChanged(TPeerChange::Text); }
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged();
  virtual void EnabledChanged() { PeerChanged(TPeerChange::Enabled); }
  // The parent's font or colour changed (taken over when ParentFont / ParentColor).
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  // Takes the state of a linked action over; with `checkDefaults` only where the control still
  // has its default (a control read from a description keeps what the description set).
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
  // Whether a left press and release on the control is a click (buttons click on their own).
  bool clickOnMouseUp_ = true;
  // While above 0, Click does nothing (state taken over from an action is no click).
  int clicksDisabled_ = 0;
  bool parentColorDefault_ = false;

 private:
  void FontOnChange(TObject*);

  TWinControl* parent_ = nullptr;
  std::unique_ptr<TControlPeer> peer_;
  int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  TFont* font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false, parentShowHint_ = true;
  TBiDiMode biDiMode_ = bdLeftToRight;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_ = crDrag;
  int32_t helpContext_ = 0;
  bool leftPressed_ = false;
  // What the wheel turned short of a whole notch.
  int32_t wheelRemainder_ = 0;
  std::unique_ptr<TBasicActionLink> actionLink_;

  friend class TWinControl;
};

// A control without a window of its own (labels, images).
class TGraphicControl : public TControl {
  RT_CLASS(TGraphicControl)
 public:
  using TControl::TControl;
};

class TWinControl : public TControl {
  RT_CLASS(TWinControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return int(controls_.size()); }
  // Raises EListError for an index outside 0..ControlCount - 1.
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The visible (and enabled, unless allowed) child at a client point; the topmost wins.
  TControl* ControlAtPos(TPoint p, bool allowDisabled = false) const;
  // A direct child control with that name; null when none.
  TControl* FindChildControl(std::string_view name) const;

  // The window's handle (made on first use).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != 0; }
  void HandleNeeded() { Handle(); }

  int32_t TabOrder() const;
  void SetTabOrder(int32_t order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // The children that take part in the tab order, in that order.
  std::vector<TWinControl*> TabList() const;

  // Showing and enabled up to the form.
  bool CanFocus() const;
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
  virtual void SetFocus();
  bool Focused() const;

  // Keyboard input, as the peer reports it. The form sees it first when it has KeyPreview; a
  // handler that sets the key to 0 swallows it. True when the key was swallowed.
  bool KeyDown(uint16_t& key, TShiftState shift);
  bool KeyPress(char& key);
  bool KeyUp(uint16_t& key, TShiftState shift);
  // Focus moved into or out of the control (from the peer).
  void FocusIn();
  void FocusOut();

  // Places the children aligned to the edges (top, bottom, left, right, then the client ones) in
  // the client area, in their order along each edge.
  void AlignControls();
  // The part of the client area aligned children fill (panels leave their bevels and border).
  virtual TRect AlignRect() const { return ClientRect(); }
  void Loaded() override;

  // Keys the control uses itself rather than leave to the form (a memo's Enter and Tab).
  virtual bool WantsKey(uint16_t key) const { return false; }

  // Suspends aligning the children until the matching EnableAlign, which realigns.
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  // Mirrors the children left to right in the client area (their children too when allLevels).
  void FlipChildren(bool allLevels);

  // Moves every child control by (dx, dy) within the client area.
  void ScrollBy(int32_t dx, int32_t dy);
  // Scales the control's size and its children's bounds by multiplier / divisor (a divisor of 0
  // raises EInvalidOperation).
  void ScaleBy(int32_t multiplier, int32_t divisor);

  // The drop target registered on this control's window; null when none.
  TDragDropTarget* DropTarget() const { return dropTarget_; }

  bool IsWindowed() const override { return true; }
  void CreatePeer() override;
  void DestroyPeer() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  void FontChanged() override;
  void ColorChanged() override;
  virtual void DoEnter();
  virtual void DoExit();
  // The control's own handling after the handlers (dialog keys of forms, ...).
  virtual bool DoKeyDown(uint16_t& key, TShiftState shift);
  virtual bool DoKeyPress(char& key);
  virtual bool DoKeyUp(uint16_t& key, TShiftState shift);

  bool tabStop_ = false;

 private:
  // Children anchored to the right or bottom edge follow a change of the client size.
  void AnchorChildren(int32_t oldClientWidth, int32_t oldClientHeight);

  bool aligning_ = false;
  int alignDisabled_ = 0;
  TDragDropTarget* dropTarget_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  HWND handle_ = 0;
  int32_t tabOrder_ = -1;

  friend class TControl;
  friend class TDragDropTarget;
};

// The form a control is on (the topmost parent that is a form); null when there is none.
TCustomForm* GetParentForm(const TControl* control);

}  // namespace fw
