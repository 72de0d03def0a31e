#include "script/core/object.h"

#include <algorithm>
#include <cassert>
#include <map>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>

#include "script/core/base_engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"
#include "script/core/hash.h"
#include "script/core/prototype.h"
#include "script/core/published.h"
#include "script/core/value.h"
#include "script/core/value_list.h"
#include "support/hash_table.h"

namespace engine {

// A quick test whether a name can be one of a few known names: a bit per (size, first and last
// letter with ASCII case ignored). A clear bit answers no for sure; a set bit says look properly.
class TJNameFilter {
 public:
  void Add(std::string_view name) { bits_[bit(name) / 64] |= uint64_t(1) << (bit(name) % 64); }
  bool MayHold(std::string_view name) const { return (bits_[bit(name) / 64] >> (bit(name) % 64)) & 1u; }

 private:
  static unsigned bit(std::string_view name) {
    if (name.empty()) return 0;
    auto lower = [](char c) { return unsigned(static_cast<unsigned char>(rt::asciiLower(c))); };
    return (unsigned(name.size()) * 37u + lower(name.front()) * 7u + lower(name.back())) & 255u;
  }
  uint64_t bits_[4] = {};
};

// The natives one class registers, and what the class publishes (its property names, for the quick
// test). The natives are collected once, from the RegistMethods of the first instance that needs
// them (most classes of a program's global instances are never asked); the index is a flat
// open-addressing table of entry numbers, so building it allocates nothing per name.
struct TJNativeTable {
  bool collected = false;
  std::vector<std::pair<std::string, TJNativeMethod>> entries;
  std::vector<int32_t> slots = std::vector<int32_t>(64, -1);  // entry numbers; -1 for free, size a power of 2
  TJNameFilter nativeNames;
  TJNameFilter publishedNames;
  bool publishes = false;

  void add(std::string_view name, TJNativeMethod method) {
    size_t slot = slotOf(name);
    if (slots[slot] >= 0) {  // registered again (a class replacing its base's native): the new one holds
      entries[size_t(slots[slot])].second = method;
      return;
    }
    entries.emplace_back(std::string(name), method);
    slots[slot] = int32_t(entries.size() - 1);
    nativeNames.Add(name);
    if (entries.size() * 2 > slots.size()) grow();
  }
  int find(std::string_view name) const {
    assert(collected);
    if (entries.empty() || !nativeNames.MayHold(name)) return -1;
    return slots[slotOf(name)];
  }
  // Back to no natives (a collection that failed half way).
  void forget() {
    entries.clear();
    slots.assign(slots.size(), -1);
    nativeNames = TJNameFilter();
  }
  void publish(const rt::ClassInfo& info) {
    for (const rt::PropInfo* p : info.properties()) publishedNames.Add(p->name);
    publishes = !info.properties().empty();
  }

 private:
  // The slot holding `name`, or the free slot where it would go.
  size_t slotOf(std::string_view name) const {
    size_t mask = slots.size() - 1;
    for (size_t i = support::IndexHashOf(name, false) & mask;; i = (i + 1) & mask) {
      int32_t e = slots[i];
      if (e < 0 || entries[size_t(e)].first == name) return i;
    }
  }
  void grow() {
    slots.assign(slots.size() * 2, -1);
    if (entries.capacity() == entries.size()) entries.reserve(slots.size() / 2);
    for (size_t e = 0; e < entries.size(); ++e) slots[slotOf(entries[e].first)] = int32_t(e);
  }
};

namespace {

constexpr uint32_t kMemberBuckets = TJMemberTable::kBuckets;
constexpr int kMaxPrototypeDepth = 64;

// Keyed by the address of the class's type_info: one per class in the program (should a class
// have two, it would only collect its natives twice).
std::unordered_map<const std::type_info*, std::unique_ptr<TJNativeTable>>& nativeTables() {
  static std::unordered_map<const std::type_info*, std::unique_ptr<TJNativeTable>> tables;
  return tables;
}

// While RegistMethods runs to collect a class's natives.
TJNativeTable* gCollecting = nullptr;
const TJObject* gCollectingFor = nullptr;

// The sorted, case-insensitive, duplicate-free list of a class's non-event published names.
const std::vector<std::string>& classPublishedNames(const rt::ClassInfo& info) {
  static std::map<const rt::ClassInfo*, std::vector<std::string>> cache;
  auto it = cache.find(&info);
  if (it != cache.end()) return it->second;
  std::vector<std::string> names;
  for (const rt::PropInfo* p : info.properties())
    if (!p->isEvent()) names.push_back(p->name);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return rt::compareText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return rt::sameText(a, b); }),
              names.end());
  return cache.emplace(&info, std::move(names)).first->second;
}

int gPrototypeDepth = 0;

// Deferred release: frees queued while another free runs are done by the outermost one.
int gReleaseDepth = 0;
std::vector<TJObject*>& pendingReleases() {
  static std::vector<TJObject*> pending;
  return pending;
}

}  // namespace

const rt::ClassInfo& TJObject::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TJObject>("TJObject", &TJNotify::StaticClassInfo()).build();
  return info;
}

namespace {

// Interned class names: a set of nodes, so each name keeps its address.
const std::string* InternName(std::string_view name) {
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return support::IndexHashOf(s, false); }
  };
  static std::unordered_set<std::string, NameHash, std::equal_to<>> names;
  auto it = names.find(name);
  if (it == names.end()) it = names.emplace(name).first;
  return &*it;
}

const std::string* ObjectName() {
  static const std::string* name = InternName("Object");
  return name;
}

}  // namespace

TJObject::TJObject(TJBaseEngine* engine, TJValueList*) : name_(ObjectName()), engine_(engine) {}

void TJObject::RegistName(std::string_view name) { name_ = InternName(name); }

TJObject::~TJObject() {
  if (list_) list_->Remove(this);
}

void TJObject::AfterConstruction(TJBaseEngine* engine, TJValueList* param, bool registerWithFactory) {
  try {
    // Objects come in runs of one class: the class met last is remembered (tables are never freed).
    thread_local const std::type_info* lastType = nullptr;
    thread_local const TJNativeTable* lastTable = nullptr;
    thread_local const std::vector<std::string>* lastPublished = nullptr;
    thread_local Kind lastKind = Kind::Other;
    const std::type_info& type = typeid(*this);
    if (&type != lastType) {
      lastTable = classTable(type);
      lastPublished = &classPublishedNames(ClassType());
      lastKind = !lastTable->publishes && type == typeid(TJObject)     ? Kind::Plain
                 : IsExactKnownClass(this, TJKnownClass::Array) ? Kind::Array
                                                                     : Kind::Other;
      lastType = &type;
    }
    natives_ = lastTable;
    kind_ = lastKind;
    if (!published_) published_ = lastPublished;
    RegistProperties();
    AfterCreate(param);
    if (engine && registerWithFactory) engine->Factory().AddObject(this);
  } catch (...) {
    refCount_ = 0;
    delete this;
    throw;
  }
  // The construction hold goes; references the object's own construction handed out (a parent
  // that keeps it, a table it joined) stay counted.
  --refCount_;
}

const TJNativeTable* TJObject::classTable(const std::type_info& type) {
  auto& tables = nativeTables();
  auto it = tables.find(&type);
  if (it == tables.end()) {
    auto table = std::make_unique<TJNativeTable>();
    table->publish(ClassType());
    it = tables.emplace(&type, std::move(table)).first;
  }
  return it->second.get();
}

void TJObject::collectNatives() const {
  auto* table = const_cast<TJNativeTable*>(natives_);
  TJNativeTable* outerTable = gCollecting;
  const TJObject* outerObject = gCollectingFor;
  gCollecting = table;
  gCollectingFor = this;
  try {
    // RegistMethods only names the class's natives: it is the same whichever instance runs it.
    const_cast<TJObject*>(this)->RegistMethods();
  } catch (...) {
    table->forget();
    gCollecting = outerTable;
    gCollectingFor = outerObject;
    throw;
  }
  gCollecting = outerTable;
  gCollectingFor = outerObject;
  table->collected = true;
}

int32_t TJObject::DecRef() {
  int32_t n = --refCount_;
  if (n == 0) ReleaseObject(this);
  return n;
}

void ReleaseObject(TJObject* object) {
  auto& pending = pendingReleases();
  if (gReleaseDepth > 0) {
    pending.push_back(object);
    return;
  }
  ++gReleaseDepth;
  delete object;
  while (!pending.empty()) {
    TJObject* next = pending.back();
    pending.pop_back();
    if (next->refCount_ <= 0) delete next;  // unless something took it up again meanwhile
  }
  --gReleaseDepth;
}

void TJObject::Dispose() {
  if (disposed_) return;
  membersChanging();
  disposed_ = true;
  TJMemberTable members;
  members.swap(members_);
  eventNames_.reset();
  if (natives_) maskAllNatives();
  members.Clear();  // releases what the members held
}

// --- natives ---

void TJObject::registNative(std::string_view name, TJNativeMethod method) {
  if (gCollecting && gCollectingFor == this) {
    gCollecting->add(name, method);
    return;
  }
  IJFunction* f = NewFunction();
  f->SetName(std::string(name));
  f->SetFuncType(ftNative);
  f->SetMethod(method);
  f->SetThisObject(this);
  TJValue v;
  v.SetFunction(f);
  membersChanging();
  members().SetValue(name, v);
  int i = nativeIndex(name);
  if (i >= 0) maskNative(i);
}

inline const TJNativeTable* TJObject::natives() const {
  if (natives_ && !natives_->collected) collectNatives();
  return natives_;
}

int TJObject::nativeIndex(std::string_view name) const {
  const TJNativeTable* table = natives();
  if (!table) return -1;
  int i = table->find(name);
  return i < 0 || isMasked(i) ? -1 : i;
}

bool TJObject::MayBePublished(std::string_view name) const {
  if (!natives_) return !ClassType().properties().empty();  // still being made: ask the class
  return natives_->publishes && natives_->publishedNames.MayHold(name);
}

bool TJObject::isMasked(int index) const {
  size_t w = size_t(index) / 64;
  return allNativesMasked_ || (nativeMask_ && w < nativeMask_->size() && (((*nativeMask_)[w] >> (index % 64)) & 1u));
}

void TJObject::maskNative(int index) {
  if (allNativesMasked_) return;
  size_t w = size_t(index) / 64;
  if (!nativeMask_) nativeMask_ = std::make_unique<std::vector<uint64_t>>();
  if (nativeMask_->size() <= w) nativeMask_->resize(w + 1, 0);
  (*nativeMask_)[w] |= uint64_t(1) << (index % 64);
}

// Needs no natives collected: the table may never be, for an object disposed before any was asked.
void TJObject::maskAllNatives() {
  allNativesMasked_ = true;
  nativeMask_.reset();
}

bool TJObject::materialise(int index, TJValue* value) {
  const auto& [name, method] = natives_->entries[size_t(index)];
  IJFunction* f = NewFunction();
  f->SetName(name);
  f->SetFuncType(ftNative);
  f->SetMethod(method);
  f->SetThisObject(this);
  TJValue v;
  v.SetFunction(f);
  maskNative(index);
  membersChanging();
  members().SetValue(name, v);
  if (value) *value = std::move(v);
  return true;
}

// What a site remembers of this object's class, once the object has no member of the name. A
// native entry holds unless this object has masked the native. A prototype entry stands for the
// whole way to the prototype: no native of the name in the class (so none to unmask either), the
// prototype the class name leads to and its member, none of which changes without a new epoch.
[[gnu::always_inline]] inline TJObject::TJMethodLookup TJObject::siteLookup(const TJMethodSite& site, TJValue& member,
                                                                            TJNativeMethod& native) const {
  for (unsigned k = 0; k < site.used; ++k) {
    const TJMethodSite::Way& way = site.ways[k];
    if (!way.className && way.natives == natives_) {
      if (isMasked(way.native)) return TJMethodLookup::None;
      native = natives_->entries[size_t(way.native)].second;
      return TJMethodLookup::Native;
    }
    if (way.className != name_ || way.natives != natives_) continue;
    if (!engine_ || disposed_ || gPrototypeDepth >= kMaxPrototypeDepth) return TJMethodLookup::None;
    const TJObjectFactory& factory = engine_->Factory();
    if (site.factory != &factory || site.epoch != factory.PrototypeEpoch()) return TJMethodLookup::None;
    member.SetFunction(way.function);
    return TJMethodLookup::Member;
  }
  return TJMethodLookup::None;
}

TJObject::TJMethodLookup TJObject::LookupMethod(std::string_view name, TJValue& member, TJNativeMethod& native,
                                                TJMethodSite* site) {
  if (const TJValue* v = members_.Find(name)) {
    member = *v;
    return TJMethodLookup::Member;
  }
  if (site) {
    if (TJMethodLookup known = siteLookup(*site, member, native); known != TJMethodLookup::None) return known;
  }
  int i = siteNative(name, site);
  if (i >= 0) {
    native = natives_->entries[size_t(i)].second;
    return TJMethodLookup::Native;
  }
  TJKeepAlive keep(this);  // a prototype's getter may drop the last other reference
  if (!GetPrototypeValue(name, member, nullptr)) return TJMethodLookup::None;
  if (site) rememberPrototypeMember(name, member, *site);
  return TJMethodLookup::Member;
}

// nativeIndex, and with a site, the class's native remembered there.
int TJObject::siteNative(std::string_view name, TJMethodSite* site) const {
  int i = nativeIndex(name);
  if (i >= 0 && site) const_cast<TJObject*>(this)->remember(*site, TJMethodSite::Way{natives_, nullptr, nullptr, i});
  return i;
}

void TJObject::remember(TJMethodSite& site, const TJMethodSite::Way& way) {
  site.ways[site.next++ % TJMethodSite::kWays] = way;
  if (site.used < TJMethodSite::kWays) ++site.used;
}

// Remembers a function found on the prototype when the prototype holds it as a member of its own,
// where its GetValue finds it first: a prototype object, or a plain object put in its place.
void TJObject::rememberPrototypeMember(std::string_view name, const TJValue& found, TJMethodSite& site) {
  IJFunction* function = found.vFunction();
  if (!function || !engine_ || disposed_ || !natives() || natives()->find(name) >= 0) return;
  TJObjectFactory& factory = engine_->Factory();
  TJObject* target = factory.PrototypeOf(*this);
  if (!target || target == this || target->disposed_ || !target->prototype_ || target->MayBePublished(name)) return;
  if (!target->IsPlainObject() && typeid(*target) != typeid(TJPrototypeObject)) return;
  const TJValue* stored = target->members_.Find(name);
  if (!stored || stored->vFunction() != function) return;
  if (site.factory != &factory || site.epoch != factory.PrototypeEpoch()) {
    site = TJMethodSite{};
    site.factory = &factory;
    site.epoch = factory.PrototypeEpoch();
  }
  remember(site, TJMethodSite::Way{natives_, name_, function, -1});
}

void TJObject::prototypeChanging() {
  if (engine_ && !disposed_) engine_->Factory().PrototypesChanged();
}

TJNativeMethod TJObject::FindNative(std::string_view name, TJMethodSite* site) {
  if (members_.HasKey(name)) return nullptr;
  TJValue unused;
  TJNativeMethod native = nullptr;
  if (site && siteLookup(*site, unused, native) == TJMethodLookup::Native) return native;
  int i = siteNative(name, site);
  return i < 0 ? nullptr : natives_->entries[size_t(i)].second;
}

bool TJObject::NativesIntact() const {
  if (allNativesMasked_) return false;
  return !nativeMask_ || std::all_of(nativeMask_->begin(), nativeMask_->end(), [](uint64_t w) { return w == 0; });
}

// --- registration ---

void TJObject::RegistMethods() {
  RegistMethod("hasKey", &TJObject::DoHasKey);
  RegistMethod("hasOwnProperty", &TJObject::DoHasKey);
  RegistMethod("removeKey", &TJObject::DoRemoveKey);
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("getKeys", &TJObject::DoGetKeys);
  RegistMethod("getProperties", &TJObject::DoGetProperties);
  RegistMethod("getMethods", &TJObject::DoGetMethods);
  RegistMethod("valueOf", &TJObject::DoValueOf);
  RegistMethod("getEvents", &TJObject::DoGetEvents);
}

void TJObject::RegistProperty(std::string_view name, const TJValue& value) {
  membersChanging();
  if (TJValue* v = members_.Find(name)) {  // a member already: any native of the name is masked
    TJValue old = std::move(*v);
    *v = value;
    return;
  }
  members_.Insert(name, value);
  int i = nativeIndex(name);
  if (i >= 0) maskNative(i);
}

void TJObject::RegistEventName(std::string_view name) {
  if (!eventNames_) eventNames_ = std::make_unique<std::vector<std::string>>();
  auto& names = *eventNames_;
  auto pos = std::lower_bound(names.begin(), names.end(), name,
                              [](const std::string& a, std::string_view b) { return rt::compareText(a, b) < 0; });
  if (pos != names.end() && rt::sameText(*pos, name)) return;
  names.insert(pos, std::string(name));
}

void TJObject::ClearMembers() {
  membersChanging();
  members_.Clear();
  if (natives_) maskAllNatives();
}

void TJObject::ClearProperties() {
  membersChanging();
  members_.RemoveByTypes(0, TypeBit(vtFunction));
}

void TJObject::Clear() {
  membersChanging();
  members_.Clear();
  nativeMask_.reset();
  allNativesMasked_ = false;
  if (disposed_) return;
  RegistProperties();
}

void TJObject::GetMemberNames(std::vector<std::string>& names, TJValueTypes includeTypes, TJValueTypes excludeTypes) {
  names.clear();
  members_.GetKeysByTypes(names, includeTypes, excludeTypes);
  if (!natives_ || allNativesMasked_ || !TJHash::Selects(vtFunction, includeTypes, excludeTypes)) return;
  const TJNativeTable* table = natives();
  bool added = false;
  for (size_t i = 0; i < table->entries.size(); ++i) {
    if (isMasked(int(i))) continue;
    names.push_back(table->entries[i].first);
    added = true;
  }
  if (added) SortInTableOrder(names, kMemberBuckets);
}

const std::vector<std::string>& TJObject::PublishedNames() const {
  static const std::vector<std::string> none;
  return published_ ? *published_ : none;
}

bool TJObject::HasPublishedName(std::string_view name) const {
  const auto& names = PublishedNames();
  auto pos = std::lower_bound(names.begin(), names.end(), name,
                              [](const std::string& a, std::string_view b) { return rt::compareText(a, b) < 0; });
  return pos != names.end() && rt::sameText(*pos, name);
}

bool TJObject::FindStoredMember(std::string_view name, TJValue& value) const {
  const TJValue* v = members_.Find(name);
  if (!v) return false;
  value = *v;
  return true;
}

bool TJObject::ReplaceStoredMember(std::string_view name, const TJValue& value) {
  TJValue* v = members_.Find(name);
  if (!v) return false;
  membersChanging();
  TJValue old = std::move(*v);  // released after the new value is in place
  *v = value;
  return true;
}

bool TJObject::FindMember(std::string_view name, TJValue& value) {
  if (const TJValue* v = members_.Find(name)) {
    value = *v;
    return true;
  }
  int i = nativeIndex(name);
  if (i >= 0) return materialise(i, &value);
  value.Clear();
  return false;
}

// --- reading and writing ---

bool TJObject::GetValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (MayBePublished(name)) {
    const rt::PropInfo* p = ClassType().findProperty(name);
    if (p && GetPublishedProperty(this, *p, value, engine_)) return true;
  }
  if (FindMember(name, value)) return true;
  return GetPrototypeValue(name, value, param);
}

bool TJObject::GetPrototypeValue(std::string_view name, TJValue& value, TJValueList* param) {
  if (!engine_ || disposed_) return false;
  if (gPrototypeDepth >= kMaxPrototypeDepth) return false;  // a chain that leads back to itself
  TJObject* proto = engine_->Factory().PrototypeOf(*this);
  if (!proto || proto == this) return false;
  TJKeepAlive keep(proto);
  ++gPrototypeDepth;
  bool found = false;
  try {
    found = proto->GetValue(name, value, param);
  } catch (...) {
    --gPrototypeDepth;
    throw;
  }
  --gPrototypeDepth;
  return found;
}

bool TJObject::SetValue(std::string_view name, const TJValue& value, TJValueList* param) {
  if (const rt::PropInfo* p = MayBePublished(name) ? ClassType().findProperty(name) : nullptr) {
    // A value the property refuses is dropped: it never becomes a member under that name.
    SetPublishedProperty(this, *p, value);
    return true;
  }
  if (ReplaceStoredMember(name, value)) return true;
  int i = nativeIndex(name);
  if (i >= 0) {
    maskNative(i);
    membersChanging();
    members().SetValue(name, value);
    return true;
  }
  return false;
}

bool TJObject::HasKey(std::string_view name) {
  if (published_ && !published_->empty() && HasPublishedName(name)) return true;  // most publish nothing
  return members_.HasKey(name) || nativeIndex(name) >= 0;
}

bool TJObject::RemoveKey(std::string_view name) {
  membersChanging();
  bool removed = members_.Remove(name);
  int i = nativeIndex(name);
  if (i >= 0) {
    maskNative(i);
    removed = true;
  }
  return removed;
}

void TJObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  TJKeepAlive keep(this);  // a getter may drop the last other reference
  if (!GetValue(name, value, param)) ThrowError(bracketAccess ? jeKeyMissing : jeNameMissing, {name});
}

void TJObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  TJKeepAlive keep(this);
  if (disposed_) return;
  if (SetValue(name, value, param)) return;
  // A plain object's SetValue has looked the name up already: it is not there.
  membersChanging();
  if (IsPlainObject())
    members_.Insert(name, value);
  else
    members_.SetValue(name, value);
}

std::string TJObject::ToString(const TJValue*) { return "[object " + *name_ + "]"; }

void TJObject::ValueOf(TJValue& value) { value.SetObject(this); }

void TJObject::GetPropertyList(std::vector<std::string>& names) {
  GetMemberNames(names, 0, TypeBit(vtFunction));
  const auto& published = PublishedNames();
  names.insert(names.end(), published.begin(), published.end());
}

void TJObject::GetMethodList(std::vector<std::string>& names) { GetMemberNames(names, TypeBit(vtFunction), 0); }

void TJObject::GetEventList(std::vector<std::string>& names) {
  names.clear();
  if (eventNames_) names = *eventNames_;
}

void TJObject::GetItem(int32_t, TJValue& value) { value.Clear(); }

bool TJObject::IsCallEvent(std::string_view name) {
  if (!engine_ || !engine_->EventLoopAllowed || name.empty()) return false;
  TJValue v;
  return GetValue(name, v, nullptr);
}

void TJObject::CallEvent(std::string_view prefix, std::string_view name, TJValueList* args, TJValue& result) {
  result.Clear();
  if (!engine_) return;
  TJKeepAlive keep(this);
  TJValue handler;
  if (!prefix.empty()) {
    if (!engine_->FindVariable(std::string(prefix) + std::string(name), handler)) return;
  } else {
    GetMember(name, true, nullptr, handler);
  }
  engine_->CallHandler(handler, args, result, this);
}

// --- base natives ---

void TJObject::BuildNameArray(const std::vector<std::string>& names, TJValue& result) {
  if (!engine_) {
    result.SetNull();
    return;
  }
  TJValueList items;
  for (const auto& n : names) items.AddString(n);
  result.SetObject(engine_->MakeArray(items));
}

void TJObject::DoHasKey(TJValueList* args, TJValue& result) {
  result.SetBool(IsParam1(args) && HasKey(AsString(&(*args)[0])));
}

void TJObject::DoRemoveKey(TJValueList* args, TJValue& result) {
  result.SetBool(IsParam1(args) && RemoveKey(AsString(&(*args)[0])));
}

void TJObject::DoToString(TJValueList* args, TJValue& result) {
  result.SetString(ToString(IsParam1(args) ? &(*args)[0] : nullptr));
}

void TJObject::DoGetKeys(TJValueList*, TJValue& result) {
  std::vector<std::string> names;
  GetMemberNames(names, 0, 0);
  const auto& published = PublishedNames();
  names.insert(names.end(), published.begin(), published.end());
  BuildNameArray(names, result);
}

void TJObject::DoGetProperties(TJValueList*, TJValue& result) {
  std::vector<std::string> names;
  GetPropertyList(names);
  BuildNameArray(names, result);
}

void TJObject::DoGetMethods(TJValueList*, TJValue& result) {
  std::vector<std::string> names;
  GetMethodList(names);
  BuildNameArray(names, result);
}

void TJObject::DoValueOf(TJValueList*, TJValue& result) { ValueOf(result); }

void TJObject::DoGetEvents(TJValueList*, TJValue& result) {
  std::vector<std::string> names;
  GetEventList(names);
  BuildNameArray(names, result);
}

}  // namespace engine
