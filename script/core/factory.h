// The engine's object factory: script-creatable classes by script name, one prototype object per
// class name, and the list of every live object made with the engine, which engine clear disposes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/hash_table.h"
#include "script/core/hash.h"
#include "script/core/notify.h"
#include "script/core/object.h"

namespace engine {

class TJBaseEngine;
class TJPrototypeObject;

// The live registered objects, in registration order. Objects leave it when they are freed.
class TJObjectList {
 public:
  TJObjectList() = default;
  TJObjectList(const TJObjectList&) = delete;
  ~TJObjectList();
  void Add(TJObject* object);
  void Remove(TJObject* object);
  bool Contains(const TJObject* object) const;
  size_t Count() const { return count_; }
  // Disposes every listed object (whatever its count) and empties the list; objects nothing else
  // holds are freed.
  void Clear();
  std::vector<TJObject*> Snapshot() const;

 private:
  friend class TJObject;
  TJObject* head_ = nullptr;
  TJObject* tail_ = nullptr;
  size_t count_ = 0;
};

class TJObjectFactory : public TJNotify {
 public:
  explicit TJObjectFactory(TJBaseEngine* engine);
  ~TJObjectFactory() override;

  // A later registration of the same name replaces the earlier one.
  void RegistClass(std::string_view name, const TJClass& cls);
  bool HasClass(std::string_view name) const { return classes_.HasKey(name); }
  // Null when no class is registered under the name.
  const TJClass* GetClass(std::string_view name) const;
  // The registered names in the table's key order.
  std::vector<std::string> GetClassNames() const { return classes_.KeyList(); }

  void AddObject(TJObject* object);
  // The prototype of the class name: its replacement object when one is set, else the prototype
  // itself, made on first use.
  TJObject* GetPrototype(std::string_view name);
  // GetPrototype of the object's class name, remembered by the address of the object's (shared)
  // name so that member reads that reach the prototype skip the lookup by name.
  TJObject* PrototypeOf(const TJObject& object);
  // Replaces the class's prototype; false (nothing changed) when the chain would lead back to
  // the class itself.
  bool SetPrototype(std::string_view name, TJObject* object);
  // Drops the prototypes, then disposes every listed object.
  void ClearObjects();
  // Changes whenever a prototype may answer a name otherwise than before: a prototype made,
  // replaced or disposed, a member of an object serving as one added, replaced or removed.
  uint64_t PrototypeEpoch() const { return prototypeEpoch_; }
  void PrototypesChanged() { ++prototypeEpoch_; }

  const TJObjectList& Objects() const { return objects_; }
  TJBaseEngine* Engine() const { return engine_; }

  // Called for each newly registered object, before it joins the list.
  std::function<void(TJObject* object)> OnNewObject;

 private:
  TJBaseEngine* engine_;
  support::TCustomHashTable<const TJClass*> classes_{53, false};
  TJObjectList objects_;
  TJHash prototypes_{23, false};
  struct PrototypeHit {
    const std::string* name = nullptr;
    TJPrototypeObject* prototype = nullptr;
  };
  PrototypeHit hits_[8];  // by the name's address; emptied whenever the prototypes change
  uint64_t prototypeEpoch_ = 1;
};

}  // namespace engine
