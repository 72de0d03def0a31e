#include "script/core/activation.h"

#include <algorithm>

#include "script/core/tree.h"
#include "script/core/value_list.h"

namespace engine {


// ---------------------------------------------------------------------------------------------
// TJActivation

void TJActivation::AddCaptured(TJLocalSymbolTable* captured) {
  captured->Variables().ForEach([this](const std::string& name, const TJValue& value) {
    if (!Slot(name)) Push(name, value);
  });
}

bool TJActivation::SelfIsAutomation() {
  if (selfKind_ == SelfKind::Unknown)
    selfKind_ = IsKnownClass(OwnWithObject(), TJKnownClass::ActiveX) ? SelfKind::Automation : SelfKind::Plain;
  return selfKind_ == SelfKind::Automation;
}

void TJActivation::Close() {
  if (owner_) owner_->Pop();
  owner_ = nullptr;
  code_ = nullptr;
  ClearForReuse();
  // The parent and the with-object stay linked (weakly) until the next Open replaces them.
}

TJActivation::Variable& TJActivation::Push(std::string_view name, const TJValue& value) {
  if (used_ == variables_.size()) return Grow(name, value);
  Variable& v = variables_[used_];
  if (!SameName(v.name, name)) v.name.assign(name);
  ++used_;
  v.value = value;
  return v;
}

void TJActivation::BindParameters(const TJStatement* first, TJValueList* args, int32_t count, bool distinct,
                                  bool take) {
  if (!distinct || used_ != 0) return DeclareParameters(first, args, count);
  size_t n = std::min(PrepareParameters(first), size_t(std::max(count, 0)));
  TJValue* items = n ? args->Items().data() : nullptr;
  for (size_t i = 0; i < n; ++i) {
    if (take)
      variables_[i].value = std::move(items[i]);
    else
      variables_[i].value = items[i];
  }
}

void TJActivation::Rename(size_t place, const TJStatement* p) {
  if (place == variables_.size()) variables_.emplace_back();
  variables_[place].name.assign(p->Expr->Symbol);
}

void TJActivation::DeclareParameters(const TJStatement* first, const TJValueList* args, int32_t count) {
  int32_t i = 0;
  for (const TJStatement* p = first; p; p = p->Next, ++i) {
    if (!p->Expr) continue;
    if (i < count)
      Declare(p->Expr->Symbol, (*args)[i]);
    else
      Declare(p->Expr->Symbol, TJValue());
  }
}

TJActivation::Variable& TJActivation::Grow(std::string_view name, const TJValue& value) {
  variables_.push_back(Variable{std::string(name), value});
  return variables_[used_++];
}

void TJActivation::Declare(std::string_view name, const TJValue& value) {
  if (TJValue* slot = Slot(name)) {
    *slot = value;
    return;
  }
  Push(name, value);
}

void TJActivation::DeclareAt(std::string_view name, uint32_t& place, const TJValue& value) {
  if (TJValue* slot = SlotAt(name, place)) {
    *slot = value;
    return;
  }
  place = uint32_t(used_);
  Push(name, value);
}

TJValue* TJActivation::SlotSearch(std::string_view name, uint32_t& place) {
  if (!MayHave(name)) return nullptr;
  for (size_t i = 0; i < used_; ++i) {
    if (SameName(variables_[i].name, name)) {
      place = uint32_t(i);
      return &variables_[i].value;
    }
  }
  return nullptr;
}

// Names are short and often one letter: the first, middle and last characters and the length
// spread them over the 64 bits (one-letter names each take a bit of their own).
uint64_t TJActivation::NameBit(std::string_view name) {
  size_t n = name.size();
  if (n == 0) return 1;
  auto c = [&](size_t i) { return uint32_t(uint8_t(name[i])); };
  uint32_t h = c(0) * 11 + c(n - 1) * 3 + c(n / 2) * 5 + uint32_t(n) * 7;
  return uint64_t(1) << (h & 63);
}

bool TJActivation::MayHave(std::string_view name) {
  for (; sketched_ < used_; ++sketched_) sketch_ |= NameBit(variables_[sketched_].name);
  return sketch_ & NameBit(name);
}

void TJActivation::CopyInto(TJLocalSymbolTable* table) const {
  for (size_t i = 0; i < used_; ++i) {
    const Variable& v = variables_[i];
    if (!table->Variables().HasKey(v.name)) table->SetLocal(v.name, v.value);
  }
  const_cast<TJActivation*>(this)->Variables().ForEach([table](const std::string& name, const TJValue& value) {
    if (!table->Variables().HasKey(name)) table->SetLocal(name, value);
  });
}

bool TJActivation::FindHere(std::string_view name, TJValue& value) {
  uint32_t place = 0;
  if (TJValue* slot = SlotAt(name, place)) {
    value = *slot;
    return true;
  }
  if (Variables().Count() || SelfIsAutomation()) return findHere(name, value);
  // The usual case, quickly: no variables beyond the slots, and a with-object asked by key.
  TJObject* self = OwnWithObject();
  if (!self || !self->HasKey(name)) return false;
  self->GetMember(name, false, nullptr, value);
  return true;
}

bool TJActivation::WithObjectLacks(std::string_view name) {
  TJObject* self = OwnWithObject();
  return !self || (!SelfIsAutomation() && !self->HasKey(name));
}

bool TJActivation::SetHere(std::string_view name, const TJValue& value) {
  uint32_t place = 0;
  if (TJValue* slot = SlotAt(name, place)) {
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
  ClearForReuse();
  TJLocalSymbolTable::Clear();
}

void TJActivation::ClearForReuse() {
  // Values are released one by one, newest first, the way they came; the names stay for reuse.
  while (used_ > 0) {
    TJValue gone = std::move(variables_[--used_].value);
  }
  sketch_ = 0;
  sketched_ = 0;
  ClearContents();
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

TJScopes::~TJScopes() { Clear(); }

void TJScopes::Grow() {
  pool_.push_back(std::make_unique<TJActivation>());
  trim_.Trimmed();
}

void TJScopes::ReleaseOutOfOrder(TJActivation* a) {
  size_t top = inUse_ - 1;
  for (size_t i = 0; i < top; ++i)
    if (pool_[i].get() == a) {
      std::swap(pool_[i], pool_[top]);
      break;
    }
  inUse_ = top;
  if (trim_.Due(pool_.size(), inUse_, kPoolLimit)) Trim();
}

void TJScopes::Trim() {
  pool_.resize(inUse_ + kPoolLimit);
  trim_.Trimmed();
}

TJLocalSymbolTable* TJScopes::FindTable(const TJStatement* statement) const {
  if (TJFunctionScope* table = tables_.Find(statement)) return table;
  return root_.FindFunctionTable(statement);
}

TJLocalSymbolTable* TJScopes::FunctionTable(const TJStatement* parentStatement, const TJStatement* statement) {
  if (TJFunctionScope* table = tables_.Find(statement)) return table;
  TJLocalSymbolTable* parent = parentStatement ? FindTable(parentStatement) : nullptr;
  return tables_.Insert(statement, std::make_unique<TJFunctionScope>(parent));
}

void TJScopes::Forget(const TJStatement* statement) {
  // Out of the map before the table goes: its values may let go of more trees.
  std::unique_ptr<TJFunctionScope> table = tables_.Take(statement);
}

void TJScopes::Clear() {
  std::vector<std::unique_ptr<TJFunctionScope>> tables = tables_.TakeAll();
  tables.clear();
}

}  // namespace engine
