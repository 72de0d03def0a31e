// The base of script objects that wrap a framework object: unknown property names pass through to
// the wrapped object's published properties.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "script/core/object.h"
#include "script/core/value.h"

namespace engine {

struct TJPublishedNames;

class TJVCLPersistent : public TJObject {
  RT_CLASS(TJVCLPersistent)
 public:
  TJVCLPersistent(TJBaseEngine* engine, TJValueList* param);
  ~TJVCLPersistent() override;

  static bool IsMakeGlobalInstance() { return false; }

  rt::TPersistent* VCL() const { return live(); }
  bool Owned() const { return owned_; }
  bool HasVCL() const { return live() != nullptr; }
  // Ties the wrapper to the life of whatever holds the object (the component a font or a string
  // list belongs to): once `token` expires the wrapper reads as unbound and never touches the
  // object again. Attaching another object ends the tie.
  void TrackLiveness(std::weak_ptr<const void> token);
  bool TracksLiveness() const { return tracked_; }
  // The framework class the wrapper accepts.
  virtual const rt::ClassInfo& VCLClass() const { return rt::TPersistent::StaticClassInfo(); }
  std::string GetVCLclassName() const { return VCLClass().name; }

  // Attaches `object` (owned: the wrapper frees it when it lets it go). An object that is not of
  // VCLClass is refused and the current one stays; attaching the current object changes nothing.
  virtual bool AttachVCL(rt::TPersistent* object, bool owned);
  // Lets the object go (freeing it when owned); the published names return to the wrapper's own.
  virtual void ReleaseVCL();
  virtual void CreateObjects() {}
  virtual void CreateVCL() {}
  virtual void HookEvents() {}
  // Raises "EVCLError" with "<VCLClass name> - <message>".
  virtual void RaiseVCLError(const std::string& message);
  virtual void RaiseArgumentsError();
  // "VCL is null" without an object; "arguments error" with fewer than `count` arguments.
  virtual void CheckVCL(TJValueList* args, int32_t count);
  // The script method "assign": copies another wrapper's object into this one's.
  virtual void DoAssign(TJValueList* args, TJValue& result);

  void RegistMethods() override;
  void AfterCreate(TJValueList* param) override;
  bool GetValue(std::string_view name, TJValue& value, TJValueList* param) override;
  bool SetValue(std::string_view name, const TJValue& value, TJValueList* param) override;
  bool HasKey(std::string_view name) override;
  void GetPropertyList(std::vector<std::string>& names) override;
  void Dispose() override;

 protected:
  // Forgets the object without freeing it (a descendant that frees or hands it over itself).
  void ForgetVCL();

 private:
  void resetPublishedNames();
  // Lets the object go (freeing it when owned) and forgets it, the published names untouched;
  // false when there was none.
  bool letGo();
  // Whether `name` is one of PublishedNames (the same answer, looked up by hash).
  bool isPublished(std::string_view name) const;
  // The object while it is alive (null once a tracked holder is gone).
  rt::TPersistent* live() const {
    if (tracked_ && alive_.expired()) return nullptr;
    return vcl_;
  }

  rt::TPersistent* vcl_ = nullptr;
  // The published names of this wrapper class over the bound object's class, shared by every
  // wrapper of the pair; null until the first attach or release.
  const TJPublishedNames* publishedNames_ = nullptr;
  std::weak_ptr<const void> alive_;
  bool tracked_ = false;
  bool owned_ = false;
  // The wrapper last read from each class property, with the framework object it wraps, so that
  // reading the same object again answers the same wrapper.
  std::map<std::string, std::pair<rt::TPersistent*, TJRef<TJObject>>, std::less<>> wrappers_;
};

}  // namespace engine
