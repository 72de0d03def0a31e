// The script side of framework components. Every component a script sees is seen through exactly
// one wrapper (a TJVCLComponent descendant): the caster finds it through the component's bridge
// link or makes it. A wrapper is unbound, bound owned (a script constructor made the component) or
// bound adopted (the caster wrapped a component that exists already).
//
// Adding a component family (a list box, a tree view...) is one file pair:
//
//   class TJVCLBaseThing : public TJVCLWinControl {          // or TJVCLControl / TJVCLComponent
//     RT_CLASS(TJVCLBaseThing)
//    public:
//     TJVCLBaseThing(TJBaseEngine* e, TJValueList* p) : TJVCLWinControl(e, p) { RegistName("VCLThing"); }
//     const rt::ClassInfo& VCLClass() const override { return fw::TThing::StaticClassInfo(); }
//     void RegistMethods() override;   // inherited first, then RegistMethod("doIt", &TJVCLBaseThing::DoIt)
//     void HookEvents() override;      // inherited first, then Hook(thing->OnChange, kOnChange) ...
//     void DoIt(TJValueList* args, TJValue& result) {
//       CheckVCL(args, 1);             // "VCL is null" / "arguments error"
//       result.SetObject(this);
//       Guard([&] { thing()->DoIt(AsInteger(&(*args)[0])); });   // framework errors -> "EVCLError"
//     }
//   };
//   BR_GUI_CREATING_CLASS(TJVCLThing, TJVCLBaseThing, fw::TThing)   // the class "new VCLThing" makes
//
// then a row in the caster's class tests (caster.cpp) and the constructor in registration.cpp. The
// family's own published properties go in its StaticClassInfo builder; properties of the component
// itself need nothing: they pass through by name.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/fw/component.h"
#include "platform/fw/dispatch.h"
#include "platform/fw/events.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/core/vcl_persistent.h"

namespace gui {

class TJVCLComponent;

// Receives the free notification of the component its wrapper is bound to.
class TJVCLNotify : public fw::TComponent {
 public:
  explicit TJVCLNotify(TJVCLComponent* wrapper) : fw::TComponent(nullptr), wrapper_(wrapper) {}
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  TJVCLComponent* wrapper_;
};

// Script event names of the sender-only handlers (and of the other handlers of the bridge).
#define BR_GUI_EVENT_NAME(Name) inline constexpr char k##Name[] = #Name;
BR_GUI_EVENT_NAME(onChange)
BR_GUI_EVENT_NAME(onClick)
BR_GUI_EVENT_NAME(onDblClick)
BR_GUI_EVENT_NAME(onResize)
BR_GUI_EVENT_NAME(onPopup)
BR_GUI_EVENT_NAME(onActivate)
BR_GUI_EVENT_NAME(onCreate)
BR_GUI_EVENT_NAME(onDeactivate)
BR_GUI_EVENT_NAME(onDestroy)
BR_GUI_EVENT_NAME(onEnter)
BR_GUI_EVENT_NAME(onExit)
BR_GUI_EVENT_NAME(onHide)
BR_GUI_EVENT_NAME(onPaint)
BR_GUI_EVENT_NAME(onShow)
BR_GUI_EVENT_NAME(onTimer)
BR_GUI_EVENT_NAME(onClose)
#undef BR_GUI_EVENT_NAME

class TJVCLComponent : public engine::TJVCLPersistent {
  RT_CLASS(TJVCLComponent)
 public:
  TJVCLComponent(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJVCLComponent() override;

  const rt::ClassInfo& VCLClass() const override;
  fw::TComponent* Component() const { return static_cast<fw::TComponent*>(VCL()); }

  bool AttachVCL(rt::TPersistent* object, bool owned) override;
  void ReleaseVCL() override;
  void CreateObjects() override;
  void RegistMethods() override;
  void Dispose() override;
  bool GetValue(std::string_view name, engine::TJValue& value, engine::TJValueList* param) override;
  bool HasKey(std::string_view name) override;
  void GetPropertyList(std::vector<std::string>& names) override;
  void GetEventList(std::vector<std::string>& names) override;

  // Wraps every named component the bound component owns into the children table.
  virtual void UpdateChildren();

  // Published.
  int32_t GetComponentCount() const;
  int32_t GetComponentIndex() const;
  void SetComponentIndex(int32_t index);
  // Typed as the persistent wrapper: a class's own type is not described yet while it is being built.
  engine::TJVCLPersistent* GetOwnerWrapper() const;
  // The component's own tag (the bridge's link lives elsewhere).
  int32_t GetTag() const;
  void SetTag(int32_t tag);

  // Published `action` of the families whose component has an Action (an action wrapper or
  // null). Linking the component to an action takes its OnClick away (the action runs instead);
  // unlinking gives the click back to the wrapper's "onClick".
  virtual engine::TJVCLPersistent* GetAction() const;
  virtual void SetAction(engine::TJVCLPersistent* action);

  // "components"(index).
  void DoComponents(engine::TJValueList* args, engine::TJValue& result);

  // The script value of an event's sender: its wrapper; this wrapper when it has none.
  engine::TJValue WrapSender(fw::TObject* sender);
  // Calls the script handler `name` with the sender's wrapper and the arguments `build` adds;
  // `copyBack` runs after the call, also when the handler raised. Nothing is built when the
  // wrapper has no handler of that name.
  template <class Build, class CopyBack>
  void Fire(const char* name, fw::TObject* sender, Build&& build, CopyBack&& copyBack);
  // The handler `name` when one can run now (see IsCallEvent), read once for the check and the call.
  bool FindHandler(const char* name, engine::TJValue& handler);
  // Runs a handler FindHandler answered with this wrapper as `this`.
  void CallHandler(const engine::TJValue& handler, engine::TJValueList* args, engine::TJValue& result);
  // Fire with the handler FindHandler answered.
  template <class Build, class CopyBack>
  void FireHandler(const engine::TJValue& handler, fw::TObject* sender, Build&& build, CopyBack&& copyBack);
  void FireNotify(const char* name, fw::TObject* sender);
  // Fire for the events that have no sender: the handler gets only what `build` adds. True when
  // a handler ran.
  template <class Build, class CopyBack>
  bool FireWithoutSender(const char* name, Build&& build, CopyBack&& copyBack);

  // Runs a framework operation of a native: its errors (and script errors raised inside it)
  // become "EVCLError" with the class name; leaving a loop or the script passes through.
  template <class F>
  void Guard(F&& f);

  // The bound component was freed by someone else.
  void ComponentFreed(fw::TComponent* component);
  // Handler of OnDestroy: unbinds first, then tells the script.
  void HandleDestroy(fw::TObject* sender);

  // A hooked sender-only event: Hook(button->OnClick, kOnClick).
  template <const char* Name>
  static void NotifyThunk(void* self, fw::TObject* sender) {
    static_cast<TJVCLComponent*>(self)->FireNotify(Name, sender);
  }
  template <const char* Name>
  void Hook(fw::TNotifyEvent& event) {
    event = fw::TNotifyEvent(&NotifyThunk<Name>, this);
  }
  static void DestroyThunk(void* self, fw::TObject* sender) { static_cast<TJVCLComponent*>(self)->HandleDestroy(sender); }

 protected:
  // Gives up the component without freeing it: its events cleared, the links removed.
  void DetachComponent(bool clearEvents);
  // Frees an owned component now, or once no handler runs any more.
  static void FreeComponent(fw::TComponent* component);

 private:
  std::unique_ptr<TJVCLNotify> notifier_;
  std::map<std::string, engine::TJRef<engine::TJObject>, std::less<>> children_;
  // The action the script linked the component to: it lives while the link does.
  engine::TJRef<engine::TJObject> linkedAction_;
  int32_t tag_ = 0;
};

// New script objects the handlers pass: boxes for var parameters and points.
engine::TJObject* NewNumberBox(engine::TJBaseEngine* engine, int32_t value);
engine::TJObject* NewBooleanBox(engine::TJBaseEngine* engine, bool value);
engine::TJObject* NewStringBox(engine::TJBaseEngine* engine, const std::string& value);
int32_t NumberBoxValue(const engine::TJValue& box, int32_t fallback);
bool BooleanBoxValue(const engine::TJValue& box, bool fallback);
std::string StringBoxValue(const engine::TJValue& box);
// The member names of a set value, ascending, joined by "," ("ssShift,ssLeft").
template <class S>
std::string SetText(S set) {
  return setTypeOf(set).toText(set.bits);
}
template <class E>
std::string EnumText(E value) {
  const std::string* n = enumTypeOf(value).nameOf(int64_t(value));
  return n ? *n : std::string();
}

// ---- templates ----

namespace detail {
// Calls the handler; the boxed arguments go back to the framework also when it raised.
template <class CopyBack>
void CallCopyingBack(TJVCLComponent& wrapper, const engine::TJValue& handler, engine::TJValueList& args,
                     CopyBack& copyBack) {
  engine::TJValue result;
  try {
    wrapper.CallHandler(handler, &args, result);
  } catch (...) {
    copyBack(args);
    throw;
  }
  copyBack(args);
}
}  // namespace detail

template <class Build, class CopyBack>
void TJVCLComponent::Fire(const char* name, fw::TObject* sender, Build&& build, CopyBack&& copyBack) {
  engine::TJValue handler;
  if (FindHandler(name, handler)) FireHandler(handler, sender, std::forward<Build>(build), std::forward<CopyBack>(copyBack));
}

template <class Build, class CopyBack>
void TJVCLComponent::FireHandler(const engine::TJValue& handler, fw::TObject* sender, Build&& build,
                                 CopyBack&& copyBack) {
  // Opened first and closed last: whatever the handler lets go of (this wrapper too) waits while
  // the framework code that fired the event still runs.
  fw::TDispatchScope scope;
  engine::TJKeepAlive keep(this);
  engine::TJValueList args;
  args.Items().reserve(8);  // room for every event's arguments at once
  args.Add(WrapSender(sender));
  build(args);
  detail::CallCopyingBack(*this, handler, args, copyBack);
}

template <class Build, class CopyBack>
bool TJVCLComponent::FireWithoutSender(const char* name, Build&& build, CopyBack&& copyBack) {
  engine::TJValue handler;
  if (!FindHandler(name, handler)) return false;
  fw::TDispatchScope scope;
  engine::TJKeepAlive keep(this);
  engine::TJValueList args;
  build(args);
  detail::CallCopyingBack(*this, handler, args, copyBack);
  return true;
}

template <class F>
void TJVCLComponent::Guard(F&& f) {
  try {
    f();
  } catch (const engine::EJStatement&) {
    throw;
  } catch (const engine::EJAbort&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
}

// The class a script constructor makes: the family's wrapper that creates its own component.
#define BR_GUI_CREATING_CLASS(Class, Base, Component)                                      \
  class Class : public Base {                                                              \
    RT_CLASS(Class)                                                                        \
   public:                                                                                 \
    using Base::Base;                                                                      \
    void CreateVCL() override { AttachVCL(new Component(nullptr), true); }                \
  };

#define BR_GUI_CREATING_CLASS_INFO(Class, Base)                                            \
  const rt::ClassInfo& Class::StaticClassInfo() {                                          \
    static const rt::ClassInfo& info = rt::ClassBuilder<Class>(#Class, &Base::StaticClassInfo()).build(); \
    return info;                                                                           \
  }

}  // namespace gui
