// Tab controls seen from scripts: the tab texts as a string list, the layout questions and the
// change protocol ("onChanging" may refuse, "onChange" follows).
#pragma once

#include "platform/fw/tab_control.h"
#include "script/gui/control_wrapper.h"

namespace gui {

class TJVCLBaseTabControl : public TJVCLWinControl {
  RT_CLASS(TJVCLBaseTabControl)
 public:
  TJVCLBaseTabControl(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLBaseTabControl() override;
  const rt::ClassInfo& VCLClass() const override;
  fw::TCustomTabControl* TabControl() const { return static_cast<fw::TCustomTabControl*>(VCL()); }
  void CreateObjects() override;
  void RegistMethods() override;
  void HookEvents() override;
  void ReleaseVCL() override;
  void Dispose() override;

  // Published.
  engine::TJObject* GetDisplayRect() const;
  int32_t GetRowCount() const;
  engine::TJObject* GetTabs() const;

  void DoIndexOfTabAt(engine::TJValueList* args, engine::TJValue& result);
  void DoGetHitTestInfoAt(engine::TJValueList* args, engine::TJValue& result);
  void DoTabRect(engine::TJValueList* args, engine::TJValue& result);
  void DoScrollTabs(engine::TJValueList* args, engine::TJValue& result);

  static void HandleChanging(void* self, fw::TObject* sender, bool& allowChange);
  static void HandleGetImageIndex(void* self, fw::TObject* sender, int32_t tabIndex, int32_t& imageIndex);

 private:
  void Check() const { const_cast<TJVCLBaseTabControl*>(this)->CheckVCL(nullptr, 0); }
  void DetachTabs();
  engine::TJRef<engine::TJObject> tabs_;
};

BR_GUI_CREATING_CLASS(TJVCLTabControl, TJVCLBaseTabControl, fw::TTabControl)

}  // namespace gui
