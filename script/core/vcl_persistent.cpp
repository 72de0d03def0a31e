#include "script/core/vcl_persistent.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/rt/name_index.h"
#include "platform/rt/utf8.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/published.h"
#include "script/core/value_list.h"

namespace engine {

const rt::ClassInfo& TJVCLPersistent::StaticClassInfo() {
  static const rt::ClassInfo& info = [] () -> const rt::ClassInfo& {
    const rt::ClassInfo& ci = rt::ClassBuilder<TJVCLPersistent>("TJVCLPersistent", &TJObject::StaticClassInfo())
                                  .property("VCLclassName", &TJVCLPersistent::GetVCLclassName)
                                  .build();
    RegisterKnownClass(TJKnownClass::VCL, ci);
    return ci;
  }();
  return info;
}

TJVCLPersistent::TJVCLPersistent(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("VCL");
}

TJVCLPersistent::~TJVCLPersistent() { letGo(); }

void TJVCLPersistent::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("assign", &TJVCLPersistent::DoAssign);
}

void TJVCLPersistent::AfterCreate(TJValueList* param) {
  TJObject::AfterCreate(param);
  CreateObjects();
  CreateVCL();
}

// The published names of a wrapper class over an object class, sorted and without repeats the
// way the object keeps them, with their index. Built once per pair, on the first wrapper, and
// shared by every wrapper of the pair (wrappers come by the thousand: a tree's nodes).
struct TJPublishedNames {
  std::vector<std::string> names;
  rt::NameIndex index;
};

namespace {

const TJPublishedNames& publishedNamesOf(const TJVCLPersistent& wrapper, const rt::TPersistent* object) {
  using Key = std::pair<const rt::ClassInfo*, const rt::ClassInfo*>;
  static std::mutex lock;
  static std::map<Key, std::unique_ptr<TJPublishedNames>> known;
  const Key key{&wrapper.ClassType(), object ? &object->ClassType() : nullptr};
  // Wrappers come in runs of one pair: the pair met last is remembered (entries are never freed).
  thread_local Key lastKey{};
  thread_local const TJPublishedNames* last = nullptr;
  if (last && key == lastKey) return *last;
  std::lock_guard<std::mutex> hold(lock);
  std::unique_ptr<TJPublishedNames>& entry = known[key];
  lastKey = key;
  if (entry) return *(last = entry.get());
  std::vector<std::string> names;
  if (object) GetPublishedNames(object, names, false);
  std::vector<std::string> own;
  GetPublishedNames(&wrapper, own, false);
  names.insert(names.end(), own.begin(), own.end());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return rt::compareText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return rt::sameText(a, b); }),
              names.end());
  entry = std::make_unique<TJPublishedNames>();
  entry->names = std::move(names);
  entry->index = rt::NameIndex(std::vector<std::string_view>(entry->names.begin(), entry->names.end()));
  return *(last = entry.get());
}

}  // namespace

void TJVCLPersistent::resetPublishedNames() {
  const TJPublishedNames& shared = publishedNamesOf(*this, vcl_);
  publishedNames_ = &shared;
  SharePublishedNames(shared.names);
}

bool TJVCLPersistent::isPublished(std::string_view name) const {
  return publishedNames_ && publishedNames_->index.find(name) >= 0;
}

bool TJVCLPersistent::AttachVCL(rt::TPersistent* object, bool owned) {
  if (object && object == live()) return true;
  if (!object || !object->InheritsFrom(VCLClass())) return false;
  ReleaseVCL();
  vcl_ = object;
  tracked_ = false;
  alive_.reset();
  owned_ = owned;
  resetPublishedNames();
  HookEvents();
  return true;
}

void TJVCLPersistent::TrackLiveness(std::weak_ptr<const void> token) {
  alive_ = std::move(token);
  tracked_ = true;
}

void TJVCLPersistent::ForgetVCL() {
  wrappers_.clear();
  vcl_ = nullptr;
  owned_ = false;
  tracked_ = false;
  alive_.reset();
  resetPublishedNames();
}

void TJVCLPersistent::ReleaseVCL() {
  if (letGo()) resetPublishedNames();
}

bool TJVCLPersistent::letGo() {
  wrappers_.clear();
  // A holder that freed the object already leaves nothing to free.
  const bool gone = tracked_ && alive_.expired();
  if (!vcl_ && !gone) return false;
  rt::TPersistent* old = vcl_;
  const bool owned = owned_ && !gone;
  vcl_ = nullptr;
  owned_ = false;
  tracked_ = false;
  alive_.reset();
  if (owned) delete old;
  return true;
}

void TJVCLPersistent::RaiseVCLError(const std::string& message) {
  ThrowError(jeVCL, {VCLClass().name, message});
}

void TJVCLPersistent::RaiseArgumentsError() { RaiseVCLError("arguments error"); }

void TJVCLPersistent::CheckVCL(TJValueList* args, int32_t count) {
  if (!live()) RaiseVCLError("VCL is null");
  if (count > 0 && ArgCount(args) < count) RaiseArgumentsError();
}

void TJVCLPersistent::DoAssign(TJValueList* args, TJValue& result) {
  CheckVCL(args, 1);
  result.SetObject(this);
  auto* other = dynamic_cast<TJVCLPersistent*>((*args)[0].vObject());
  if (!other || !other->live()) return;
  try {
    vcl_->Assign(other->live());
  } catch (const EJException&) {
    throw;
  } catch (const rt::Exception& e) {
    RaiseVCLError(e.message());
  }
}

bool TJVCLPersistent::GetValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (TJObject::GetValue(name, value, param)) return true;
  if (!isPublished(name)) return false;
  if (!live()) {
    // A property of an object whose holder freed it: an error, never a stale read.
    if (vcl_) RaiseVCLError("VCL is null");
    return false;
  }
  const rt::PropInfo* prop = vcl_->ClassType().findProperty(name);
  if (prop && prop->kind == rt::TypeKind::Class && prop->readable()) {
    rt::TPersistent* current = nullptr;
    try {
      current = prop->getObject(vcl_);
    } catch (const EJException&) {
      throw;
    } catch (const rt::Exception& e) {
      RaiseVCLError(e.message());
    }
    auto it = wrappers_.find(prop->name);
    if (it != wrappers_.end() && current && it->second.first == current && !it->second.second->IsDisposed()) {
      value.SetObject(it->second.second.get());
      return true;
    }
    if (!GetPublishedProperty(vcl_, *prop, value, Engine())) return false;
    if (auto* wrapper = dynamic_cast<TJVCLPersistent*>(value.vObject()))
      wrappers_[prop->name] = {current, TJRef<TJObject>(wrapper)};
    return true;
  }
  return prop && GetPublishedProperty(vcl_, *prop, value, Engine());
}

bool TJVCLPersistent::SetValue(std::string_view name, const TJValue& value, TJValueList* param) {
  if (TJObject::SetValue(name, value, param)) return true;
  if (!isPublished(name)) return false;
  if (!live()) {
    if (vcl_) RaiseVCLError("VCL is null");
    return false;
  }
  // A value the property refuses is an error; it never becomes a member shadowing the property.
  if (!SetPublishedProperty(vcl_, name, value)) RaiseVCLError("Invalid property value: " + std::string(name));
  return true;
}

// TJObject's answer (a published name, a member, a native of the class) with the published names
// looked up by hash: a handler's names are asked of its component before the globals.
bool TJVCLPersistent::HasKey(std::string_view name) {
  if (isPublished(name)) return true;
  TJValue member;
  return FindStoredMember(name, member) || FindNative(name) != nullptr;
}

void TJVCLPersistent::GetPropertyList(std::vector<std::string>& names) { names = PublishedNames(); }

void TJVCLPersistent::Dispose() {
  ReleaseVCL();
  TJObject::Dispose();
}

}  // namespace engine
