// Forms: top-level windows with a caption, a border, a place on the screen, a canvas of their
// client area, the close protocol (OnCloseQuery, OnClose) and modal showing (ShowModal runs until
// ModalResult is set). TForm is what programs derive their windows from; a form class reads its
// components from its form description with ReadComponentText in its constructor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fw/canvas.h"
#include "platform/fw/control.h"

class QImage;

namespace fw {

class TMainMenu;

FW_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// The border of controls other than forms: bsNone or bsSingle.
FW_SCOPED_ENUM(TBorderStyle, bsNone, bsSingle)
FW_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
FW_SET(TBorderIcons, TBorderIcon)
FW_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
        poMainFormCenter, poOwnerFormCenter)
FW_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
FW_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)

// The help command of a request for a help context (its data is the context number).
inline constexpr uint16_t kHelpContext = 1;

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                              mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

class TCustomForm : public TWinControl {
  RT_CLASS(TCustomForm)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Fires OnCreate (a failure in it goes to the application's handler), then shows the form
  // when its description made it visible. Call it once the constructor has finished.
  void AfterConstruction();

  int32_t ClientWidth() const override;
  int32_t ClientHeight() const override;
  void SetClientSize(int32_t width, int32_t height) override;
  // The window frame around the client area for the border style: the side width and the
  // caption bar's height.
  int32_t FrameWidth() const;
  int32_t CaptionHeight() const;
  // The menu bar between the caption and the client area: its height, 0 without a menu.
  int32_t MenuBarHeight() const;
  TPoint ClientOrigin() const override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState s);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle s) { formStyle_ = s; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  int32_t PixelsPerInch() const { return 96; }
  void SetPixelsPerInch(int32_t) {}
  int32_t TextHeight() const { return textHeight_; }
  void SetTextHeight(int32_t h) { textHeight_ = h; }
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  // The form's menu bar. Setting it keeps the client area's size (the window grows or shrinks).
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Updates the actions of the form's visible controls and of its menu bar's items (the
  // application does it when it goes idle).
  void UpdateActions();
  void Notification(TComponent* component, TOperation operation) override;

  // The control that has (or gets, when the form is active) the keyboard focus. Setting it
  // raises EInvalidOperation when the control cannot take the focus on a showing form.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  void FocusControl(TWinControl* control) { SetActiveControl(control); }
  // Focuses the next (or previous) control of the tab order after `current`.
  void SelectNext(TWinControl* current, bool forward);
  // The form that has the keyboard (as the peer reports it).
  bool Active() const { return active_; }

  // The canvas of the client area. What is drawn on it stays until the next repaint, which
  // clears it to Color and fires OnPaint.
  TCanvas* Canvas();
  const QImage& Surface();
  // Paints the client area (from the peer's paint): clears and fires OnPaint when a repaint was
  // asked for.
  void PaintWindow();
  void Invalidate() override;

  bool Showing() const override;
  void SetVisible(bool visible) override;
  // Shows the form in front (as Visible = true).
  void Show();

  // Runs the form modally through the dialog service; raises EInvalidOperation "Cannot make a
  // visible window modal" on a form that is visible already. The result is the ModalResult.
  int32_t ShowModal();
  // The modal loop itself (the dialog service's way of running the form).
  int32_t RunModalLoop();
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result);

  // The close protocol: OnCloseQuery may refuse; OnClose chooses hide, free, minimise or
  // nothing. Closing the main form ends the application; a modal form ends its loop.
  void Close();
  bool CloseQuery();
  // Frees the form once the events being handled are done.
  void Release();
  // Cancels the modes a control can be in on the user's behalf: open popup menus close.
  void SendCancelMode(TControl* sender);

  // Enter, Escape and Tab from `from`: the default or cancel button, the next control; F1 asks
  // for help.
  bool DialogKey(uint16_t key, TShiftState shift, TWinControl* from);
  // F1 on `from`: a help request for the help context of `from` (or of its nearest parent that
  // has one; 0 when none).
  bool HelpRequested(TControl* from);
  // Hands a help command to OnHelp; true when the handler took it.
  bool HelpCommand(uint16_t command, int32_t data);

  // From the peer.
  void Activated();
  void Deactivated();
  void ClientResizedByUser(int32_t width, int32_t height);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return this; }
  void Loaded() override;

  // For the controls: one of them leaves, or took the focus.
  void ControlRemoved(TControl* control);
  void ActiveControlFocused(TWinControl* control);

  TNotifyEvent OnActivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  THelpEvent OnHelp;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TNotifyEvent OnShow;

 protected:
  void BeforeDestruction() override;
  void VisibleChanged() override;
  void ColorChanged() override;
  void TextChanged() override;
  void Resize() override;
  virtual void DoCreate();
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  virtual void DoHide();

 private:
  void CanvasChanged(TObject*);
  void CloseModal();
  void PlaceOnScreen();
  void EnsureSurface();

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  bool keyPreview_ = false;
  int32_t textHeight_ = 13;
  bool oldCreateOrder_ = false, scaled_ = true, autoScroll_ = false;
  TWinControl* activeControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  bool active_ = false;
  bool created_ = false;
  bool destroyed_ = false;
  bool modal_ = false;
  TModalResult modalResult_ = mrNone;
  TCanvas* canvas_ = nullptr;
  std::unique_ptr<QImage> surface_;
  bool eraseNeeded_ = true;
  bool painting_ = false;
};

class TForm : public TCustomForm {
  RT_CLASS(TForm)
 public:
  using TCustomForm::TCustomForm;
};

// Reads a form description in text form into `root` (its properties, then its components, which
// it creates). Malformed text raises EParserError with the line; other faults the reader's errors.
void ReadComponentText(TComponent* root, const std::string& text);
// The form description of `root` and its components in text form.
std::string WriteComponentText(TComponent* root);

}  // namespace fw
