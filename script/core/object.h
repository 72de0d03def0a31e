// The base of every script-visible object: class name, members, native methods registered by name,
// published properties seen as script properties, script events, and reference counting.
//
// Lifetime: a script value, a member table, a value list or a TJRef holds one counted reference; an
// object frees itself when the last one goes (never recursively: releases that cascade are queued
// and drained by the outermost one). Engine clear disposes every registered object: it forgets its
// members and resources, and a value that still holds it reads as undefined.
//
// Creation is two-phase: `TJObject::Create<T>(engine, param, register)` runs T's constructor, then
// the virtual registrations (RegistMethods, RegistProperties) on the finished object, then the
// factory registration, so the new-object hook sees the object as its class made it.
//
// Natives: RegistMethods registers the natives of a class; they are the same for every instance,
// so they are collected once per class and an instance materialises a native as a member only when
// it is read. Removing, replacing and enumerating members behave as if every instance held all of
// them from the start. A native registered outside RegistMethods is stored as a member at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "script/core/member_table.h"
#include "script/core/notify.h"
#include "support/small_blocks.h"

namespace engine {

class TJBaseEngine;
class TJHash;
class TJObject;
class TJValue;
class TJValueList;
struct TJNativeTable;
class TJObjectList;
class IJFunction;

using TJValueTypes = uint16_t;  // a set of TJValueType ordinals (bit i = ordinal i)

// A native method: reads the arguments (nil for none) and fills the result.
using TJNativeMethod = void (TJObject::*)(TJValueList* args, TJValue& result);

// What a method call found for the classes of the objects it met, kept by the interpreter: per
// class (its native table), the place of the native that the name calls, or (per class name too)
// the function that the class's prototype holds under the name. Natives of a class never change;
// prototype entries hold while the engine's prototypes stay as they were (`epoch`).
struct TJMethodSite {
  static constexpr unsigned kWays = 4;
  struct Way {
    const void* natives = nullptr;
    const std::string* className = nullptr;
    IJFunction* function = nullptr;  // of the prototype; null for a native
    int native = -1;
  };
  const void* factory = nullptr;
  uint64_t epoch = 0;
  unsigned used = 0;  // ways filled
  unsigned next = 0;  // the way the next new class takes
  Way ways[kWays];
};

// A script-creatable class as the object factory keeps it.
struct TJClass {
  const rt::ClassInfo* info;
  TJObject* (*create)(TJBaseEngine* engine, TJValueList* param, bool registerWithFactory);
  bool makeGlobalInstance;  // TJObject::IsMakeGlobalInstance asked of the class
  bool indexed;             // TJObject::IsIndexedClass asked of the class
};
template <class T>
const TJClass& ClassOf();

class TJObject : public TJNotify {
  RT_CLASS(TJObject)
 public:
  SUPPORT_SMALL_BLOCKS
  TJObject(TJBaseEngine* engine, TJValueList* param);
  ~TJObject() override;

  // Makes an instance of T: constructor, registrations, factory registration (with an engine and
  // `registerWithFactory`). The result has no references yet; the first holder counts one.
  template <class T>
  static T* Create(TJBaseEngine* engine, TJValueList* param = nullptr, bool registerWithFactory = true) {
    T* object = new T(engine, param);
    object->AfterConstruction(engine, param, registerWithFactory);
    return object;
  }

  // Reference counting (plain integer: the engine runs on one thread).
  int32_t IncRef() { return ++refCount_; }
  int32_t DecRef();
  int32_t RefCount() const { return refCount_; }
  // Drops a hold taken by TJKeepAlive on an object nothing else held, without freeing it.
  void Unhold() { --refCount_; }
  bool IsDisposed() const { return disposed_; }
  // Engine clear: forget members, events and held resources and mark the object disposed. A
  // descendant releases what it holds (sub-objects, files, sockets) and calls the inherited one.
  virtual void Dispose();

  TJBaseEngine* Engine() const { return engine_; }
  const std::string& Name() const { return *name_; }
  // Class names are few and shared by every instance: each is kept once.
  void RegistName(std::string_view name);

  // Asked of the class.
  static bool IsMakeGlobalInstance() { return true; }
  static bool IsIndexedClass() { return false; }

  // --- virtual operations ---
  virtual void RegistMethods();
  virtual void RegistProperties() {}
  // Runs after the registrations, before the factory registration: work a class does on its
  // finished object (a wrapper makes its framework object here).
  virtual void AfterCreate(TJValueList* param) {}
  virtual bool GetValue(std::string_view name, TJValue& value, TJValueList* param);
  virtual bool SetValue(std::string_view name, const TJValue& value, TJValueList* param);
  // Removes every member; the natives and RegistProperties' members come back.
  virtual void Clear();
  virtual bool HasKey(std::string_view name);
  virtual bool RemoveKey(std::string_view name);
  // GetValue; a miss raises "EKeyError" (bracket access) or "ENameError", the message the name.
  virtual void GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value);
  // SetValue; a miss adds a new member.
  virtual void PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param);
  virtual std::string ToString(const TJValue* argument);
  virtual void ValueOf(TJValue& value);
  virtual double ToNumber() { return 0; }
  virtual bool ToBoolean() { return true; }
  virtual int32_t ToChar() { return 0; }
  // The object form of a primitive takes a value of its kind as its own (a String object shares
  // the text, a Number object keeps the number), as if made from it; false for other classes.
  // An empty value lets go of the last one: false when the object cannot serve again as if new.
  virtual bool AdoptValue(const TJValue& value) { return false; }
  virtual bool Equals(TJObject* other) { return other == this; }
  virtual void GetPropertyList(std::vector<std::string>& names);
  virtual void GetMethodList(std::vector<std::string>& names);
  virtual void GetEventList(std::vector<std::string>& names);
  virtual bool IsIndexed() const { return false; }
  virtual int32_t GetCount() { return 0; }
  virtual void GetItem(int32_t index, TJValue& value);
  // Bracket access with a number key that an indexed class answers without the key's text: true
  // when done, false to take the ordinary way (GetMember / PutMember with the key as text).
  virtual bool ReadItem(const TJValue& key, TJValue& value) { return false; }
  virtual bool WriteItem(const TJValue& key, const TJValue& value) { return false; }

  // --- registration and member helpers ---
  // A native under `name`, bound to this object.
  template <class C>
  void RegistMethod(std::string_view name, void (C::*method)(TJValueList*, TJValue&)) {
    registNative(name, static_cast<TJNativeMethod>(method));
  }
  // Stores a member directly, bypassing SetValue (constants, cached wrappers).
  void RegistProperty(std::string_view name, const TJValue& value);
  void RegistEventName(std::string_view name);
  void ClearMembers();
  // Removes every member whose value is not a function.
  void ClearProperties();
  // Member names by value type (see TJHash::GetKeysByTypes), natives included.
  void GetMemberNames(std::vector<std::string>& names, TJValueTypes includeTypes, TJValueTypes excludeTypes);
  bool HasPublishedName(std::string_view name) const;
  const std::vector<std::string>& PublishedNames() const;
  // A member of this object (natives included), without published properties or the prototype.
  bool FindMember(std::string_view name, TJValue& value);
  // A member this object holds as a value, natives not yet asked for excluded; false leaves
  // `value` as it was.
  bool FindStoredMember(std::string_view name, TJValue& value) const;
  // True for an object of the plain script class itself (object literals, instances of script
  // functions): members read first, then natives, then the prototype, with nothing in between.
  bool IsPlainObject() const { return kind_ == Kind::Plain; }
  // True for an object of the script class "Array" itself (not a class built on it).
  bool IsPlainArray() const { return kind_ == Kind::Array; }
  // Whether a published property may have this name: false answers for sure, true asks the class.
  bool MayBePublished(std::string_view name) const;
  // Replaces the value of a member this object holds as a value; false when it holds none.
  bool ReplaceStoredMember(std::string_view name, const TJValue& value);
  // The native a member name would call when it is still the class's own: lets the interpreter
  // call it without materialising a function value.
  TJNativeMethod FindNative(std::string_view name, TJMethodSite* site = nullptr);
  // Whether every native of the class still answers under its own name: none replaced, removed or
  // read as a member so far.
  bool NativesIntact() const;
  // What a method call of `name` on a plain object or an array reaches, looked up once: a member
  // (own or the prototype's, copied to `member`), a native of the class (in `native`), or nothing.
  // The caller has made sure no published property of the name comes first.
  // With a call site: a member of the class's prototype that the site found before is taken from
  // the site's memory, and one found now is remembered there.
  enum class TJMethodLookup { Member, Native, None };
  TJMethodLookup LookupMethod(std::string_view name, TJValue& member, TJNativeMethod& native,
                              TJMethodSite* site = nullptr);
  // Marks an object that answers for a class's prototype: changes to its members tell the factory
  // (see TJObjectFactory::PrototypeEpoch). Stays set for the object's life.
  void ServeAsPrototype() { prototype_ = true; }
  // Whether an event handler can run now: an engine whose event loop is allowed, and a member
  // found under the name.
  bool IsCallEvent(std::string_view name);
  // Calls the handler: with a prefix, the variable prefix+name of the current scope; without, the
  // member `name` (bracket access). Missing handlers do nothing (prefix) or raise "EKeyError".
  void CallEvent(std::string_view prefix, std::string_view name, TJValueList* args, TJValue& result);

  // The base natives.
  void DoHasKey(TJValueList* args, TJValue& result);
  void DoRemoveKey(TJValueList* args, TJValue& result);
  void DoToString(TJValueList* args, TJValue& result);
  void DoGetKeys(TJValueList* args, TJValue& result);
  void DoGetProperties(TJValueList* args, TJValue& result);
  void DoGetMethods(TJValueList* args, TJValue& result);
  void DoValueOf(TJValueList* args, TJValue& result);
  void DoGetEvents(TJValueList* args, TJValue& result);

 protected:
  // The names PublishedNames answers; a wrapper replaces them when it attaches an object. The
  // list is shared, not copied: sorted without repeats (ASCII case ignored), it must outlive the
  // object (wrappers share one list per pair of classes, made once).
  void SharePublishedNames(const std::vector<std::string>& names) { published_ = &names; }
  // Prototype lookup of GetValue (step 4); a prototype object answers false.
  virtual bool GetPrototypeValue(std::string_view name, TJValue& value, TJValueList* param);
  // Builds a new array of names with the object's engine (null without an engine).
  void BuildNameArray(const std::vector<std::string>& names, TJValue& result);

 private:
  friend void ReleaseObject(TJObject* object);
  friend class TJObjectList;
  void AfterConstruction(TJBaseEngine* engine, TJValueList* param, bool registerWithFactory);
  // The table of the class's natives (made on the class's first object, filled on first use).
  const TJNativeTable* classTable(const std::type_info& type);
  // The class's natives, collected from this object's RegistMethods when no instance has yet.
  const TJNativeTable* natives() const;
  void collectNatives() const;
  void registNative(std::string_view name, TJNativeMethod method);
  TJMemberTable& members() { return members_; }
  int nativeIndex(std::string_view name) const;  // -1 when not a live class native
  bool materialise(int index, TJValue* value);
  void maskNative(int index);
  void maskAllNatives();
  bool isMasked(int index) const;
  // Before a change of the members: a prototype's change tells the factory.
  void membersChanging() {
    if (prototype_) prototypeChanging();
  }
  void prototypeChanging();
  TJMethodLookup siteLookup(const TJMethodSite& site, TJValue& member, TJNativeMethod& native) const;
  int siteNative(std::string_view name, TJMethodSite* site) const;
  void remember(TJMethodSite& site, const TJMethodSite::Way& way);
  void rememberPrototypeMember(std::string_view name, const TJValue& found, TJMethodSite& site);

  enum class Kind : uint8_t { Other, Plain, Array };

  int32_t refCount_ = 1;  // 1 while under construction
  bool disposed_ = false;
  bool allNativesMasked_ = false;  // the member table speaks for every native
  Kind kind_ = Kind::Other;  // set once the object is made
  bool prototype_ = false;   // see ServeAsPrototype
  const std::string* name_;
  TJBaseEngine* engine_;
  TJMemberTable members_;
  std::unique_ptr<std::vector<std::string>> eventNames_;
  const std::vector<std::string>* published_ = nullptr;  // the class's list unless shared
  const TJNativeTable* natives_ = nullptr;
  std::unique_ptr<std::vector<uint64_t>> nativeMask_;  // bit set: the member table speaks for that native
  // Membership of the factory's list of live objects.
  TJObjectList* list_ = nullptr;
  TJObject* listPrev_ = nullptr;
  TJObject* listNext_ = nullptr;
};

// Frees an object whose count fell to 0 (queued while another release runs).
void ReleaseObject(TJObject* object);

template <class T>
const TJClass& ClassOf() {
  static const TJClass cls{&T::StaticClassInfo(),
                           [](TJBaseEngine* e, TJValueList* p, bool reg) -> TJObject* { return TJObject::Create<T>(e, p, reg); },
                           T::IsMakeGlobalInstance(), T::IsIndexedClass()};
  return cls;
}

// Keeps an object alive for a C++ scope. An object that nothing held when the scope began (a new
// object on its way to its first holder) is left unheld again, not freed.
class TJKeepAlive {
 public:
  explicit TJKeepAlive(TJObject* object) : object_(object), floating_(object && object->RefCount() == 0) {
    if (object_) object_->IncRef();
  }
  ~TJKeepAlive() {
    if (!object_) return;
    if (floating_ && object_->RefCount() == 1) object_->Unhold(); else object_->DecRef();
  }
  TJKeepAlive(const TJKeepAlive&) = delete;
  TJKeepAlive& operator=(const TJKeepAlive&) = delete;

 private:
  TJObject* object_;
  bool floating_;
};

// A counted reference held by C++ code.
template <class T>
class TJRef {
 public:
  TJRef() = default;
  TJRef(T* p) : p_(p) { if (p_) p_->IncRef(); }
  TJRef(const TJRef& o) : p_(o.p_) { if (p_) p_->IncRef(); }
  TJRef(TJRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~TJRef() { if (p_) p_->DecRef(); }
  TJRef& operator=(TJRef o) noexcept { std::swap(p_, o.p_); return *this; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() { TJRef().swap(*this); }
  void swap(TJRef& o) noexcept { std::swap(p_, o.p_); }

 private:
  T* p_ = nullptr;
};

}  // namespace engine
