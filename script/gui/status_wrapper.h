// Status bars and their panels seen from scripts. The bar's `panels` is one collection wrapper,
// array-like over the panels; a panel is handed out as a generic wrapper, one per live panel
// (the bridge's wrapper table), which reads as unbound ("VCL is null") once its panel is gone.
#pragma once

#include "platform/fw/status_bar.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseStatusPanels : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLBaseStatusPanels)
 public:
  TJVCLBaseStatusPanels(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TStatusPanels* Panels() const { return static_cast<fw::TStatusPanels*>(VCL()); }
  void RegistMethods() override;

  static bool IsIndexedClass() { return true; }
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;
  // A numeric bracket key reads or replaces the panel at that index.
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param,
                 engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;

  // Published.
  int32_t GetCountProperty() const;

  void DoAdd(engine::TJValueList* args, engine::TJValue& result);
  void DoItems(engine::TJValueList* args, engine::TJValue& result);

  // The panel at `index` (null outside the panels); with `write`, the panel is first assigned
  // from `value` and the result is the value.
  void ItemAccess(int32_t index, const engine::TJValue* write, engine::TJValue& result);

 private:
  template <class F>
  void Guard(F&& f);
};

class TJVCLBaseStatusBar : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseStatusBar)
 public:
  TJVCLBaseStatusBar(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TStatusBar* Bar() const { return static_cast<fw::TStatusBar*>(VCL()); }
  void CreateObjects() override;
  void HookEvents() override;
  void ReleaseVCL() override;
  void Dispose() override;

  // Published: always the same collection wrapper, bound to the bar's panels.
  engine::TJVCLPersistent* GetPanels() const;

  // "onHint" when the script has a handler; otherwise the bar keeps its own hint display.
  static void HandleHint(void* self, fw::TObject* sender);
  static void HandleDrawPanel(void* self, fw::TStatusBar* sender, fw::TStatusPanel* panel, const fw::TRect& rect);

 private:
  engine::TJRef<TJVCLBaseStatusPanels> panels_;
};

BR_GUI_CREATING_CLASS(TJVCLStatusBar, TJVCLBaseStatusBar, fw::TStatusBar)

}  // namespace gui
