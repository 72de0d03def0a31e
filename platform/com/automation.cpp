#include "platform/com/automation.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/rt/utf8.h"

namespace com {

namespace {

// Every dispatch object of this layer alive now. Servers may live on other threads than the
// script that uses them, so the set is locked.
struct LiveSet {
  std::mutex lock;
  std::unordered_set<const void*> objects;
};
LiveSet& Live() {
  static LiveSet* set = new LiveSet;  // outlives every static object that might still hold one
  return *set;
}

struct ProgIdTable {
  std::mutex lock;
  std::unordered_map<std::string, Factory, rt::TextHash, rt::TextEqual> factories;
};
ProgIdTable& ProgIds() {
  static ProgIdTable* table = new ProgIdTable;
  return *table;
}

class NameTable : public RefCounted<ITypeInfo> {
 public:
  NameTable(std::map<DispId, std::string> names, ITypeLib* lib) : names_(std::move(names)), lib_(lib) {}
  HResult GetDocumentation(DispId id, std::string& name) override {
    auto it = names_.find(id);
    if (it == names_.end()) return TYPE_E_ELEMENTNOTFOUND;
    name = it->second;
    return S_OK;
  }
  HResult GetContainingTypeLib(ComPtr<ITypeLib>& lib) override {
    lib = lib_;
    return lib_ ? S_OK : E_NOTIMPL;
  }

 private:
  std::map<DispId, std::string> names_;
  ComPtr<ITypeLib> lib_;
};

}  // namespace

IDispatch::IDispatch() {
  std::lock_guard<std::mutex> hold(Live().lock);
  Live().objects.insert(this);
}

IDispatch::~IDispatch() {
  std::lock_guard<std::mutex> hold(Live().lock);
  Live().objects.erase(this);
}

ComPtr<rt::IUnknown> IDispatch::QueryInterface(Iid iid) {
  if (iid == Iid::Unknown || iid == Iid::Dispatch) return ComPtr<rt::IUnknown>(this);
  return {};
}

bool IsLiveDispatch(const void* address) {
  std::lock_guard<std::mutex> hold(Live().lock);
  return Live().objects.count(address) != 0;
}

IDispatch* AsDispatch(rt::IDispatch* dispatch) { return dynamic_cast<IDispatch*>(dispatch); }

ComPtr<IEnumVARIANT> AsEnumerator(rt::IUnknown* unknown) {
  return ComPtr<IEnumVARIANT>(dynamic_cast<IEnumVARIANT*>(unknown));
}

// --- type information ---

void TypeLib::Add(const std::string& guid, std::map<DispId, std::string> names) {
  // These infos do not point back at the library: the library holds them, so a link back would be
  // a cycle that is never freed.
  infos_[guid] = ComPtr<ITypeInfo>(new NameTable(std::move(names), nullptr));
}

HResult TypeLib::GetTypeInfoOfGuid(std::string_view guid, ComPtr<ITypeInfo>& info) {
  auto it = infos_.find(guid);
  if (it == infos_.end()) return TYPE_E_ELEMENTNOTFOUND;
  info = it->second;
  return S_OK;
}

std::vector<std::string> PropertyNames(ITypeInfo& info) {
  std::vector<std::string> names;
  TypeAttr attr;
  if (Failed(info.GetTypeAttr(attr))) return names;
  auto add = [&](DispId id) {
    std::string name;
    if (Failed(info.GetDocumentation(id, name)) || name.empty()) return;
    for (const std::string& n : names)
      if (rt::sameText(n, name)) return;
    names.push_back(std::move(name));
  };
  for (uint32_t i = 0; i < attr.varCount; ++i) {
    VarDesc var;
    if (Succeeded(info.GetVarDesc(i, var)) && !(var.flags & VARFLAG_FRESTRICTED)) add(var.id);
  }
  for (uint32_t i = 0; i < attr.funcCount; ++i) {
    FuncDesc func;
    if (Failed(info.GetFuncDesc(i, func)) || (func.flags & FUNCFLAG_FRESTRICTED)) continue;
    if (func.invokeKind == INVOKE_PROPERTYGET && func.paramCount == 0) add(func.id);
  }
  return names;
}

// --- connection points ---

HResult ConnectionPoint::GetConnectionInterface(std::string& guid) {
  guid = guid_;
  return S_OK;
}

HResult ConnectionPoint::Advise(IDispatch* sink, uint32_t& cookie) {
  if (!sink) return E_POINTER;
  cookie = nextCookie_++;
  sinks_.emplace_back(cookie, ComPtr<IDispatch>(sink));
  return S_OK;
}

HResult ConnectionPoint::Unadvise(uint32_t cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

void ConnectionPoint::Fire(DispId id, const std::vector<Variant>& args) {
  // A handler may disconnect (or connect) while the event runs: call a snapshot of the sinks.
  std::vector<ComPtr<IDispatch>> sinks;
  for (auto& entry : sinks_) sinks.push_back(entry.second);
  for (auto& sink : sinks) {
    DispParams params;
    params.args.assign(args.rbegin(), args.rend());
    Variant ignored;
    sink->Invoke(id, DISPATCH_METHOD, params, &ignored);
  }
}

// --- enumerator ---

HResult VariantEnumerator::Next(uint32_t count, Variant* items, uint32_t* fetched) {
  uint32_t got = 0;
  while (got < count && position_ < items_.size()) items[got++] = items_[position_++];
  if (fetched) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HResult VariantEnumerator::Skip(uint32_t count) {
  size_t left = items_.size() - position_;
  position_ += std::min<size_t>(count, left);
  return count <= left ? S_OK : S_FALSE;
}

HResult VariantEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

// --- table-driven dispatch ---

// The container interface of a dispatch object: a separate small object that keeps its owner alive.
class DispatchObject::Container : public RefCounted<IConnectionPointContainer> {
 public:
  explicit Container(DispatchObject* owner) : owner_(owner) {}
  HResult EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>& points) override {
    points.clear();
    if (owner_->point_) points.push_back(ComPtr<IConnectionPoint>(owner_->point_.get()));
    return S_OK;
  }

 private:
  ComPtr<DispatchObject> owner_;
};

// The type information of a dispatch object: a copy of its member table taken when asked for, so
// it holds nothing of the object (and outlives it safely). Each property is a get function and,
// when it can be written, a put function; reserved identifiers (below 0) are restricted.
class DispatchObject::MemberInfo : public NameTable {
 public:
  MemberInfo(const std::vector<Member>& members, std::map<DispId, std::string> names, ITypeLib* lib)
      : NameTable(WithMemberNames(members, std::move(names)), lib) {
    for (const Member& m : members) {
      const uint16_t flags = m.id < 0 ? FUNCFLAG_FRESTRICTED : 0;
      if (m.variable) {
        vars_.push_back({m.id, uint16_t(m.id < 0 ? VARFLAG_FRESTRICTED : 0)});
        continue;
      }
      if (m.get) funcs_.push_back({m.id, INVOKE_PROPERTYGET, m.paramCount, flags});
      if (m.put) funcs_.push_back({m.id, INVOKE_PROPERTYPUT, int16_t(m.paramCount + 1), flags});
      if (m.method) funcs_.push_back({m.id, INVOKE_FUNC, 0, flags});
    }
  }
  HResult GetTypeAttr(TypeAttr& attr) override {
    attr.funcCount = uint16_t(funcs_.size());
    attr.varCount = uint16_t(vars_.size());
    return S_OK;
  }
  HResult GetFuncDesc(uint32_t index, FuncDesc& desc) override {
    if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
    desc = funcs_[index];
    return S_OK;
  }
  HResult GetVarDesc(uint32_t index, VarDesc& desc) override {
    if (index >= vars_.size()) return TYPE_E_ELEMENTNOTFOUND;
    desc = vars_[index];
    return S_OK;
  }

 private:
  static std::map<DispId, std::string> WithMemberNames(const std::vector<Member>& members,
                                                       std::map<DispId, std::string> names) {
    for (const Member& m : members) names[m.id] = m.name;
    return names;
  }

  std::vector<FuncDesc> funcs_;
  std::vector<VarDesc> vars_;
};

void DispatchObject::AddProperty(std::string name, DispId id, Getter get, Setter put, int16_t paramCount) {
  members_.push_back({std::move(name), id, std::move(get), std::move(put), nullptr, paramCount, false});
}

void DispatchObject::AddVariable(std::string name, DispId id, Getter get, Setter put) {
  members_.push_back({std::move(name), id, std::move(get), std::move(put), nullptr, 0, true});
}

void DispatchObject::AddMethod(std::string name, DispId id, Method method) {
  members_.push_back({std::move(name), id, nullptr, nullptr, std::move(method), 0, false});
}

void DispatchObject::SetTypeInfo(std::string guid, std::map<DispId, std::string> names, ComPtr<TypeLib> lib) {
  hasTypeInfo_ = true;
  typeNames_ = std::move(names);
  typeLib_ = std::move(lib);
}

ComPtr<rt::IUnknown> DispatchObject::QueryInterface(Iid iid) {
  if (iid == Iid::ConnectionPointContainer) {
    if (!point_) return {};
    return ComPtr<rt::IUnknown>(new Container(this));
  }
  return IDispatch::QueryInterface(iid);
}

HResult DispatchObject::GetTypeInfo(uint32_t index, ComPtr<ITypeInfo>& info) {
  if (index != 0 || !hasTypeInfo_) return E_NOTIMPL;
  info = ComPtr<ITypeInfo>(new MemberInfo(members_, typeNames_, typeLib_.get()));
  return S_OK;
}

HResult DispatchObject::GetIDsOfNames(std::string_view name, DispId& id) {
  for (const Member& m : members_) {
    if (rt::sameText(m.name, name)) {
      id = m.id;
      return S_OK;
    }
  }
  id = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

DispatchObject::Member* DispatchObject::find(DispId id) {
  for (Member& m : members_)
    if (m.id == id) return &m;
  return nullptr;
}

HResult DispatchObject::Invoke(DispId id, uint16_t flags, DispParams& params, Variant* result) {
  Member* m = find(id);
  if (!m) return DISP_E_MEMBERNOTFOUND;
  ComPtr<DispatchObject> keep(this);  // a member may drop the last outside reference
  Variant ignored;
  Variant& out = result ? *result : ignored;
  out = Variant();
  if (flags & DISPATCH_PROPERTYPUT) {
    // The value is the named argument; the positional ones before it are the index.
    if (!m->put) return DISP_E_MEMBERNOTFOUND;
    if (params.named.size() != 1 || params.named[0] != DISPID_PROPERTYPUT || params.args.empty())
      return DISP_E_BADPARAMCOUNT;
    Args index(params.args.rbegin(), params.args.rend() - 1);
    return m->put(index, params.args.front());
  }
  Args args(params.args.rbegin(), params.args.rend());
  if ((flags & DISPATCH_PROPERTYGET) && m->get) {
    HResult h = m->get(args, out);
    if (h != DISP_E_BADPARAMCOUNT || !(flags & DISPATCH_METHOD) || !m->method) return h;
  }
  if ((flags & DISPATCH_METHOD) && m->method) return m->method(args, out);
  return DISP_E_MEMBERNOTFOUND;
}

// --- programmatic identifiers ---

void RegisterProgId(const std::string& progId, Factory factory) {
  std::lock_guard<std::mutex> hold(ProgIds().lock);
  ProgIds().factories[progId] = std::move(factory);
}

void UnregisterProgId(const std::string& progId) {
  std::lock_guard<std::mutex> hold(ProgIds().lock);
  ProgIds().factories.erase(progId);
}

HResult CreateObject(std::string_view progId, ComPtr<IDispatch>& object) {
  Factory factory;
  {
    std::lock_guard<std::mutex> hold(ProgIds().lock);
    auto it = ProgIds().factories.find(progId);
    if (it == ProgIds().factories.end()) return REGDB_E_CLASSNOTREG;
    factory = it->second;
  }
  object = factory ? factory() : ComPtr<IDispatch>();
  return object ? S_OK : E_FAIL;
}

Variant DateVariant(double oleDate) {
  Variant v;
  v.vt = rt::VT_DATE;
  v.dblVal = oleDate;
  return v;
}

Variant UnknownVariant(rt::IUnknown* unknown) {
  Variant v;
  v.vt = rt::VT_UNKNOWN;
  v.unk = unknown;
  return v;
}

Variant DispatchVariant(IDispatch* dispatch) {
  Variant v;
  v.vt = rt::VT_DISPATCH;
  v.disp = dispatch;
  return v;
}

}  // namespace com
