#include "script/core/function.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/symbols.h"
#include "script/core/tree.h"
#include "script/core/value.h"

namespace engine {

TJFunctionImpl::TJFunctionImpl() = default;

TJFunctionImpl::~TJFunctionImpl() = default;

TJLocalSymbolTable* TJFunctionImpl::GetParentTable() const { return data_.ParentTable.get(); }

void TJFunctionImpl::SetParentTable(TJLocalSymbolTable* table) { data_.ParentTable.reset(table); }

namespace {

// True when every parameter has a name and no two share one. Long lists are not checked (and take
// the general way): the check costs the square of their length.
bool DistinctNames(const TJStatement* first) {
  constexpr int kChecked = 32;
  int n = 0;
  for (const TJStatement* p = first; p; p = p->Next) {
    if (!p->Expr || ++n > kChecked) return false;
    for (const TJStatement* q = first; q != p; q = q->Next)
      if (q->Expr->Symbol == p->Expr->Symbol) return false;
  }
  return true;
}

}  // namespace

void TJFunctionImpl::SetParameter(const TJStatement* parameter) {
  data_.Parameter = parameter;
  data_.DistinctParameters = DistinctNames(parameter);
}

void TJFunctionImpl::SetLocalTable(TJLocalSymbolTable* table) {
  if (table == localTable_.get()) return;
  localTable_.reset(table);
}

void TJFunctionImpl::Assign(IJFunction* other) {
  if (!other || other == this) return;
  data_ = other->GetFuncData();
  if (other->GetThisObject() != GetThisObject()) SetThisObject(other->GetThisObject());
  if (TJLocalSymbolTable* theirs = other->GetLocalTable()) {
    if (!localTable_) localTable_ = std::make_unique<TJLocalSymbolTable>(nullptr);
    localTable_->CopyFrom(theirs);
  }
}

IJFunction* NewFunction() { return new TJFunctionImpl; }

void CallNative(IJFunction* function, TJValueList* args, TJValue& result) {
  result.Clear();
  TJNativeMethod method = function->GetMethod();
  TJObject* self = function->GetThisObject();
  if (!method || !self || self->IsDisposed())
    ThrowError(jeFunctionObjectGone, {function->GetName()});
  TJFunctionRef keepFunction(function);
  TJKeepAlive keepSelf(self);
  RunNative([self] { return self->Name(); }, function->GetName(), [&] { (self->*method)(args, result); });
}

}  // namespace engine
