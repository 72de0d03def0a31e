// Actions seen from scripts: "execute" and "update", the events "onExecute" and "onUpdate", and
// for actions a script made itself, "onHint" (the hint text and whether to show it, no sender).
#pragma once

#include "platform/fw/actions.h"
#include "script/gui/component_wrapper.h"

namespace gui {

inline constexpr char konExecute[] = "onExecute";
inline constexpr char konUpdate[] = "onUpdate";
inline constexpr char konHint[] = "onHint";

class TJVCLBaseAction : public TJVCLComponent {
  RT_CLASS(TJVCLBaseAction)
 public:
  TJVCLBaseAction(engine::TJBaseEngine* engine, engine::TJValueList* param);
  const rt::ClassInfo& VCLClass() const override;
  fw::TBasicAction* Action() const { return static_cast<fw::TBasicAction*>(VCL()); }
  void RegistMethods() override;
  // Installed through the action's own setters (its clients follow them).
  void HookEvents() override;

  void DoExecute(engine::TJValueList* args, engine::TJValue& result);
  void DoUpdate(engine::TJValueList* args, engine::TJValue& result);
};

class TJVCLAction : public TJVCLBaseAction {
  RT_CLASS(TJVCLAction)
 public:
  using TJVCLBaseAction::TJVCLBaseAction;
  const rt::ClassInfo& VCLClass() const override;
  void CreateVCL() override;
  void HookEvents() override;

  static void HandleHint(void* self, std::string& hint, bool& canShow);
};

}  // namespace gui
