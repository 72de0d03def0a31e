#include "platform/fw/component.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/fw/reader.h"
#include "platform/fw/writer.h"
#include "platform/rt/utf8.h"

namespace fw {

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  for (char c : name)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

const rt::ClassInfo& TComponent::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
          .property("Name", &TComponent::Name, &TComponent::SetName)
          .notStored()
          .property("Tag", &TComponent::Tag, &TComponent::SetTag)
          .defaultValue(0)
          .create([](TPersistent* owner) -> TPersistent* { return new TComponent(dynamic_cast<TComponent*>(owner)); })
          .build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  alive_.reset();
  // Tell everything that refers to this component; each answer removes itself from the list.
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    c->RemoveNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free() {
  if (!beforeDestructionDone_) {
    beforeDestructionDone_ = true;
    BeforeDestruction();
  }
  delete this;
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::Destroying() { state_.include(csDestroying); }

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return components_[size_t(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (!owner_) return;
  auto& list = owner_->components_;
  int cur = ComponentIndex();
  if (cur < 0) return;
  if (index < 0) index = 0;
  if (index >= int(list.size())) index = int(list.size()) - 1;
  if (index == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + index, this);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) raise<EComponentError>(msg::InvalidName, {name});
  if (owner_) {
    owner_->ValidateRename(this, name_, name);
  } else {
    ValidateRename(nullptr, name_, name);
  }
  ChangeName(name);
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName, const std::string& newName) {
  if (!component || newName.empty() || rt::sameText(curName, newName)) return;
  TComponent* existing = FindComponent(newName);
  if (existing && existing != component) raise<EComponentError>(msg::DuplicateName, {newName});
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (rt::sameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  ValidateRename(component, "", component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    c->Free();
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
  state_.include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
  auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
  if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Owned components hear of it too (they may refer to the one that goes).
  for (size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(component, operation);
  }
}

void TComponent::Loaded() { state_.exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::SetLoading(bool loading) {
  if (loading) {
    state_.include(csLoading);
  } else {
    state_.exclude(csLoading);
  }
}

void TComponent::SetReading(bool reading) {
  if (reading) {
    state_.include(csReading);
  } else {
    state_.exclude(csReading);
  }
}

void TComponent::SetWriting(bool writing) {
  if (writing) {
    state_.include(csWriting);
  } else {
    state_.exclude(csWriting);
  }
}

void TComponent::DefineProperties(TFiler& filer) {
  // Components that are no controls keep their design position in "Left" and "Top".
  if (HasParent()) return;
  filer.DefineProperty(
      "Left", [this](TReader& r) { designLeft_ = r.ReadInteger(); }, [this](TWriter& w) { w.WriteInteger(designLeft_); },
      designLeft_ != 0);
  filer.DefineProperty(
      "Top", [this](TReader& r) { designTop_ = r.ReadInteger(); }, [this](TWriter& w) { w.WriteInteger(designTop_); },
      designTop_ != 0);
}

std::weak_ptr<const void> TComponent::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

}  // namespace fw
