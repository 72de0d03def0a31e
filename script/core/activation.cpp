#include "script/core/activation.h"

namespace engine {

// ---------------------------------------------------------------------------------------------
// TJActivation

void TJActivation::Open(TJFunctionScope* owner, const TJStatement* code, TJObject* self,
                        TJLocalSymbolTable* captured) {
  owner_ = owner;
  code_ = code;
  SetParent(owner);
  SetSelf(self);
  owner->Push(this);
  parametersFirst_ = !captured || captured->Variables().Count() == 0;
  if (captured) {
    captured->Variables().ForEach([this](const std::string& name, const TJValue& value) {
      if (!Slot(name)) variables_.push_back(Variable{name, value});
    });
  }
}

void TJActivation::SetSelf(TJObject* self) {
  SetWithObject(self);
  selfIsAutomation_ = self && IsKnownClass(self, TJKnownClass::ActiveX);
}

void TJActivation::Close() {
  if (owner_) owner_->Pop();
  owner_ = nullptr;
  code_ = nullptr;
  Clear();
  SetParent(nullptr);
}

TJValue* TJActivation::Slot(std::string_view name) {
  for (Variable& v : variables_)
    if (v.name == name) return &v.value;
  return nullptr;
}

void TJActivation::Declare(std::string_view name, const TJValue& value) {
  if (TJValue* slot = Slot(name)) {
    *slot = value;
    return;
  }
  variables_.push_back(Variable{std::string(name), value});
}

void TJActivation::CopyInto(TJLocalSymbolTable* table) const {
  for (const Variable& v : variables_)
    if (!table->Variables().HasKey(v.name)) table->SetLocal(v.name, v.value);
  const_cast<TJActivation*>(this)->Variables().ForEach([table](const std::string& name, const TJValue& value) {
    if (!table->Variables().HasKey(name)) table->SetLocal(name, value);
  });
}

bool TJActivation::FindHere(std::string_view name, TJValue& value) {
  if (TJValue* slot = Slot(name)) {
    value = *slot;
    return true;
  }
  if (Variables().Count() || selfIsAutomation_) return findHere(name, value);
  // The usual case, quickly: no variables beyond the slots, and a with-object asked by key.
  TJObject* self = OwnWithObject();
  if (!self || !self->HasKey(name)) return false;
  self->GetMember(name, false, nullptr, value);
  return true;
}

bool TJActivation::SetHere(std::string_view name, const TJValue& value) {
  if (TJValue* slot = Slot(name)) {
    TJValue old = std::move(*slot);  // the old value may be what holds the new one
    *slot = value;
    return true;
  }
  return setHere(name, value);
}

bool TJActivation::Find(TJLocalSymbolTable*, std::string_view name, TJValue& value) {
  if (FindHere(name, value)) return true;
  if (TJLocalSymbolTable* parent = Parent()) return parent->Find(this, name, value);
  value.Clear();
  return false;
}

bool TJActivation::SetExisting(TJLocalSymbolTable*, std::string_view name, const TJValue& value) {
  if (SetHere(name, value)) return true;
  if (TJLocalSymbolTable* parent = Parent()) return parent->SetExisting(this, name, value);
  return false;
}

void TJActivation::Clear() {
  // Values are released one by one, newest first, the way they came.
  while (!variables_.empty()) variables_.pop_back();
  TJLocalSymbolTable::Clear();
}

// ---------------------------------------------------------------------------------------------
// TJFunctionScope

TJActivation* TJFunctionScope::NewestFor(TJLocalSymbolTable* caller) const {
  if (active_.empty()) return nullptr;
  TJActivation* newest = active_.back();
  if (caller == newest) return nullptr;
  if (auto* call = dynamic_cast<TJActivation*>(caller); call && call->Owner() == this) return nullptr;
  return newest;
}

bool TJFunctionScope::Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value) {
  if (TJActivation* newest = NewestFor(caller); newest && newest->FindHere(name, value)) return true;
  // Most function tables hold no variables of their own: straight on to the enclosing scope.
  if (Variables().Count() == 0 && !OwnWithObject()) {
    if (TJLocalSymbolTable* parent = Parent()) return parent->Find(this, name, value);
    value.Clear();
    return false;
  }
  return TJLocalSymbolTable::Find(this, name, value);
}

bool TJFunctionScope::SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value) {
  if (TJActivation* newest = NewestFor(caller); newest && newest->SetHere(name, value)) return true;
  return TJLocalSymbolTable::SetExisting(this, name, value);
}

void TJFunctionScope::Clear() {
  active_.clear();
  TJLocalSymbolTable::Clear();
}

// ---------------------------------------------------------------------------------------------
// TJScopes

namespace {
constexpr size_t kPoolLimit = 256;
}

TJScopes::~TJScopes() { Clear(); }

TJActivation* TJScopes::Acquire() {
  if (pool_.empty()) return new TJActivation;
  TJActivation* a = pool_.back().release();
  pool_.pop_back();
  return a;
}

void TJScopes::Release(TJActivation* a) {
  a->Close();
  if (pool_.size() < kPoolLimit)
    pool_.emplace_back(a);
  else
    delete a;
}

TJLocalSymbolTable* TJScopes::FindTable(const TJStatement* statement) const {
  auto it = tables_.find(statement);
  if (it != tables_.end()) return it->second.get();
  return root_.FindFunctionTable(statement);
}

TJLocalSymbolTable* TJScopes::FunctionTable(const TJStatement* parentStatement, const TJStatement* statement) {
  auto it = tables_.find(statement);
  if (it != tables_.end()) return it->second.get();
  TJLocalSymbolTable* parent = parentStatement ? FindTable(parentStatement) : nullptr;
  auto table = std::make_unique<TJFunctionScope>(parent);
  TJLocalSymbolTable* result = table.get();
  tables_.emplace(statement, std::move(table));
  return result;
}

void TJScopes::Clear() {
  auto tables = std::move(tables_);
  tables_.clear();
  tables.clear();
}

}  // namespace engine
