// Wrappers of controls (position, visibility, parent, mouse and drag events) and of window
// controls (focus, child controls, keyboard events, drops of files and text from other programs).
// Every control family derives from one of them.
#pragma once

#include <memory>
#include <vector>

#include "platform/fw/control.h"
#include "platform/fw/drag_drop.h"
#include "script/gui/component_wrapper.h"

namespace gui {

class TJVCLWinControl;

class TJVCLControl : public TJVCLComponent {
  RT_CLASS(TJVCLControl)
 public:
  TJVCLControl(engine::TJBaseEngine* engine, engine::TJValueList* param);

  const rt::ClassInfo& VCLClass() const override;
  fw::TControl* Control() const { return static_cast<fw::TControl*>(VCL()); }

  void RegistMethods() override;
  // A first argument holding a window-control wrapper becomes the new control's parent.
  void AfterCreate(engine::TJValueList* param) override;
  void HookEvents() override;

  // Published `parent` (a window-control wrapper or null).
  engine::TJVCLPersistent* GetParent() const;
  void SetParent(engine::TJVCLPersistent* parent);
  TJVCLWinControl* GetParentWrapper() const;
  void SetParentWrapper(TJVCLWinControl* parent);

  void DoBringToFront(engine::TJValueList* args, engine::TJValue& result);
  void DoClientToScreen(engine::TJValueList* args, engine::TJValue& result);
  void DoHasParent(engine::TJValueList* args, engine::TJValue& result);
  void DoHide(engine::TJValueList* args, engine::TJValue& result);
  void DoInvalidate(engine::TJValueList* args, engine::TJValue& result);
  void DoPerform(engine::TJValueList* args, engine::TJValue& result);
  void DoRefresh(engine::TJValueList* args, engine::TJValue& result);
  void DoRepaint(engine::TJValueList* args, engine::TJValue& result);
  void DoScreenToClient(engine::TJValueList* args, engine::TJValue& result);
  void DoSendToBack(engine::TJValueList* args, engine::TJValue& result);
  void DoShow(engine::TJValueList* args, engine::TJValue& result);
  void DoUpdate(engine::TJValueList* args, engine::TJValue& result);
  void DoSetBounds(engine::TJValueList* args, engine::TJValue& result);

  // Bridge handlers of the control events.
  static void HandleMouseDown(void* self, fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift,
                              int32_t x, int32_t y);
  static void HandleMouseUp(void* self, fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift,
                            int32_t x, int32_t y);
  static void HandleMouseMove(void* self, fw::TObject* sender, fw::TShiftState shift, int32_t x, int32_t y);
  static void HandleCanResize(void* self, fw::TObject* sender, int32_t& width, int32_t& height, bool& resize);
  static void HandleConstrainedResize(void* self, fw::TObject* sender, int32_t& minWidth, int32_t& minHeight,
                                      int32_t& maxWidth, int32_t& maxHeight);
  static void HandleContextPopup(void* self, fw::TObject* sender, fw::TPoint mousePos, bool& handled);
  static void HandleDragDrop(void* self, fw::TObject* sender, fw::TObject* source, int32_t x, int32_t y);
  static void HandleDragOver(void* self, fw::TObject* sender, fw::TObject* source, int32_t x, int32_t y,
                             fw::TDragState state, bool& accept);
  static void HandleEndDrag(void* self, fw::TObject* sender, fw::TObject* target, int32_t x, int32_t y);
  static void HandleEndDock(void* self, fw::TObject* sender, fw::TObject* target, int32_t x, int32_t y);

 protected:
  // Keeps (or stops keeping) this wrapper alive through its parent's wrapper while the control it
  // made sits in that parent, so that a control placed on a form stays with its handlers however
  // the script holds it.
  void KeepWithParent();
  // The hooks shared by the control families (the mouse, drag and dock events; start-drag and
  // start-dock with empty handlers).
  void HookControlEvents(bool click, bool dblClick);
};

class TJVCLWinControl : public TJVCLControl {
  RT_CLASS(TJVCLWinControl)
 public:
  TJVCLWinControl(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLWinControl() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TWinControl* WinControl() const { return static_cast<fw::TWinControl*>(VCL()); }

  void RegistMethods() override;
  void HookEvents() override;
  void ReleaseVCL() override;
  void Dispose() override;
  void GetEventList(std::vector<std::string>& names) override;

  // Published.
  int32_t GetControlCount() const;
  int32_t GetHandle() const;
  int32_t GetParentWindow() const;
  void SetParentWindow(int32_t handle);
  bool GetShowing() const;
  int32_t GetVisibleDockClientCount() const { return 0; }
  bool GetAcceptDrop() const;
  void SetAcceptDrop(bool accept);

  void DoCanFocus(engine::TJValueList* args, engine::TJValue& result);
  void DoContainsControl(engine::TJValueList* args, engine::TJValue& result);
  void DoControlAtPos(engine::TJValueList* args, engine::TJValue& result);
  void DoDisableAlign(engine::TJValueList* args, engine::TJValue& result);
  void DoEnableAlign(engine::TJValueList* args, engine::TJValue& result);
  void DoFindChildControl(engine::TJValueList* args, engine::TJValue& result);
  void DoFlipChildren(engine::TJValueList* args, engine::TJValue& result);
  void DoFocused(engine::TJValueList* args, engine::TJValue& result);
  void DoHandleAllocated(engine::TJValueList* args, engine::TJValue& result);
  void DoHandleNeeded(engine::TJValueList* args, engine::TJValue& result);
  void DoRealign(engine::TJValueList* args, engine::TJValue& result);
  void DoScaleBy(engine::TJValueList* args, engine::TJValue& result);
  void DoScrollBy(engine::TJValueList* args, engine::TJValue& result);
  void DoSetFocus(engine::TJValueList* args, engine::TJValue& result);
  void DoControls(engine::TJValueList* args, engine::TJValue& result);

  static void HandleKeyDown(void* self, fw::TObject* sender, uint16_t& key, fw::TShiftState shift);
  static void HandleKeyUp(void* self, fw::TObject* sender, uint16_t& key, fw::TShiftState shift);
  static void HandleKeyPress(void* self, fw::TObject* sender, char& key);
  static void HandleMouseWheel(void* self, fw::TObject* sender, fw::TShiftState shift, int32_t wheelDelta,
                               fw::TPoint mousePos, bool& handled);
  static void HandleMouseWheelDown(void* self, fw::TObject* sender, fw::TShiftState shift, fw::TPoint mousePos,
                                   bool& handled);
  static void HandleMouseWheelUp(void* self, fw::TObject* sender, fw::TShiftState shift, fw::TPoint mousePos,
                                 bool& handled);
  static void HandleDragDropFiles(void* self, fw::TObject* sender, int32_t x, int32_t y, fw::TStrings* files);
  static void HandleDragDropText(void* self, fw::TObject* sender, int32_t x, int32_t y, const std::string& text);

  // The wrappers of script-made controls placed in this control (see KeepWithParent).
  void Keep(TJVCLControl* child);
  void Unkeep(TJVCLControl* child);

 protected:
  void HookWinControlEvents(bool keyUp);
  // The wheel events (the form's).
  void HookWheelEvents();

 private:
  std::unique_ptr<fw::TDragDropTarget> dropTarget_;
  std::vector<engine::TJRef<engine::TJObject>> kept_;
  int32_t parentWindow_ = 0;
};

}  // namespace gui
