#include "script/core/symbols.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"

namespace engine {

namespace {
uint64_t NextSerial() {
  static uint64_t serials = 0;
  return ++serials;
}
}  // namespace

TJLocalSymbolTable::TJLocalSymbolTable(TJLocalSymbolTable* parent, Kind kind)
    : kind_(kind), serial_(NextSerial()), parent_(parent) {}

TJLocalSymbolTable::~TJLocalSymbolTable() { TJLocalSymbolTable::Clear(); }

bool TJLocalSymbolTable::findHere(std::string_view name, TJValue& value) {
  if (variables_.GetValue(name, value)) return true;
  if (TJObject* with = withObject_.get()) {
    if (IsKnownClass(with, TJKnownClass::ActiveX)) {
      try {
        with->GetMember(name, false, nullptr, value);
        return true;
      } catch (const EJThrow&) {
        // an automation object that lacks the name is simply not the one that has it
      }
    } else if (with->HasKey(name)) {
      with->GetMember(name, false, nullptr, value);
      return true;
    }
  }
  return false;
}

bool TJLocalSymbolTable::Find(TJLocalSymbolTable*, std::string_view name, TJValue& value) {
  if (findHere(name, value)) return true;
  if (TJLocalSymbolTable* parent = Parent()) return parent->Find(this, name, value);
  value.Clear();
  return false;
}

bool TJLocalSymbolTable::setHere(std::string_view name, const TJValue& value) {
  if (TJValue* v = variables_.Find(name)) {
    TJValue old = std::move(*v);
    *v = value;
    return true;
  }
  if (TJObject* with = withObject_.get(); with && with->HasKey(name)) {
    with->PutMember(name, value, false, nullptr);
    return true;
  }
  return false;
}

bool TJLocalSymbolTable::SetExisting(TJLocalSymbolTable*, std::string_view name, const TJValue& value) {
  if (setHere(name, value)) return true;
  if (TJLocalSymbolTable* parent = Parent()) return parent->SetExisting(this, name, value);
  return false;
}

void TJLocalSymbolTable::Assign(std::string_view name, const TJValue& value, int kind) {
  if (SetExisting(this, name, value)) return;
  if (kind == 1) SetLocal(name, value);
  else if (kind == 2) SetFunctionLocal(name, value);
  else SetGlobal(name, value);
}

void TJLocalSymbolTable::SetGlobal(std::string_view name, const TJValue& value) {
  TJLocalSymbolTable* table = GetGlobalTable();
  (table ? table : this)->SetLocal(name, value);
}

void TJLocalSymbolTable::SetFunctionLocal(std::string_view name, const TJValue& value) {
  TJLocalSymbolTable* table = GetFunctionTable();
  if (!table) table = this;
  if (!table->variables_.HasKey(name)) table->SetLocal(name, value);
}

TJLocalSymbolTable* TJLocalSymbolTable::GetGlobalTable() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (t->kind_ == Kind::Global || t->kind_ == Kind::Root) return t;
  return nullptr;
}

TJLocalSymbolTable* TJLocalSymbolTable::GetFunctionTable() {
  for (TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (t->kind_ != Kind::Local) return t;
  return nullptr;
}

TJObject* TJLocalSymbolTable::GetWithObject() const {
  for (const TJLocalSymbolTable* t = this; t; t = t->Parent())
    if (TJObject* o = t->withObject_.get()) return o;
  return nullptr;
}

TJLocalSymbolTable* TJLocalSymbolTable::NewChild(TJLocalSymbolTable* copyFrom, TJObject* withObject) {
  children_.push_back(std::make_unique<TJLocalSymbolTable>(this));
  TJLocalSymbolTable* child = children_.back().get();
  if (copyFrom) child->CopyFrom(copyFrom);
  child->SetWithObject(withObject);
  return child;
}

void TJLocalSymbolTable::DeleteFirstChild() {
  if (children_.empty()) return;
  std::unique_ptr<TJLocalSymbolTable> child = std::move(children_.back());
  children_.pop_back();
}

bool TJLocalSymbolTable::HasChild(const TJLocalSymbolTable* table) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it)
    if (it->get() == table) return true;
  return false;
}

void TJLocalSymbolTable::CopyFrom(TJLocalSymbolTable* table) {
  if (!table || table == this) return;
  table->variables_.ForEach([this](const std::string& key, const TJValue& value) {
    if (!variables_.HasKey(key)) variables_.SetValue(key, value);
  });
}

// A table whose variables were never set keeps its serial: no slot of it can have been remembered.
void TJLocalSymbolTable::clearContents() {
  if (variables_.Count()) serial_ = NextSerial();
  while (!children_.empty()) DeleteFirstChild();
  if (temporaries_.Count()) temporaries_.Clear();
  if (variables_.Count()) variables_.Clear();
}

void TJLocalSymbolTable::Clear() {
  serial_ = NextSerial();
  ClearContents();
  withObject_.reset();
}

bool TJFunctionSymbolTable::Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value) {
  TJLocalSymbolTable* newest = FirstChild();
  if (newest && caller != newest && !HasChild(caller) && newest->findHere(name, value)) return true;
  return TJLocalSymbolTable::Find(this, name, value);
}

bool TJFunctionSymbolTable::SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value) {
  TJLocalSymbolTable* newest = FirstChild();
  if (newest && caller != newest && !HasChild(caller) && newest->setHere(name, value)) return true;
  return TJLocalSymbolTable::SetExisting(this, name, value);
}

TJRootSymbolTable::~TJRootSymbolTable() { TJRootSymbolTable::Clear(); }

TJLocalSymbolTable* TJRootSymbolTable::FindFunctionTable(const TJStatement* statement) const {
  auto it = functionTables_.find(statement);
  return it == functionTables_.end() ? nullptr : it->second.get();
}

TJLocalSymbolTable* TJRootSymbolTable::GetFunctionTable(const TJStatement* parentStatement, const TJStatement* statement) {
  if (TJLocalSymbolTable* t = FindFunctionTable(statement)) return t;
  TJLocalSymbolTable* parent = parentStatement ? FindFunctionTable(parentStatement) : nullptr;
  auto table = std::make_unique<TJFunctionSymbolTable>(parent);
  TJLocalSymbolTable* result = table.get();
  functionTables_[statement] = std::move(table);
  return result;
}

TJLocalSymbolTable* TJRootSymbolTable::AddModule(std::string_view name, const TJStatement* statement) {
  auto table = std::make_unique<TJGlobalSymbolTable>(this);
  TJLocalSymbolTable* result = table.get();
  std::unique_ptr<TJLocalSymbolTable> replaced = std::move(functionTables_[statement]);
  functionTables_[statement] = std::move(table);
  modules_.emplace(std::string(name), result);  // the first module of a name keeps it
  if (replaced) {
    for (auto it = modules_.begin(); it != modules_.end();) {
      if (it->second == replaced.get()) it = modules_.erase(it); else ++it;
    }
  }
  return result;
}

TJLocalSymbolTable* TJRootSymbolTable::GetModule(std::string_view name) const {
  auto it = modules_.find(name);
  if (it == modules_.end()) ThrowError(jeNamespaceNotFound, {name});
  return it->second;
}

void TJRootSymbolTable::Clear() {
  TJLocalSymbolTable::Clear();
  modules_.clear();
  auto tables = std::move(functionTables_);
  functionTables_.clear();
  tables.clear();
}

}  // namespace engine
