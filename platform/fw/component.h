// Components: objects with an owner that frees them, a name unique among the owner's components,
// a tag, free notification between objects that refer to each other, and the hooks that form
// streaming calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fw/events.h"
#include "platform/fw/filer.h"
#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TOperation, opInsert, opRemove)
FW_ENUM(TComponentStateElement, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
        csFixups, csFreeNotification, csInline, csDesignInstance)
FW_SET(TComponentState, TComponentStateElement)

using TGetChildProc = std::function<void(TComponent* child)>;

bool IsValidIdent(std::string_view name);

class TComponent : public TPersistent, public IDefinesProperties {
  RT_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  // Frees the component: BeforeDestruction (while the object is whole), then the destructor. Use
  // this rather than a bare delete for components whose destruction fires events (forms).
  void Free();

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  // Raises EListError for an index outside 0..ComponentCount - 1.
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  void SetComponentIndex(int index);

  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name that is no identifier or already names a sibling.
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }
  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentStateElement s) const { return state_.has(s); }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Case-insensitive; null when no owned component has that name.
  TComponent* FindComponent(std::string_view name) const;
  void DestroyComponents();
  void Destroying();

  // After FreeNotification(c), c's Notification hears when this component is freed (and the
  // other way round).
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Form streaming hooks.
  virtual void Loaded();
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) {}
  virtual void SetChildOrder(TComponent* child, int order) {}
  void DefineProperties(TFiler& filer) override;
  void SetLoading(bool loading);
  void SetReading(bool reading);
  void SetWriting(bool writing);

  // Design position of a component that is no control ("Left" and "Top" in form text).
  int32_t DesignLeft() const { return designLeft_; }
  int32_t DesignTop() const { return designTop_; }
  void SetDesignPosition(int32_t left, int32_t top) {
    designLeft_ = left;
    designTop_ = top;
  }

  // A slot for the object that represents this component to scripts; never streamed.
  void* BridgeLink() const { return bridgeLink_; }
  void SetBridgeLink(void* link) { bridgeLink_ = link; }

  // Expires when the component is freed; holders check it before using a pointer they keep.
  std::weak_ptr<const void> LivenessToken() const;

  virtual void Notification(TComponent* component, TOperation operation);

 protected:
  // Runs before the destructor while the object is whole (forms fire OnDestroy here).
  virtual void BeforeDestruction();
  virtual void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName);
  virtual void ChangeName(const std::string& newName) { name_ = newName; }
  void IncludeState(TComponentStateElement s) { state_.include(s); }
  void ExcludeState(TComponentStateElement s) { state_.exclude(s); }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveNotification(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  int32_t tag_ = 0;
  TComponentState state_;
  int32_t designLeft_ = 0, designTop_ = 0;
  void* bridgeLink_ = nullptr;
  mutable std::shared_ptr<const void> alive_;
  bool beforeDestructionDone_ = false;
};

// Frees the component (null is allowed) and clears the pointer.
template <class T>
void FreeAndNil(T*& component) {
  T* c = component;
  component = nullptr;
  if (c) c->Free();
}

}  // namespace fw
