// The interpreter's scopes of running functions.
//
// A script function's body runs in a fresh scope below the function's own table; lookups that
// reach that table from outside the body (from an inner function) see the newest running call
// first. These two classes give that rule the speed a call needs: an activation keeps its
// variables in a small flat list (no hashing, no allocation once warm, reused from a pool), and a
// function table knows its running activations directly. To everything else they are the symbol
// tables they derive from.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/pointer_map.h"
#include "script/core/symbols.h"
#include "script/core/tree.h"
#include "script/core/value.h"

namespace engine {

class TJFunctionScope;

// Variable names are short: compared in place, the first character before the rest.
inline bool SameName(const std::string& a, std::string_view b) {
  size_t n = a.size();
  if (n != b.size()) return false;
  if (n == 0) return true;
  if (a[0] != b[0]) return false;
  for (size_t i = 1; i < n; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The scope of one call of a script function.
class TJActivation : public TJLocalSymbolTable {
 public:
  TJActivation() : TJLocalSymbolTable(nullptr) {}

  // Starts a call of the function `code` below `owner`, with the with-object and the captured
  // variables (may be null).
  [[gnu::always_inline]] inline void Open(TJFunctionScope* owner, const TJStatement* code, TJObject* self,
                                         TJLocalSymbolTable* captured);
  // Ends the call: variables, children and the with-object go; the activation may be reused.
  void Close();
  TJFunctionScope* Owner() const { return owner_; }
  const TJStatement* Code() const { return code_; }
  void SetSelf(TJObject* self) {
    if (self && self == OwnWithObject()) return;
    SetWithObject(self);
    selfKind_ = self ? SelfKind::Unknown : SelfKind::Plain;
  }

  // The parameters are the first variables, in their order (no captured variables came first):
  // the value of parameter `place` (1-based) is then the variable at that place.
  bool ParametersFirst() const { return parametersFirst_; }
  const TJValue& ParameterValue(uint32_t place) const { return variables_[place - 1].value; }
  // A new variable of this scope, or a new value for one it has.
  void Declare(std::string_view name, const TJValue& value);
  // Declares the parameters (the declaration chain from `first`) with the first `count`
  // arguments, undefined for the rest. Parameters whose names are `distinct` take the first
  // entries by place, keeping the names an earlier call left there; with `take` the arguments are
  // moved out of `args` instead of copied.
  void BindParameters(const TJStatement* first, TJValueList* args, int32_t count, bool distinct, bool take);
  // Before Open, in a fresh activation: the parameters (whose names are distinct) as its first
  // variables, all undefined, for a call to evaluate its arguments straight into; their count.
  size_t PrepareParameters(const TJStatement* first) {
    // Each parameter is the entry at its place; the entries past used_ hold undefined.
    size_t place = 0;
    for (const TJStatement* p = first; p; p = p->Next, ++place) {
      if (place == variables_.size() || !SameName(variables_[place].name, p->Expr->Symbol)) Rename(place, p);
    }
    used_ = place;
    return place;
  }
  TJValue& ParameterSlot(size_t index) { return variables_[index].value; }
  // The variable's own slot, or null.
  TJValue* Slot(std::string_view name) {
    for (size_t i = 0; i < used_; ++i)
      if (SameName(variables_[i].name, name)) return &variables_[i].value;
    return nullptr;
  }
  // The variable's own slot, looked for first at `place` (where the caller found the name last,
  // updated when found elsewhere); null when this scope has no variable of the name.
  TJValue* SlotAt(std::string_view name, uint32_t& place) {
    if (place < used_ && SameName(variables_[place].name, name)) return &variables_[place].value;
    return SlotSearch(name, place);
  }
  // The slot at `place` when it holds the name; null otherwise (no search).
  TJValue* SlotIfAt(std::string_view name, uint32_t place) {
    return place < used_ && SameName(variables_[place].name, name) ? &variables_[place].value : nullptr;
  }
  // True when no with-object takes the name before the scopes beyond: there is none, or it lacks
  // the name and is no automation object (which is asked for every name).
  bool WithObjectLacks(std::string_view name);
  // Declare, with the place remembered as for SlotAt.
  void DeclareAt(std::string_view name, uint32_t& place, const TJValue& value);
  // Every own variable into `table` where the name is new there.
  void CopyInto(TJLocalSymbolTable* table) const;

  bool Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value) override;
  bool SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value) override;
  void Clear() override;
  // Clear, keeping the with-object link and the names for the next call.
  void ClearForReuse();

  // The variables and the with object of this scope alone.
  bool FindHere(std::string_view name, TJValue& value);
  bool SetHere(std::string_view name, const TJValue& value);

 private:
  struct Variable {
    std::string name;
    TJValue value;
  };
  // The first `used_` entries are the variables; the entries past them keep the names of earlier
  // calls (their values undefined), so that a call of a function with the same names needs no new
  // text for them.
  Variable& Push(std::string_view name, const TJValue& value);
  [[gnu::noinline]] Variable& Grow(std::string_view name, const TJValue& value);
  // The entry at `place` (made when missing) takes the name of parameter `p`.
  [[gnu::noinline]] void Rename(size_t place, const TJStatement* p);
  // The captured variables, after any of the same name already here.
  [[gnu::noinline]] void AddCaptured(TJLocalSymbolTable* captured);
  [[gnu::noinline]] void DeclareParameters(const TJStatement* first, const TJValueList* args, int32_t count);
  // An automation object as this is asked for every name; found out on the first name that needs
  // it, not at every call.
  bool SelfIsAutomation();
  [[gnu::noinline]] TJValue* SlotSearch(std::string_view name, uint32_t& place);
  // False when no variable has the name: a sketch of the names (one bit each of 64), brought up to
  // date with the variables added since it was last asked. Names of entries below used_ never
  // change while they are in use, so the sketch is only reset when the variables go.
  bool MayHave(std::string_view name);
  static uint64_t NameBit(std::string_view name);
  std::vector<Variable> variables_;
  size_t used_ = 0;
  uint64_t sketch_ = 0;
  size_t sketched_ = 0;  // the entries the sketch covers
  TJFunctionScope* owner_ = nullptr;
  const TJStatement* code_ = nullptr;
  bool parametersFirst_ = false;
  enum class SelfKind : uint8_t { Unknown, Plain, Automation };
  SelfKind selfKind_ = SelfKind::Plain;
};

// The table of a function statement: its `static` variables, and its running activations.
class TJFunctionScope : public TJFunctionSymbolTable {
 public:
  explicit TJFunctionScope(TJLocalSymbolTable* parent) : TJFunctionSymbolTable(parent) { functionScope_ = true; }

  bool Find(TJLocalSymbolTable* caller, std::string_view name, TJValue& value) override;
  bool SetExisting(TJLocalSymbolTable* caller, std::string_view name, const TJValue& value) override;
  void Clear() override;

  void Push(TJActivation* a) { active_.push_back(a); }
  void Pop() { active_.pop_back(); }

 private:
  // The newest running call, when the lookup comes from outside the body.
  TJActivation* NewestFor(TJLocalSymbolTable* caller) const;
  std::vector<TJActivation*> active_;
};

inline void TJActivation::Open(TJFunctionScope* owner, const TJStatement* code, TJObject* self,
                               TJLocalSymbolTable* captured) {
  owner_ = owner;
  code_ = code;
  SetParent(owner);  // a pooled activation often ran the same function last: then nothing to do
  SetSelf(self);
  owner->Push(this);
  parametersFirst_ = !captured || captured->Variables().Count() == 0;
  if (!parametersFirst_) AddCaptured(captured);
}

// When a pool of reusable entries (scopes, argument lists) gives its spare entries back: not as
// soon as a deep recursion returns, since the next one would make them all again, but once the
// pool has served several times its size in calls without needing more. Beyond the spare entries
// it always keeps, the memory of a deep recursion then goes, and a recursion that comes back again
// and again costs no allocation per call.
struct TJPoolTrim {
  size_t reused = 0;  // entries handed out since the pool last grew or was trimmed
  void Reused() { ++reused; }
  bool Due(size_t size, size_t inUse, size_t keep) const {
    return size - inUse > keep && reused > 4 * size;
  }
  void Trimmed() { reused = 0; }
};

// Activations for reuse, and the function tables of one engine.
class TJScopes {
 public:
  explicit TJScopes(TJRootSymbolTable& root) : root_(root) {}
  ~TJScopes();

  TJActivation* Acquire() {
    if (inUse_ == pool_.size())
      Grow();
    else
      trim_.Reused();
    return pool_[inUse_++].get();
  }
  // Calls end in the order they began, so `a` is the newest in use; otherwise it trades places
  // with the newest first.
  void Release(TJActivation* a) {
    a->Close();
    if (pool_[inUse_ - 1].get() != a) return ReleaseOutOfOrder(a);
    --inUse_;
    if (trim_.Due(pool_.size(), inUse_, kPoolLimit)) Trim();
  }
  size_t PoolSize() const { return pool_.size(); }

  // The table of a function, class or code-string statement, made on first use below the table
  // of the enclosing statement (a module's, or another function's).
  TJLocalSymbolTable* FunctionTable(const TJStatement* parentStatement, const TJStatement* statement);
  TJLocalSymbolTable* FindTable(const TJStatement* statement) const;
  // Frees every function table (engine clear).
  void Clear();
  // Frees the table of a statement whose tree goes.
  void Forget(const TJStatement* statement);

  static constexpr size_t kPoolLimit = 256;  // activations kept beyond those in use, at the least

 private:
  [[gnu::noinline]] void Grow();
  [[gnu::noinline]] void ReleaseOutOfOrder(TJActivation* a);
  [[gnu::noinline]] void Trim();

  TJRootSymbolTable& root_;
  TJPoolTrim trim_;
  std::vector<std::unique_ptr<TJActivation>> pool_;  // the first inUse_ serve running calls
  size_t inUse_ = 0;
  TJPointerMap<TJStatement, TJFunctionScope> tables_;
};

}  // namespace engine
