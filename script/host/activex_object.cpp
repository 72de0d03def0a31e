#include "script/host/activex_object.h"

#include "platform/rt/persistent.h"
#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "script/core/function.h"
#include "script/core/value_list.h"

namespace host {

using namespace engine;

namespace {

constexpr char kActiveXError[] = "EActiveXError";
constexpr char kEnumeratorError[] = "EEnumeratorError";
constexpr char kEnumeratorCreateError[] = "Enumerator.Create Error";

// The script values as invoke arguments: last first.
void AddArgumentsReversed(const TJValueList& values, com::DispParams& params) {
  for (int32_t i = values.Count() - 1; i >= 0; --i) {
    rt::Variant v;
    ValueToVariant(values[i], v);
    params.args.push_back(std::move(v));
  }
}

// The collection's enumerator: its DISPID_NEWENUM property read without arguments.
rt::ComPtr<com::IEnumVARIANT> NewEnum(com::IDispatch* dispatch) {
  if (!dispatch) return {};
  com::DispParams none;
  rt::Variant result;
  if (com::Failed(dispatch->Invoke(com::DISPID_NEWENUM, com::DISPATCH_PROPERTYGET, none, &result))) return {};
  rt::IUnknown* unknown = result.vt == rt::VT_UNKNOWN ? result.unk.get()
                          : result.vt == rt::VT_DISPATCH ? static_cast<rt::IUnknown*>(result.disp.get())
                                                          : nullptr;
  return unknown ? com::AsEnumerator(unknown) : rt::ComPtr<com::IEnumVARIANT>();
}

}  // namespace

com::IDispatch* DispatchOf(const TJValue& value) {
  if (value.ValueType() == vtDispatch) return com::AsDispatch(value.vDispatch());
  if (auto* object = dynamic_cast<TJActiveXObject*>(value.vObject())) return object->Disp();
  return nullptr;
}

bool IsEnumerableDispatch(const TJValue& value) { return bool(NewEnum(DispatchOf(value))); }

// ---------------------------------------------------------------------------------------------
// ActiveXObject

const rt::ClassInfo& TJActiveXObject::StaticClassInfo() {
  using T = TJActiveXObject;
  static const rt::ClassInfo& info = [] () -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<T>("TJActiveXObject", &TJObject::StaticClassInfo())
                                     .property("disp", &T::DispProperty, &T::SetDispProperty)
                                     .build();
    RegisterKnownClass(TJKnownClass::ActiveX, built);
    return built;
  }();
  return info;
}

TJActiveXObject::TJActiveXObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("ActiveXObject");
}

TJActiveXObject::~TJActiveXObject() { release(); }

void TJActiveXObject::AfterCreate(TJValueList* param) {
  if (!param || param->Count() == 0) return;
  const TJValue& first = (*param)[0];
  if (com::IDispatch* given = DispatchOf(first)) {
    SetDisp(given);
  } else {
    std::string progId = AsString(&first);
    rt::ComPtr<com::IDispatch> created;
    if (com::Failed(com::CreateObject(progId, created))) ThrowError(kActiveXError, "create error " + progId);
    SetDisp(created.get());
  }
  if (param->Count() >= 2) SetEventPrefix(AsString(&(*param)[1]));
}

void TJActiveXObject::SetDisp(rt::IDispatch* dispatch) {
  com::IDispatch* d = com::AsDispatch(dispatch);
  if (d == disp_.get()) return;
  dispIds_.clear();  // identifiers belong to the object that answered them
  disp_ = d;
}

void TJActiveXObject::SetDispProperty(rt::ComPtr<rt::IUnknown> value) {
  SetDisp(dynamic_cast<rt::IDispatch*>(value.get()));
}

void TJActiveXObject::SetParent(com::IDispatch* parent, com::DispId id) {
  parent_ = parent;
  parentId_ = id;
}

void TJActiveXObject::release() {
  DisconnectEvents();
  dispIds_.clear();
  disp_ = nullptr;
  parent_ = nullptr;
  parentId_ = -1;
}

void TJActiveXObject::Clear() {
  TJObject::Clear();
  release();
}

void TJActiveXObject::Dispose() {
  release();
  TJObject::Dispose();
}

void TJActiveXObject::ValueOf(TJValue& value) {
  if (disp_) value.SetDispatch(disp_.get()); else value.SetNull();
}

void TJActiveXObject::GetPropertyList(std::vector<std::string>& names) {
  names.clear();
  rt::ComPtr<com::ITypeInfo> info;
  if (!disp_ || com::Failed(disp_->GetTypeInfo(0, info)) || !info) return;
  names = com::PropertyNames(*info.get());
}

com::DispId TJActiveXObject::LookupDispId(std::string_view name) {
  std::string key(name);
  auto it = dispIds_.find(key);
  if (it != dispIds_.end()) return it->second;
  com::DispId id = com::DISPID_UNKNOWN;
  if (!disp_ || com::Failed(disp_->GetIDsOfNames(name, id))) ThrowError(kActiveXError, key);
  dispIds_.emplace(std::move(key), id);
  return id;
}

void TJActiveXObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  TJKeepAlive keep(this);
  TJValue found;
  if (!bracketAccess && (FindMember(name, found) || HasPublishedName(name))) {
    TJObject::GetMember(name, bracketAccess, param, value);
    return;
  }
  if (bracketAccess) {
    getIndexed(name, param, value);
    return;
  }
  com::DispId id = LookupDispId(name);
  rt::ComPtr<com::IDispatch> self = disp_;
  com::DispParams none;
  rt::Variant result;
  if (com::Succeeded(self->Invoke(id, com::DISPATCH_PROPERTYGET, none, &result))) {
    VariantToValue(result, Engine(), value);
    if (auto* child = dynamic_cast<TJActiveXObject*>(value.vObject())) child->SetParent(self.get(), id);
    return;
  }
  // Not a property: a method, kept as a member so the next read finds it at once.
  IJFunction* method = NewFunction();
  value.SetFunction(method);
  method->SetFuncType(ftActiveX);
  method->SetName(std::string(name));
  method->GetActiveXMethod().Dispatch = self.get();
  method->GetActiveXMethod().DispId = id;
  TJObject::PutMember(name, value, false, nullptr);
}

void TJActiveXObject::getIndexed(std::string_view name, TJValueList* param, TJValue& value) {
  com::DispParams params;
  if (param && param->Count() > 0) AddArgumentsReversed(*param, params);
  else params.args.push_back(rt::Variant::Str(std::string(name)));
  rt::ComPtr<com::IDispatch> target = parent_ ? parent_ : disp_;
  com::DispId id = parent_ ? parentId_ : com::DISPID_VALUE;
  rt::Variant result;
  if (!target || com::Failed(target->Invoke(id, com::DISPATCH_METHOD | com::DISPATCH_PROPERTYGET, params, &result)))
    ThrowError(kActiveXError, std::string(name));
  VariantToValue(result, Engine(), value);
}

void TJActiveXObject::putIndexed(std::string_view name, const TJValue& value, TJValueList* param) {
  // The index arguments, then the value as the named property-put argument.
  com::DispParams params;
  rt::Variant v;
  ValueToVariant(value, v);
  params.args.push_back(std::move(v));
  if (param && param->Count() > 0) AddArgumentsReversed(*param, params);
  else params.args.push_back(rt::Variant::Str(std::string(name)));
  params.named.push_back(com::DISPID_PROPERTYPUT);
  rt::ComPtr<com::IDispatch> target = parent_ ? parent_ : disp_;
  com::DispId id = parent_ ? parentId_ : com::DISPID_VALUE;
  if (!target || com::Failed(target->Invoke(id, com::DISPATCH_PROPERTYPUT, params, nullptr)))
    ThrowError(kActiveXError, std::string(name));
}

void TJActiveXObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  TJKeepAlive keep(this);
  if (!bracketAccess && HasPublishedName(name)) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  if (bracketAccess) {
    putIndexed(name, value, param);
    return;
  }
  com::DispId id = LookupDispId(name);
  // The value goes over as one argument, whatever it holds (an Array or a string list included).
  com::DispParams params;
  rt::Variant v;
  ValueToVariant(value, v);
  params.args.push_back(std::move(v));
  params.named.push_back(com::DISPID_PROPERTYPUT);
  rt::ComPtr<com::IDispatch> self = disp_;
  if (com::Failed(self->Invoke(id, com::DISPATCH_PROPERTYPUT, params, nullptr))) ThrowError(kActiveXError, std::string(name));
}

// --- events ---

void TJActiveXObject::SetEventPrefix(const std::string& prefix) {
  eventPrefix_ = prefix;
  if (!prefix.empty()) ConnectEvents();
}

void TJActiveXObject::ConnectEvents() {
  DisconnectEvents();
  if (!disp_) return;
  // Any failure on the way leaves the object without events.
  rt::ComPtr<rt::IUnknown> unknown = disp_->QueryInterface(com::Iid::ConnectionPointContainer);
  auto* container = dynamic_cast<com::IConnectionPointContainer*>(unknown.get());
  if (!container) return;
  std::vector<rt::ComPtr<com::IConnectionPoint>> points;
  if (com::Failed(container->EnumConnectionPoints(points)) || points.empty() || !points.front()) return;
  rt::ComPtr<com::IConnectionPoint> point = points.front();
  std::string guid;
  if (com::Failed(point->GetConnectionInterface(guid))) return;
  rt::ComPtr<com::ITypeInfo> objectInfo;
  rt::ComPtr<com::ITypeLib> lib;
  rt::ComPtr<com::ITypeInfo> eventInfo;
  if (com::Failed(disp_->GetTypeInfo(0, objectInfo)) || !objectInfo) return;
  if (com::Failed(objectInfo->GetContainingTypeLib(lib)) || !lib) return;
  if (com::Failed(lib->GetTypeInfoOfGuid(guid, eventInfo)) || !eventInfo) return;
  rt::ComPtr<TJEventSink> sink(new TJEventSink(this, eventInfo));
  uint32_t cookie = 0;
  if (com::Failed(point->Advise(sink.get(), cookie))) {
    sink->Detach();
    return;
  }
  connections_.push_back({point, cookie, sink});
}

void TJActiveXObject::DisconnectEvents() {
  std::vector<Connection> connections = std::move(connections_);
  connections_.clear();
  for (Connection& c : connections) {
    c.sink->Detach();
    c.point->Unadvise(c.cookie);
  }
}

com::HResult TJEventSink::Invoke(com::DispId id, uint16_t, com::DispParams& params, rt::Variant*) {
  if (!owner_) return com::S_FALSE;
  std::string name;
  if (!info_ || com::Failed(info_->GetDocumentation(id, name)) || name.empty()) return com::S_FALSE;
  TJActiveXObject* owner = owner_;
  TJKeepAlive keep(owner);
  TJValueList args;
  for (auto it = params.args.rbegin(); it != params.args.rend(); ++it) {
    TJValue v;
    VariantToValue(*it, owner->Engine(), v);
    args.Add(std::move(v));
  }
  TJValue ignored;
  owner->CallEvent(owner->EventPrefix(), name, &args, ignored);
  return com::S_OK;
}

// ---------------------------------------------------------------------------------------------
// Enumerator

const rt::ClassInfo& TJEnumeratorObject::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TJEnumeratorObject>("TJEnumeratorObject", &TJObject::StaticClassInfo()).build();
  return info;
}

TJEnumeratorObject::TJEnumeratorObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("Enumerator");
}

void TJEnumeratorObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("atEnd", &TJEnumeratorObject::DoAtEnd);
  RegistMethod("item", &TJEnumeratorObject::DoItem);
  RegistMethod("moveFirst", &TJEnumeratorObject::DoMoveFirst);
  RegistMethod("moveNext", &TJEnumeratorObject::DoMoveNext);
}

void TJEnumeratorObject::AfterCreate(TJValueList* param) {
  // The global instance the engine makes has no arguments either; only a script's `new` fails.
  if (!param) return;
  com::IDispatch* dispatch = param->Count() > 0 ? DispatchOf((*param)[0]) : nullptr;
  if (!dispatch) ThrowError(kEnumeratorError, kEnumeratorCreateError);
  enum_ = NewEnum(dispatch);
  if (!enum_) ThrowError(kEnumeratorError, kEnumeratorCreateError);
  Advance();
}

void TJEnumeratorObject::Dispose() {
  enum_ = nullptr;
  current_ = rt::Variant();
  atEnd_ = true;
  TJObject::Dispose();
}

void TJEnumeratorObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  if (name.empty()) {
    GetCurrent(value);
    return;
  }
  TJObject::GetMember(name, bracketAccess, param, value);
}

void TJEnumeratorObject::GetCurrent(TJValue& item) { VariantToValue(current_, Engine(), item); }

void TJEnumeratorObject::Advance() {
  current_ = rt::Variant();
  if (!enum_) {
    atEnd_ = true;
    return;
  }
  uint32_t fetched = 0;
  atEnd_ = enum_->Next(1, &current_, &fetched) != com::S_OK;
}

void TJEnumeratorObject::DoAtEnd(TJValueList*, TJValue& result) { result.SetBool(atEnd_); }

void TJEnumeratorObject::DoItem(TJValueList*, TJValue& result) { GetCurrent(result); }

void TJEnumeratorObject::DoMoveFirst(TJValueList*, TJValue& result) {
  if (enum_) enum_->Reset();
  Advance();
  result.SetObject(this);
}

void TJEnumeratorObject::DoMoveNext(TJValueList*, TJValue& result) {
  Advance();
  result.SetObject(this);
}

// ---------------------------------------------------------------------------------------------
// Interpreter hooks

void CallActiveXMethod(TJEngine& engine, IJFunction* function, TJValueList* args, TJValue& result, int invokeKind) {
  TJActiveXMethod& m = function->GetActiveXMethod();
  com::IDispatch* dispatch = com::AsDispatch(m.Dispatch.get());
  if (!dispatch) ThrowError(kActiveXError, function->GetName());
  rt::ComPtr<com::IDispatch> keep(dispatch);
  com::DispParams params;
  if (args) AddArgumentsReversed(*args, params);
  uint16_t flags = uint16_t(DispatchInvokeFlags(invokeKind));
  if (flags & com::DISPATCH_PROPERTYPUT) {
    if (params.args.empty()) ThrowError(kActiveXError, function->GetName());
    params.named.push_back(com::DISPID_PROPERTYPUT);
  }
  rt::Variant out;
  if (com::Failed(dispatch->Invoke(m.DispId, flags, params, &out))) ThrowError(kActiveXError, function->GetName());
  VariantToValue(out, &engine, result);
}

namespace {

class EnumeratorCursor : public IJCollectionCursor {
 public:
  explicit EnumeratorCursor(TJEnumeratorObject* e) : e_(e) {}
  bool AtEnd() override { return e_->AtEnd(); }
  void Current(TJValue& item) override { e_->GetCurrent(item); }
  void Advance() override { e_->Advance(); }

 private:
  TJRef<TJEnumeratorObject> e_;
};

}  // namespace

void InstallActiveXHooks() {
  TJEngineExtensions& ext = EngineExtensions();
  ext.CallActiveX = CallActiveXMethod;
  ext.EnumerateCollection = [](TJEngine& engine, const TJValue& value) -> std::unique_ptr<IJCollectionCursor> {
    if (!IsEnumerableDispatch(value)) return nullptr;
    TJValueList args{value};
    auto* e = TJObject::Create<TJEnumeratorObject>(&engine, &args, false);
    return std::make_unique<EnumeratorCursor>(e);
  };
}

}  // namespace host
