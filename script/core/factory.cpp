#include "script/core/factory.h"

#include "script/core/base_engine.h"
#include "script/core/prototype.h"
#include "script/core/value.h"

namespace engine {

TJObjectList::~TJObjectList() {
  while (head_) Remove(head_);
}

void TJObjectList::Add(TJObject* object) {
  if (!object || object->list_) return;
  object->list_ = this;
  object->listPrev_ = tail_;
  object->listNext_ = nullptr;
  if (tail_) tail_->listNext_ = object; else head_ = object;
  tail_ = object;
  ++count_;
}

void TJObjectList::Remove(TJObject* object) {
  if (!object || object->list_ != this) return;
  if (object->listPrev_) object->listPrev_->listNext_ = object->listNext_; else head_ = object->listNext_;
  if (object->listNext_) object->listNext_->listPrev_ = object->listPrev_; else tail_ = object->listPrev_;
  object->list_ = nullptr;
  object->listPrev_ = object->listNext_ = nullptr;
  --count_;
}

bool TJObjectList::Contains(const TJObject* object) const { return object && object->list_ == this; }

std::vector<TJObject*> TJObjectList::Snapshot() const {
  std::vector<TJObject*> all;
  all.reserve(count_);
  for (TJObject* o = head_; o; o = o->listNext_) all.push_back(o);
  return all;
}

void TJObjectList::Clear() {
  // Keep every listed object alive while all of them are disposed, so that disposing one never
  // frees another still to be visited; then let go of them together.
  std::vector<TJRef<TJObject>> held;
  held.reserve(count_);
  for (TJObject* o = head_; o; o = o->listNext_) held.emplace_back(o);
  while (head_) Remove(head_);
  for (auto& ref : held) ref->Dispose();
  held.clear();
}

TJObjectFactory::TJObjectFactory(TJBaseEngine* engine) : engine_(engine) {}

TJObjectFactory::~TJObjectFactory() { ClearObjects(); }

void TJObjectFactory::RegistClass(std::string_view name, const TJClass& cls) { classes_.Put(name, &cls); }

const TJClass* TJObjectFactory::GetClass(std::string_view name) const {
  const TJClass* const* c = classes_.FindValue(name);
  return c ? *c : nullptr;
}

void TJObjectFactory::AddObject(TJObject* object) {
  if (OnNewObject) OnNewObject(object);
  objects_.Add(object);
}

TJObject* TJObjectFactory::GetPrototype(std::string_view name) {
  if (const TJValue* v = prototypes_.Find(name)) {
    if (auto* proto = dynamic_cast<TJPrototypeObject*>(v->vObject())) return proto->GetTarget();
  }
  TJPrototypeObject* proto = TJObject::Create<TJPrototypeObject>(engine_, nullptr, true);
  proto->ServeAsPrototype();
  for (PrototypeHit& hit : hits_) hit = PrototypeHit{};
  PrototypesChanged();
  prototypes_.SetValue(name, TJValue::Object(proto));
  return proto;
}

TJObject* TJObjectFactory::PrototypeOf(const TJObject& object) {
  const std::string* name = &object.Name();  // names are kept once, at a fixed address
  PrototypeHit& hit = hits_[(reinterpret_cast<uintptr_t>(name) >> 4) % std::size(hits_)];
  if (hit.name == name) return hit.prototype->GetTarget();
  TJObject* target = GetPrototype(*name);
  if (const TJValue* v = prototypes_.Find(*name)) {
    if (auto* proto = dynamic_cast<TJPrototypeObject*>(v->vObject())) hit = PrototypeHit{name, proto};
  }
  return target;
}

bool TJObjectFactory::SetPrototype(std::string_view name, TJObject* object) {
  if (object) {
    // Walk the chain the replacement would create; reaching the class itself is a cycle. The
    // replacement's own class name counts too (it would be its own prototype).
    if (object->Name() == name) return false;
    TJObject* link = GetPrototype(object->Name());
    for (int steps = 0; link && !dynamic_cast<TJPrototypeObject*>(link); ++steps) {
      if (link->Name() == name || steps > 1000) return false;
      link = GetPrototype(link->Name());
    }
  }
  GetPrototype(name);
  auto* proto = dynamic_cast<TJPrototypeObject*>(prototypes_.Find(name)->vObject());
  if (!proto) return false;
  if (object) object->ServeAsPrototype();
  PrototypesChanged();
  proto->SetReplacement(object);
  return true;
}

void TJObjectFactory::ClearObjects() {
  PrototypesChanged();
  prototypes_.Clear();
  for (PrototypeHit& hit : hits_) hit = PrototypeHit{};  // also what releasing them looked up
  objects_.Clear();
}

}  // namespace engine
