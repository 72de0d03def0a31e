#include "script/gui/component_wrapper.h"

#include "platform/fw/application.h"
#include "platform/rt/persistent.h"
#include "script/core/base_engine.h"
#include "script/core/published.h"
#include "script/gui/action_wrapper.h"
#include "script/gui/caster.h"
#include "script/stdlib/boolean_object.h"
#include "script/stdlib/number_object.h"
#include "script/stdlib/string_object.h"

namespace gui {

using namespace engine;

// ---- boxes ----

TJObject* NewNumberBox(TJBaseEngine* engine, int32_t value) {
  auto* box = TJObject::Create<stdlib::TJNumberObject>(engine);
  box->SetValue(TJValue::Integer(value));
  return box;
}

TJObject* NewBooleanBox(TJBaseEngine* engine, bool value) {
  auto* box = TJObject::Create<stdlib::TJBooleanObject>(engine);
  box->SetBool(value);
  return box;
}

TJObject* NewStringBox(TJBaseEngine* engine, const std::string& value) {
  auto* box = TJObject::Create<stdlib::TJStringObject>(engine);
  box->SetText(value);
  return box;
}

int32_t NumberBoxValue(const TJValue& box, int32_t fallback) {
  auto* n = dynamic_cast<stdlib::TJNumberObject*>(box.vObject());
  return n ? AsInteger(&n->Value()) : fallback;
}

bool BooleanBoxValue(const TJValue& box, bool fallback) {
  auto* b = dynamic_cast<stdlib::TJBooleanObject*>(box.vObject());
  return b ? b->Bool() : fallback;
}

std::string StringBoxValue(const TJValue& box) {
  auto* s = dynamic_cast<stdlib::TJStringObject*>(box.vObject());
  return s ? std::string(s->Text()) : std::string();
}

// ---- notifier ----

void TJVCLNotify::Notification(fw::TComponent* component, fw::TOperation operation) {
  // Sent while the component is being freed: what the wrapper lets go of waits for that.
  fw::TDispatchScope scope;
  fw::TComponent::Notification(component, operation);
  if (operation == fw::opRemove && component && wrapper_) wrapper_->ComponentFreed(component);
}

// ---- TJVCLComponent ----

const rt::ClassInfo& TJVCLComponent::StaticClassInfo() {
  using T = TJVCLComponent;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJVCLComponent", &TJVCLPersistent::StaticClassInfo())
                                         .property("ComponentCount", &T::GetComponentCount)
                                         .property("ComponentIndex", &T::GetComponentIndex, &T::SetComponentIndex)
                                         .property("Owner", &T::GetOwnerWrapper)
                                         .property("Tag", &T::GetTag, &T::SetTag)
                                         .build();
  return info;
}

TJVCLComponent::TJVCLComponent(TJBaseEngine* engine, TJValueList* param) : TJVCLPersistent(engine, param) {
  RegistName("VCLComponent");
}

TJVCLComponent::~TJVCLComponent() { ReleaseVCL(); }

const rt::ClassInfo& TJVCLComponent::VCLClass() const { return fw::TComponent::StaticClassInfo(); }

void TJVCLComponent::RegistMethods() {
  TJVCLPersistent::RegistMethods();
  RegistMethod("components", &TJVCLComponent::DoComponents);
}

void TJVCLComponent::CreateObjects() {
  TJVCLPersistent::CreateObjects();
  if (!notifier_) notifier_ = std::make_unique<TJVCLNotify>(this);
}

bool TJVCLComponent::AttachVCL(rt::TPersistent* object, bool owned) {
  if (object && object == VCL()) return true;
  auto* component = dynamic_cast<fw::TComponent*>(object);
  // A component another wrapper speaks for keeps that wrapper.
  if (component && component->BridgeLink() && component->BridgeLink() != this) return false;
  if (!TJVCLPersistent::AttachVCL(object, owned)) return false;
  if (!notifier_) notifier_ = std::make_unique<TJVCLNotify>(this);
  component->FreeNotification(notifier_.get());
  tag_ = component->Tag();
  component->SetBridgeLink(this);
  UpdateChildren();
  return true;
}

void TJVCLComponent::FreeComponent(fw::TComponent* component) {
  // While a handler runs the component waits, out of sight, until none does.
  if (fw::DispatchDepth() > 0)
    if (auto* control = dynamic_cast<fw::TControl*>(component); control && control->Visible()) control->Hide();
  fw::FreeWhenIdle(component);
}

void TJVCLComponent::DetachComponent(bool clearEvents) {
  fw::TComponent* component = Component();
  if (!component) return;
  if (clearEvents) ClearEventProperties(component);
  if (notifier_) component->RemoveFreeNotification(notifier_.get());
  if (component->BridgeLink() == this) component->SetBridgeLink(nullptr);
}

void TJVCLComponent::ReleaseVCL() {
  children_.clear();
  linkedAction_ = TJRef<TJObject>();
  fw::TComponent* component = Component();
  if (!component) {
    TJVCLPersistent::ReleaseVCL();  // forgets an object whose holder is gone
    return;
  }
  bool owned = Owned();
  // An owned component goes without telling the script (the wrapper may be on its way out);
  // an adopted one stays, with nothing of the wrapper left in it.
  DetachComponent(true);
  ForgetVCL();
  if (owned) FreeComponent(component);
}

void TJVCLComponent::Dispose() {
  ReleaseVCL();
  linkedAction_ = TJRef<TJObject>();
  TJVCLPersistent::Dispose();
}

void TJVCLComponent::ComponentFreed(fw::TComponent* component) {
  if (component != Component()) return;
  // The component is being destroyed: nothing of it may be touched any more.
  children_.clear();
  component->SetBridgeLink(nullptr);
  ForgetVCL();
}

void TJVCLComponent::HandleDestroy(fw::TObject* sender) {
  fw::TComponent* component = Component();
  if (!component) return;
  fw::TDispatchScope scope;
  TJKeepAlive keep(this);
  // Unbound before the script hears of it: the wrapper says "VCL is null" from now on.
  children_.clear();
  if (notifier_) component->RemoveFreeNotification(notifier_.get());
  component->SetBridgeLink(nullptr);
  ForgetVCL();
  if (!IsCallEvent(konDestroy)) return;
  TJValueList args;
  args.AddObject(this);
  TJValue result;
  CallEvent("", konDestroy, &args, result);
}

void TJVCLComponent::UpdateChildren() {
  fw::TComponent* component = Component();
  if (!component) return;
  for (int i = 0; i < component->ComponentCount(); ++i) {
    fw::TComponent* child = component->Components(i);
    if (child->Name().empty()) continue;
    TJObject* wrapper = GetCaster().Cast(child, Engine());
    if (wrapper) children_[child->Name()] = TJRef<TJObject>(wrapper);
  }
}

bool TJVCLComponent::GetValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (TJVCLPersistent::GetValue(name, value, param)) {
    // Sub-objects of the component (its font, its lines) live as long as it does.
    if (auto* sub = dynamic_cast<TJVCLPersistent*>(value.vObject())) {
      if (!dynamic_cast<TJVCLComponent*>(sub) && !sub->TracksLiveness() && Component() &&
          sub->VCL() != Component())
        sub->TrackLiveness(Component()->LivenessToken());
    }
    return true;
  }
  auto it = children_.find(name);
  if (it == children_.end() || !it->second || it->second->IsDisposed()) return false;
  value.SetObject(it->second.get());
  return true;
}

bool TJVCLComponent::HasKey(std::string_view name) {
  return TJVCLPersistent::HasKey(name) || children_.count(name) > 0;
}

void TJVCLComponent::GetPropertyList(std::vector<std::string>& names) {
  TJVCLPersistent::GetPropertyList(names);
  for (const auto& [childName, wrapper] : children_) names.push_back(childName);
}

void TJVCLComponent::GetEventList(std::vector<std::string>& names) {
  TJVCLPersistent::GetEventList(names);
  if (!names.empty() || !Component()) return;
  std::vector<std::string> events;
  GetPublishedNames(Component(), events, true);
  for (std::string& e : events) {
    if (e.size() >= 2 && e[0] == 'O' && e[1] == 'n') e[0] = 'o';
    RegistEventName(e);
  }
  TJVCLPersistent::GetEventList(names);
}

int32_t TJVCLComponent::GetComponentCount() const { return Component() ? Component()->ComponentCount() : 0; }

int32_t TJVCLComponent::GetComponentIndex() const { return Component() ? Component()->ComponentIndex() : -1; }

void TJVCLComponent::SetComponentIndex(int32_t index) {
  const_cast<TJVCLComponent*>(this)->CheckVCL(nullptr, 0);
  Guard([&] { Component()->SetComponentIndex(index); });
}

TJVCLPersistent* TJVCLComponent::GetOwnerWrapper() const {
  if (!Component() || !Component()->Owner()) return nullptr;
  return dynamic_cast<TJVCLPersistent*>(GetCaster().Cast(Component()->Owner(), Engine()));
}

int32_t TJVCLComponent::GetTag() const { return Component() ? Component()->Tag() : tag_; }

void TJVCLComponent::SetTag(int32_t tag) {
  tag_ = tag;
  if (Component()) Component()->SetTag(tag);
}

TJVCLPersistent* TJVCLComponent::GetAction() const {
  const_cast<TJVCLComponent*>(this)->CheckVCL(nullptr, 0);
  const rt::PropInfo* prop = Component()->ClassType().findProperty("Action");
  if (!prop || !prop->getObject) return nullptr;
  rt::TPersistent* action = prop->getObject(Component());
  if (!action) return nullptr;
  return dynamic_cast<TJVCLBaseAction*>(GetCaster().Cast(action, Engine()));
}

void TJVCLComponent::SetAction(TJVCLPersistent* action) {
  CheckVCL(nullptr, 0);
  auto* wrapper = dynamic_cast<TJVCLBaseAction*>(action);
  if (action && (!wrapper || !wrapper->Action())) RaiseArgumentsError();
  fw::TComponent* component = Component();
  const rt::PropInfo* actionProp = component->ClassType().findProperty("Action");
  const rt::PropInfo* clickProp = component->ClassType().findProperty("OnClick");
  if (!actionProp || !actionProp->setObject) RaiseVCLError("Property Action does not exist");
  Guard([&] {
    if (wrapper) {
      if (clickProp && clickProp->setMethod) clickProp->setMethod(component, rt::Method{});
      actionProp->setObject(component, wrapper->Action());
      linkedAction_ = TJRef<TJObject>(wrapper);
    } else {
      linkedAction_ = TJRef<TJObject>();
      actionProp->setObject(component, nullptr);
      if (clickProp && clickProp->setMethod)
        clickProp->setMethod(component, fw::TNotifyEvent(&NotifyThunk<konClick>, this).toMethod());
    }
  });
}

void TJVCLComponent::DoComponents(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetNull();
  int32_t index = AsInteger(&(*args)[0]);
  fw::TComponent* child = nullptr;
  Guard([&] { child = Component()->Components(index); });
  auto it = children_.find(child->Name());
  if (!child->Name().empty() && it != children_.end() && it->second && !it->second->IsDisposed()) {
    result.SetObject(it->second.get());
    return;
  }
  if (TJObject* wrapper = GetCaster().Cast(child, Engine())) result.SetObject(wrapper);
}

TJValue TJVCLComponent::WrapSender(fw::TObject* sender) {
  // Most events come from the wrapper's own component: no need to ask the caster.
  if (sender && sender == VCL() && Component()->BridgeLink() == this && !IsDisposed()) return TJValue::Object(this);
  if (auto* component = dynamic_cast<fw::TComponent*>(sender)) {
    if (TJObject* wrapper = GetCaster().Cast(component, Engine())) return TJValue::Object(wrapper);
  }
  if (Component()) return TJValue::Object(this);
  return TJValue::Null();
}

bool TJVCLComponent::FindHandler(const char* name, TJValue& handler) {
  return Engine() && Engine()->EventLoopAllowed && *name && GetValue(name, handler, nullptr);
}

void TJVCLComponent::CallHandler(const TJValue& handler, TJValueList* args, TJValue& result) {
  Engine()->CallHandler(handler, args, result, this);
}

void TJVCLComponent::FireNotify(const char* name, fw::TObject* sender) {
  Fire(name, sender, [](TJValueList&) {}, [](TJValueList&) {});
}

}  // namespace gui
