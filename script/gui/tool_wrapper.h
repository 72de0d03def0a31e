// Tool bars and their buttons, cool bars, up-down controls and spin edits seen from scripts. A tool
// bar is array-like: indexing it or iterating over it gives its buttons, each through its one
// wrapper (the same object the button's events pass as their sender).
#pragma once

#include "platform/fw/spin.h"
#include "platform/fw/tool_bar.h"
#include "script/gui/control_wrapper.h"
#include "script/gui/edit_wrapper.h"

namespace gui {

inline constexpr char konChanging[] = "onChanging";
inline constexpr char konChangingEx[] = "onChangingEx";

// The common base of tool bars, cool bars and up-downs; it tells its script no events itself.
class TJVCLToolWindow : public TJVCLWinControl {
  RT_CLASS(TJVCLToolWindow)
 public:
  TJVCLToolWindow(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBaseToolButton : public TJVCLControl {
  RT_CLASS(TJVCLBaseToolButton)
 public:
  TJVCLBaseToolButton(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TToolButton* Button() const { return static_cast<fw::TToolButton*>(VCL()); }
  void HookEvents() override;

  // Published: the button's place on its bar (-1 off a bar); `action` as the other families with
  // an Action have it.
  int32_t GetIndex() const;
};

class TJVCLBaseToolBar : public TJVCLToolWindow {
  RT_CLASS(TJVCLBaseToolBar)
 public:
  TJVCLBaseToolBar(engine::TJBaseEngine* engine, engine::TJValueList* param);
  static bool IsIndexedClass() { return true; }
  const rt::ClassInfo& VCLClass() const override;
  fw::TToolBar* Bar() const { return static_cast<fw::TToolBar*>(VCL()); }
  void RegistMethods() override;
  void HookEvents() override;

  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  // The button's wrapper; null outside 0..ButtonCount - 1.
  void GetItem(int32_t index, engine::TJValue& value) override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;

  // Published.
  int32_t GetButtonCount() const;
  int32_t GetRowCount() const;

  void DoTrackMenu(engine::TJValueList* args, engine::TJValue& result);
  void DoButtons(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLBaseCoolBar : public TJVCLToolWindow {
  RT_CLASS(TJVCLBaseCoolBar)
 public:
  TJVCLBaseCoolBar(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

class TJVCLBaseUpDown : public TJVCLToolWindow {
  RT_CLASS(TJVCLBaseUpDown)
 public:
  TJVCLBaseUpDown(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TUpDown* UpDown() const { return static_cast<fw::TUpDown*>(VCL()); }
  void HookEvents() override;

  // "onChanging"(sender, allowChange box).
  static void HandleChanging(void* self, fw::TObject* sender, bool& allowChange);
  // "onChangingEx"(sender, allowChange box, newValue, direction name).
  static void HandleChangingEx(void* self, fw::TObject* sender, bool& allowChange, int16_t newValue,
                               fw::TUpDownDirection direction);
  // "onClick"(sender, "btNext" or "btPrev").
  static void HandleClick(void* self, fw::TObject* sender, fw::TUDBtnType button);
};

class TJVCLBaseSpinEdit : public TJVCLBaseEdit {
  RT_CLASS(TJVCLBaseSpinEdit)
 public:
  TJVCLBaseSpinEdit(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  void HookEvents() override;
};

BR_GUI_CREATING_CLASS(TJVCLToolButton, TJVCLBaseToolButton, fw::TToolButton)
BR_GUI_CREATING_CLASS(TJVCLToolBar, TJVCLBaseToolBar, fw::TToolBar)
BR_GUI_CREATING_CLASS(TJVCLCoolBar, TJVCLBaseCoolBar, fw::TCoolBar)
BR_GUI_CREATING_CLASS(TJVCLUpDown, TJVCLBaseUpDown, fw::TUpDown)
BR_GUI_CREATING_CLASS(TJVCLSpinEdit, TJVCLBaseSpinEdit, fw::TSpinEdit)

}  // namespace gui
