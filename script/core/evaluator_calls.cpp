// Calls and indexes, the call of script and foreign functions, and function values (closures,
// class instances).
#include <algorithm>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/evaluator_shared.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

namespace {

// The key of an index: the single argument's text, or the last one's when there are several.
std::string IndexKey(const TJValueList& args) {
  int32_t n = args.Count();
  return AsString(&args[n < 2 ? 0 : n - 1]);
}

}  // namespace

// The engine's String object goes to one text value at a time (likewise the Number and RegExp
// objects); while it is out, calls get one of their own. A fresh wrapper is made when no object of
// the kind can be had.
TJEngine::HostLoan::HostLoan(TJEngine& engine, const TJValue& value) : slot_(engine.hostSlot(value.ValueType())) {
  if (engine.PrimitiveHost(value)) {
    host_ = std::move(*slot_);
    host_->AdoptValue(value);
  } else {
    host_ = engine.ToObject(value);
  }
}

TJEngine::HostLoan::~HostLoan() {
  if (!slot_ || !host_ || host_->IsDisposed() || host_->RefCount() != 1) return;  // kept by the call: the keeper's now
  if (host_->AdoptValue(TJValue()) && !*slot_) *slot_ = std::move(host_);
}

void TJEngine::EvalCall(const TJExpr* e, TJValue& out, bool thrownOk) {
  TJValue callee;
  if (e->Left->Code == ecIdentifier)
    EvalIdentifier(e->Left, callee);
  else
    Eval(e->Left, callee);
  // A script function straight to its call (`callee` keeps it alive meanwhile).
  TJFunctionImpl* script = nullptr;
  if (IJFunction* f = callee.vFunction()) {
    if (TJFunctionImpl* impl = f->Impl(); impl && impl->Data().FuncType == ftScript) {
      if (CallInPlace(impl, e, out, nullptr, thrownOk)) return;
      script = impl;
    }
  }
  ArgList args(this);
  if (EvalItems(e, *args, thrownOk)) return;
  if (script) {
    CallScript(script, args.get(), out, current_->GetWithObject(), thrownOk, true);
    return;
  }
  CallOrIndex(callee, *args, out);
}

void TJEngine::CallOrIndex(const TJValue& callee, TJValueList& args, TJValue& out) {
  switch (callee.ValueType()) {
    case vtFunction:
      CallFunction(callee, &args, out, current_->GetWithObject());
      return;
    case vtObject:
      IndexObject(callee.vObject(), args, out);
      return;
    case vtString: {
      HostLoan text(*this, callee);
      if (text.get()) {
        IndexObject(text.get(), args, out);
        return;
      }
      break;
    }
    default:
      break;
  }
  ThrowError(jeNotCallable);
}

// An automation object gets its one index typed too (a number reaches the server as a number).
static TJValueList* IndexParam(TJObject* object, TJValueList& args) {
  return args.Count() >= 2 || (args.Count() == 1 && IsKnownClass(object, TJKnownClass::ActiveX)) ? &args : nullptr;
}

void TJEngine::IndexObject(TJObject* object, TJValueList& args, TJValue& out) {
  TJKeepAlive keep(object);
  if (args.Count() == 1 && object->ReadItem(args[0], out)) return;
  object->GetMember(IndexKey(args), true, IndexParam(object, args), out);
}

void TJEngine::IndexStore(const TJValue& target, TJValueList& args, const TJValue& value) {
  if (TJObject* object = target.vObject()) {
    TJKeepAlive keep(object);
    if (args.Count() == 1 && object->WriteItem(args[0], value)) return;
    object->PutMember(IndexKey(args), value, true, IndexParam(object, args));
    return;
  }
  if (IsFunction(&target)) {
    args.Add(value);
    TJValue ignored;
    CallFunction(target, &args, ignored, nullptr, 2);
    return;
  }
  ThrowError(jeNotCallable);
}

void TJEngine::EvalMethodCall(const TJExpr* e, TJValue& out, bool thrownOk) {
  TJValue object;
  Eval(e->Left, object);
  TJRef<TJObject> self;
  TJValue member;
  TJNativeMethod native = nullptr;
  if (!e->Site) e->Site = std::make_unique<TJMethodSite>();
  switch (LookupDirect(object, e->Right->Symbol, member, native, e->Site.get())) {
    case TJObject::TJMethodLookup::Native: {
      ArgList args(this);
      if (EvalItems(e, *args, thrownOk)) return;
      CallDirect(object, e->Right->Symbol, native, args.get(), out);
      return;
    }
    case TJObject::TJMethodLookup::Member:
      break;
    default:
      GetMember(object, e->Right->Symbol, member, false, &self);
  }
  if (IJFunction* f = member.vFunction()) {
    // The object itself as this (or the wrapper the member came from); a text or number takes the
    // general way, which makes its wrapper after the arguments.
    TJObject* target = self ? self.get() : object.ValueType() == vtObject ? object.vObject() : nullptr;
    if (TJFunctionImpl* impl = f->Impl(); target && impl && impl->Data().FuncType == ftScript &&
                                          CallInPlace(impl, e, out, target, thrownOk))
      return;
  }
  ArgList args(this);
  if (EvalItems(e, *args, thrownOk)) return;
  if (IJFunction* f = member.vFunction(); f && f->GetFuncType() == ftScript) {
    CallScript(f, args.get(), out, self ? self.get() : ToObject(object), thrownOk, true);
  } else if (IsFunction(&member)) {
    CallFunction(member, args.get(), out, self ? self.get() : ToObject(object));
  } else if (TJObject* indexed = member.vObject()) {
    IndexObject(indexed, *args, out);
  } else {
    ThrowError(jeNotCallable);
  }
}

TJRef<TJObject>* TJEngine::hostSlot(TJValueType type) {
  switch (type) {
    case vtString: return &textHost_;
    case vtInteger: case vtDouble: return &numberHost_;
    case vtRegExp: return &regexpHost_;
    default: return nullptr;
  }
}

TJObject* TJEngine::PrimitiveHost(const TJValue& value) {
  TJRef<TJObject>* slot = hostSlot(value.ValueType());
  if (!slot) return nullptr;
  if (*slot && !(*slot)->IsDisposed()) return slot->get();
  slot->reset();
  if (slot == &regexpHost_) {
    // Made from the class itself: a script's own function named RegExp is no part of the methods
    // that texts call with a regular-expression value.
    if (const TJClass* cls = Factory().GetClass("RegExp")) *slot = cls->create(this, nullptr, true);
    return slot->get();
  }
  const char* cls = slot == &textHost_ ? "String" : "Number";
  if (Factory().HasClass(cls)) *slot = MakeObject(cls, nullptr);
  return slot->get();
}

bool TJEngine::regExpNameTaken() {
  TJValue found;
  if (!current_ || !current_->FindName("RegExp", found)) return false;
  IJFunction* f = found.vFunction();
  return f && (f->GetFuncType() == ftScript || f->GetFuncType() == ftClass);
}

TJObject::TJMethodLookup TJEngine::LookupDirect(const TJValue& target, std::string_view name, TJValue& member,
                                                TJNativeMethod& native, TJMethodSite* site) {
  using Lookup = TJObject::TJMethodLookup;
  TJObject* object = target.vObject();
  bool plain = object && object->IsPlainObject();  // publishes nothing
  bool primitive = !plain && hostSlot(target.ValueType()) != nullptr;
  if (primitive) {
    // A method of a regular-expression value is that of the object MakeObject would make for it,
    // which a script's own function of the class's name makes: the general way then.
    if (target.ValueType() == vtRegExp && regExpNameTaken()) return Lookup::None;
    object = PrimitiveHost(target);
  } else if (!plain && (!object || !IsExactKnownClass(object, TJKnownClass::Array))) {
    return Lookup::None;
  }
  if (!object || name == "prototype") return Lookup::None;
  if (!plain) {
    const rt::ClassInfo& cls = object->ClassType();
    if (!cls.properties().empty() && cls.findProperty(name)) return Lookup::None;
  }
  if (primitive) {
    native = object->FindNative(name, site);
    return native ? Lookup::Native : Lookup::None;
  }
  Lookup found = object->LookupMethod(name, member, native, site);
  if (found == Lookup::None) ThrowError(jeNameMissing, {name});  // what GetMember raises
  return found;
}

void TJEngine::CallDirect(const TJValue& target, std::string_view name, TJNativeMethod method, TJValueList* args,
                          TJValue& out) {
  out.Clear();
  if (hostSlot(target.ValueType())) {
    HostLoan host(*this, target);
    TJObject* self = host.get();
    if (!self) ThrowError(jeNotCallable);
    RunNative([self] { return self->Name(); }, name, [&] { (self->*method)(args, out); });
    return;
  }
  TJObject* self = target.vObject();
  if (!self) ThrowError(jeFunctionObjectGone, {name});  // disposed meanwhile
  TJKeepAlive keep(self);
  RunNative([self] { return self->Name(); }, name, [&] { (self->*method)(args, out); });
}

void TJEngine::CallFunction(const TJValue& function, TJValueList* args, TJValue& result, TJObject* self,
                            int invokeKind) {
  IJFunction* f = function.vFunction();
  if (!f) ThrowError(jeNotCallable);
  TJFunctionRef keep(f);
  switch (f->GetFuncType()) {
    case ftScript:
      if (TJFunctionImpl* impl = f->Impl(); impl && CallWithValues(
                                                 impl, args ? args->Items().size() : 0,
                                                 [args](size_t i) -> const TJValue& { return args->Items()[i]; },
                                                 result, self))
        return;
      CallScript(f, args, result, self);
      return;
    case ftNative:
      CallNative(f, args, result);
      return;
    case ftActiveX:
    case ftDynaCall:
      CallForeign(f, args, result, invokeKind);
      return;
    default:
      ThrowError(jeFunctionTypeUnsupported);
  }
}

void TJEngine::CallFunction(const TJValue& function, const TJValue* const* args, size_t count, TJValue& result,
                            TJObject* self) {
  IJFunction* f = function.vFunction();
  if (TJFunctionImpl* impl = f ? f->Impl() : nullptr; impl && impl->Data().FuncType == ftScript) {
    TJFunctionRef keep(f);
    auto arg = [args](size_t i) -> const TJValue& { return *args[i]; };
    if (CallWithValues(impl, count, arg, result, self)) return;
  }
  TJValueList list;
  for (size_t i = 0; i < count; ++i) list.Add(*args[i]);
  CallFunction(function, &list, result, self);
}

void TJEngine::CallForeign(IJFunction* f, TJValueList* args, TJValue& result, int invokeKind) {
  TJEngineExtensions& ext = EngineExtensions();
  if (f->GetFuncType() == ftActiveX && ext.CallActiveX) {
    ext.CallActiveX(*this, f, args, result, invokeKind);
  } else if (f->GetFuncType() == ftDynaCall && ext.CallDynaCall) {
    ext.CallDynaCall(*this, f, args, result);
  } else {
    ThrowError(jeFunctionTypeUnsupported);
  }
}

// Inlined into both ways of a call: a call level costs less stack and time.
[[gnu::always_inline]] inline void TJEngine::RunBody(const TJStatement* code, TJValue& result, bool thrownOk) {
  // A body block opens no scope of its own: its statements run directly (as a step of its own
  // while a step hook counts statements).
  const TJStatement* body = code->Second;
  if (!OnStep && body && body->Kind == skBlock && !body->Next) body = body->First;
  Flow flow = Exec(body, 0, nullptr);
  if (flow == Flow::Return) {
    result = std::move(returnValue_);
  } else {
    result.Clear();
    if (flow == Flow::Throw && !thrownOk) RaiseThrown();
  }
}

// A fresh scope for one call, back to the pool when the call ends (however it ends).
class TJEngine::CallFrame {
 public:
  explicit CallFrame(TJScopes& scopes) : scopes_(scopes), scope_(scopes.Acquire()) {}
  ~CallFrame() { scopes_.Release(scope_); }
  CallFrame(const CallFrame&) = delete;
  CallFrame& operator=(const CallFrame&) = delete;
  TJActivation* get() const { return scope_; }

 private:
  TJScopes& scopes_;
  TJActivation* scope_;
};

void TJEngine::CallScript(IJFunction* f, TJValueList* args, TJValue& result, TJObject* self, bool thrownOk,
                          bool ownArgs) {
  CheckStack();
  TJObject* bound;
  bool distinct = false;
  TJLocalSymbolTable* table;
  const TJStatement* code;
  TJLocalSymbolTable* captured;
  TJCallType mode;
  const TJStatement* parameters;
  if (TJFunctionImpl* impl = f->Impl()) {  // the usual case: the record read in place
    const TJFunctionData& data = impl->Data();
    bound = impl->GetThisObject();
    table = data.ParentTable.get();
    code = data.Code;
    captured = impl->GetLocalTable();
    mode = data.CallType;
    parameters = data.Parameter;
    distinct = data.DistinctParameters;
  } else {
    bound = f->GetThisObject();
    table = f->GetParentTable();
    code = f->GetCode();
    captured = f->GetLocalTable();
    mode = f->GetCallType();
    parameters = f->GetParameter();
  }
  if (bound) self = bound;
  auto* parent = table && table->IsFunctionScope() ? static_cast<TJFunctionScope*>(table) : nullptr;
  if (!parent || !code) ThrowError(jeFunctionGone, {f->GetName()});
  CallFrame frame(scopes_);
  TJActivation* scope = frame.get();
  scope->Open(parent, code, self, captured);
  ScopeGuard guard(this, scope, nullptr, scope);

  // Call mode takes this from the first argument; apply mode too, and the arguments from an array.
  TJValueList* effective = args;
  std::unique_ptr<TJValueList> shifted;
  TJObject* applied = nullptr;
  int32_t argc = args ? args->Count() : 0;
  if (mode != ctPlain && argc >= 1) {
    scope->SetSelf(ToObject((*args)[0]));
    shifted = std::make_unique<TJValueList>();
    effective = shifted.get();
    if (mode == ctCall) {
      for (int32_t i = 1; i < argc; ++i) shifted->Add((*args)[i]);
    } else if (argc >= 2) {
      applied = (*args)[1].vObject();
      if (!applied || !IsKnownClass(applied, TJKnownClass::Array))
        ThrowError(jeApplyArguments, {f->GetName()});
      for (int32_t i = 0, n = applied->GetCount(); i < n; ++i) {
        TJValue item;
        applied->GetItem(i, item);
        shifted->Add(std::move(item));
      }
    }
  }
  // The parameters first, in order (their slots are known to the body), then the arguments
  // array, which exists when the body names it (or when new objects are watched). Without that
  // array, a list no one else sees gives its values up to the parameters.
  bool needsArguments = (code->Flags & sfUsesArguments) || OnNewObject;
  bool take = !needsArguments && (ownArgs || shifted);
  scope->BindParameters(parameters, effective, effective ? effective->Count() : 0, distinct, take);
  if (needsArguments) {
    TJValue array;
    TJValueList none;
    array.SetObject(applied ? applied : NewArray(effective ? *effective : none));
    if (TJObject* a = array.vObject()) {
      IJFunction* callee = f;
      TJValue calleeValue;
      calleeValue.SetFunction(callee);
      a->PutMember("callee", calleeValue, false, nullptr);
    }
    scope->Declare("arguments", array);
  }
  RunBody(code, result, thrownOk);
}

bool TJEngine::BindsByPlace(TJFunctionImpl* f) const {
  const TJFunctionData& data = f->Data();
  bool plain = data.CallType == ctPlain && data.DistinctParameters && data.Code && !(data.Code->Flags & sfUsesArguments);
  TJLocalSymbolTable* captured = f->GetLocalTable();
  return plain && !OnNewObject && (!captured || !captured->Variables().Count());
}

template <class Arg>
bool TJEngine::CallWithValues(TJFunctionImpl* f, size_t count, Arg arg, TJValue& result, TJObject* self) {
  // Without its table the function's tree may be gone too: nothing of it is read here, and the
  // general way reports it.
  const TJFunctionData& data = f->Data();
  TJLocalSymbolTable* table = data.ParentTable.get();
  auto* parent = table && table->IsFunctionScope() ? static_cast<TJFunctionScope*>(table) : nullptr;
  if (!parent || !BindsByPlace(f)) return false;
  CheckStack();
  if (TJObject* bound = f->GetThisObject()) self = bound;
  CallFrame frame(scopes_);
  TJActivation* scope = frame.get();
  size_t n = std::min(scope->PrepareParameters(data.Parameter), count);
  for (size_t i = 0; i < n; ++i) scope->ParameterSlot(i) = arg(i);
  scope->Open(parent, data.Code, self, nullptr);
  ScopeGuard guard(this, scope, nullptr, scope);
  RunBody(data.Code, result, false);
  return true;
}

bool TJEngine::CallInPlace(TJFunctionImpl* f, const TJExpr* call, TJValue& result, TJObject* self, bool thrownOk) {
  const TJFunctionData& data = f->Data();
  if (data.CallType != ctPlain || !data.DistinctParameters || !data.Code || (data.Code->Flags & sfUsesArguments) ||
      OnNewObject)
    return false;
  if (TJLocalSymbolTable* captured = f->GetLocalTable(); captured && captured->Variables().Count()) return false;
  CheckStack();
  CallFrame frame(scopes_);
  TJActivation* scope = frame.get();
  // The arguments last to first, each into its parameter (past the parameters: evaluated, then
  // dropped). The scope is not open yet: nothing sees these variables before the body runs.
  size_t n = scope->PrepareParameters(data.Parameter);
  TJValue extra;
  for (size_t i = call->Items.size(); i-- > 0;) {
    if (EvalOrThrown(call->Items[i], i < n ? scope->ParameterSlot(i) : extra)) {
      if (!thrownOk) RaiseThrown();
      return true;
    }
  }
  if (!self) self = current_->GetWithObject();  // a plain call: the with-object of the caller's scope
  if (TJObject* bound = f->GetThisObject()) self = bound;
  TJLocalSymbolTable* table = data.ParentTable.get();
  auto* parent = table && table->IsFunctionScope() ? static_cast<TJFunctionScope*>(table) : nullptr;
  if (!parent) ThrowError(jeFunctionGone, {data.Name});
  scope->Open(parent, data.Code, self, nullptr);
  ScopeGuard guard(this, scope, nullptr, scope);
  RunBody(data.Code, result, thrownOk);
  return true;
}

bool TJEngine::TestRegExp(TJObject* pattern, const TJValue& subject) {
  TJKeepAlive keep(pattern);
  TJValue test;
  pattern->GetMember("test", false, nullptr, test);
  TJValueList args{TJValue::String(AsString(&subject))};
  TJValue answer;
  CallFunction(test, &args, answer, pattern);
  return AsBool(&answer);
}

// ---------------------------------------------------------------------------------------------
// Function values

void TJEngine::MakeFunction(const TJStatement* record, TJFuncType type, TJValue& out) {
  IJFunction* f = NewFunction();
  out.SetFunction(f);
  f->SetFuncType(type);
  f->SetCode(record);
  if (type == ftScript) f->SetParameter(record->First);
  f->SetName(record->Expr ? record->Expr->Symbol : std::string());
  f->SetParentTable(scopes_.FunctionTable(record->Third, record));
  if (record->Flags & sfCodeString) static_cast<TJFunctionImpl*>(f)->SetTree(codeCache_.TreeOf(record));
}

// A returned script function takes a snapshot of the variables of the scope it leaves.
void TJEngine::CloseOver(TJValue& value) {
  if (!IsScriptFunction(&value)) return;
  IJFunction* copy = NewFunction();
  TJValue copyValue;
  copyValue.SetFunction(copy);
  copy->Assign(value.vFunction());
  if (!copy->GetLocalTable()) copy->SetLocalTable(new TJLocalSymbolTable(nullptr));
  if (activation_ && current_ == activation_)
    activation_->CopyInto(copy->GetLocalTable());
  else
    copy->GetLocalTable()->CopyFrom(current_);
  value = std::move(copyValue);
}

TJObject* TJEngine::MakeClassInstance(std::string_view name, IJFunction* cls, TJValueList* args) {
  TJFunctionRef keepClass(cls);
  const TJStatement* record = cls->GetCode();
  const TJExpr* super = record->Expr->Left;
  // The superclass's instance first, made with the same arguments.
  TJObject* instance = super ? MakeObject(super->Symbol, args) : TJObject::Create<TJObject>(this, args, true);
  TJKeepAlive keep(instance);
  AddClassMembers(instance, record);
  TJValue constructor;
  if (instance->FindMember(name, constructor) && IsScriptFunction(&constructor)) {
    TJValue ignored;
    CallFunction(constructor, args, ignored, instance);
  }
  return instance;
}

void TJEngine::AddClassMembers(TJObject* instance, const TJStatement* record) {
  instance->RegistName(record->Expr->Symbol);
  auto declare = [&](const TJStatement* d) {
    TJValue value;
    if (d->Expr->Left)
      Eval(d->Expr->Left, value);
    else
      value.SetNull();  // a field without a value holds null
    instance->PutMember(d->Expr->Symbol, value, false, nullptr);
  };
  for (const TJStatement* m = record->First; m; m = m->Next) {
    switch (m->Kind) {
      case skFunction:
        if (m->Expr) {
          TJValue method;
          MakeFunction(m, ftScript, method);
          method.vFunction()->SetThisObject(instance);
          instance->RegistProperty(m->Expr->Symbol, method);
        }
        break;
      case skDeclarator:
        declare(m);
        break;
      case skVar:
        for (const TJStatement* d = m->First; d; d = d->Next) declare(d);
        break;
      default:
        break;  // static and global members belong to no instance
    }
  }
}

}  // namespace engine
