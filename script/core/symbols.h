// Scopes. A tree of symbol tables: the root for the program, one table per module, one per
// function body (shared by all its activations: each call adds a child at the front) and one per
// nested block, each with its variables, an optional with object and temporaries kept alive for
// the scope's life. Parent and with-object links do not keep their targets alive.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/core/hash.h"
#include "script/core/notify.h"
#include "script/core/value.h"
#include "script/core/value_list.h"

namespace engine {

struct TJStatement;

class TJLocalSymbolTable : public TJNotify {
 public:
  enum class Kind : uint8_t { Local, Function, Global, Root };

  explicit TJLocalSymbolTable(TJLocalSymbolTable* parent, Kind kind = Kind::Local);
  ~TJLocalSymbolTable() override;

  Kind TableKind() const { return kind_; }
  // True for the table of a function statement that runs its calls in activations.
  bool IsFunctionScope() const { return functionScope_; }
  // Unique among all tables ever made, and renewed when the table is cleared: a remembered
  // variable slot of this table is still the one it was while the serial is the same.
  uint64_t Serial() const { return serial_; }
  TJLocalSymbolTable* Parent() const { return parent_.get(); }
  void SetParent(TJLocalSymbolTable* table) { parent_.reset(table); }
  TJHash& Variables() { return variables_; }

  // Own variables, then the with object, then the parent (asked with this table as caller).
  virtual bool Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value);
  bool FindName(std::string_view name, TJValue& value) { return Find(this, name, value); }
  // Replaces an existing variable up the chain (a with object that has the key takes it as a
  // member); false when no scope has the name.
  virtual bool SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value);
  // SetExisting, else a new variable: kind 1 here, kind 2 in the nearest function scope unless it
  // has the name already, any other kind in the nearest module scope.
  void Assign(std::string_view name, const TJValue& value, int kind);
  void SetLocal(std::string_view name, const TJValue& value) { variables_.SetValue(name, value); }
  void SetGlobal(std::string_view name, const TJValue& value);
  void SetFunctionLocal(std::string_view name, const TJValue& value);
  // The nearest module / function scope, this table included; null when none.
  TJLocalSymbolTable* GetGlobalTable();
  TJLocalSymbolTable* GetFunctionTable();
  TJObject* GetWithObject() const;
  TJObject* OwnWithObject() const { return withObject_.get(); }
  void SetWithObject(TJObject* object) { withObject_.reset(object); }

  // A child scope at the front of the children, with copies of `copyFrom`'s variables.
  TJLocalSymbolTable* NewChild(TJLocalSymbolTable* copyFrom, TJObject* withObject);
  void DeleteFirstChild();
  TJLocalSymbolTable* FirstChild() const { return children_.empty() ? nullptr : children_.back().get(); }
  bool HasChild(const TJLocalSymbolTable* table) const;
  size_t ChildCount() const { return children_.size(); }
  // Copies every variable of `table` whose name is not here yet.
  void CopyFrom(TJLocalSymbolTable* table);

  void AddTemporary(TJObject* object) { temporaries_.AddObject(object); }
  void AddTemporary(const TJValue& value) { temporaries_.Add(value); }
  void ClearTemporaries() { if (temporaries_.Count()) temporaries_.Clear(); }
  const TJValueList& Temporaries() const { return temporaries_; }

  // Frees the children, drops the with object, the temporaries and the variables.
  virtual void Clear();
  // Clear without dropping the with object (the links of a scope that is reused).
  void ClearContents() {
    if (!children_.empty() || temporaries_.Count() || variables_.Count()) clearContents();
  }

  // The variables and the with object of this table alone.
  bool findHere(std::string_view name, TJValue& value);
  bool setHere(std::string_view name, const TJValue& value);

 protected:
  bool functionScope_ = false;

 private:
  void clearContents();

  Kind kind_;
  uint64_t serial_;
  TJWeakRef<TJLocalSymbolTable> parent_;
  TJHash variables_{31, false};
  TJWeakRef<TJObject> withObject_;
  std::vector<std::unique_ptr<TJLocalSymbolTable>> children_;  // the newest last
  TJValueList temporaries_;
};

// The scope of a function body: a lookup that arrives from outside sees the innermost active
// block of the body (the newest child) first.
class TJFunctionSymbolTable : public TJLocalSymbolTable {
 public:
  explicit TJFunctionSymbolTable(TJLocalSymbolTable* parent, Kind kind = Kind::Function)
      : TJLocalSymbolTable(parent, kind) {}
  bool Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value) override;
  bool SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value) override;
};

// The scope of a module.
class TJGlobalSymbolTable : public TJFunctionSymbolTable {
 public:
  explicit TJGlobalSymbolTable(TJLocalSymbolTable* parent, Kind kind = Kind::Global)
      : TJFunctionSymbolTable(parent, kind) {}
};

class TJRootSymbolTable : public TJGlobalSymbolTable {
 public:
  TJRootSymbolTable() : TJGlobalSymbolTable(nullptr, Kind::Root) {}
  ~TJRootSymbolTable() override;

  // The table of the function or module `statement`, made on first use with the table of
  // `parentStatement` (if any) as its parent.
  TJLocalSymbolTable* GetFunctionTable(const TJStatement* parentStatement, const TJStatement* statement);
  TJLocalSymbolTable* FindFunctionTable(const TJStatement* statement) const;
  // A module scope under the name (the first module of a name keeps it) and the statement.
  TJLocalSymbolTable* AddModule(std::string_view name, const TJStatement* statement);
  // Raises "ENameError" "namespace not found: <name>" for an unknown name.
  TJLocalSymbolTable* GetModule(std::string_view name) const;
  void Clear() override;

 private:
  std::unordered_map<const TJStatement*, std::unique_ptr<TJLocalSymbolTable>> functionTables_;
  std::map<std::string, TJLocalSymbolTable*, std::less<>> modules_;
};

}  // namespace engine
