// Expressions: operators in their fixed evaluation order, names, typeof and the conditions of
// statements. Assignment, member access, calls and function values have files of their own.
#include <cmath>
#include <typeinfo>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/evaluator_shared.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

namespace {

bool IsArithmetic(TJExprCode code) {
  return (code >= ecAdd && code <= ecIntDiv) || (code >= ecShl && code <= ecUShr) ||
         (code >= ecBitAnd && code <= ecBitOr);
}

bool IsNumber(TJValueType t) { return t == vtInteger || t == vtDouble; }
double NumberOf(const TJValue& v) { return v.ValueType() == vtInteger ? double(v.vInteger()) : v.vDouble(); }

// The operators on two plain numbers, without the general conversions (same results).
[[gnu::always_inline]] inline bool FastNumeric(TJExprCode code, const TJValue& left, const TJValue& right, TJValue& out) {
  TJValueType lt = left.ValueType();
  TJValueType rt = right.ValueType();
  if (!IsNumber(lt) || !IsNumber(rt)) return false;
  if (lt == vtInteger && rt == vtInteger) {
    int32_t l = left.vInteger();
    int32_t r = right.vInteger();
    switch (code) {
      case ecLess: out.SetBool(l < r); return true;
      case ecGreater: out.SetBool(l > r); return true;
      case ecLessEqual: out.SetBool(l <= r); return true;
      case ecGreaterEqual: out.SetBool(l >= r); return true;
      case ecEqual:
      case ecStrictEqual: out.SetBool(l == r); return true;
      case ecNotEqual:
      case ecStrictNotEqual: out.SetBool(l != r); return true;
      case ecAdd: out.SetDouble(double(l) + double(r)); return true;
      case ecSub: out.SetDouble(double(l) - double(r)); return true;
      case ecMul: out.SetDouble(double(l) * double(r)); return true;
      default: return false;
    }
  }
  double l = NumberOf(left);
  double r = NumberOf(right);
  double d;
  switch (code) {
    case ecLess: out.SetBool(l < r); return true;
    case ecGreater: out.SetBool(l > r); return true;
    case ecLessEqual: out.SetBool(l <= r); return true;
    case ecGreaterEqual: out.SetBool(l >= r); return true;
    case ecEqual: out.SetBool(l == r); return true;
    case ecNotEqual: out.SetBool(l != r); return true;
    case ecAdd: d = l + r; break;
    case ecSub: d = l - r; break;
    case ecMul: d = l * r; break;
    default: return false;
  }
  if (std::isinf(d)) return false;  // the general routine decides the sign of an overflow
  out.SetDouble(d);
  return true;
}

// The comparisons of two texts read in place, without copies of either (same results).
[[gnu::always_inline]] inline bool FastText(TJExprCode code, const TJValue& left, const TJValue& right, TJValue& out) {
  if (left.ValueType() != vtString || right.ValueType() != vtString || code < ecLess || code > ecStrictNotEqual)
    return false;
  bool answer;
  if (!CompareTexts(code, left.vString(), right.vString(), answer)) return false;
  out.SetBool(answer);
  return true;
}

// Both operands read in place: plain numbers, or texts compared.
[[gnu::always_inline]] inline bool FastInPlace(TJExprCode code, const TJValue& left, const TJValue& right,
                                               TJValue& out) {
  return FastNumeric(code, left, right, out) || FastText(code, left, right, out);
}

}  // namespace

// The common forms go straight to their own routines; this stays small, so that the deep recursion
// of evaluation pays little for each level.
void TJEngine::Eval(const TJExpr* e, TJValue& out, unsigned flags) {
  if (!e) {
    out.Clear();
    return;
  }
  switch (e->Code) {
    case ecConstant:
      out = e->Value;
      return;
    case ecIdentifier:
      // A variable of the running call where the name was found last: read here, the rest below.
      if (activation_ && current_ == activation_) {
        if (const TJValue* own = activation_->SlotIfAt(e->Symbol, e->Place)) {
          out = *own;
          return;
        }
      }
      EvalIdentifier(e, out);
      return;
    case ecCall:
      EvalCall(e, out);
      return;
    case ecMethodCall:
      EvalMethodCall(e, out);
      return;
    case ecMember:
      if (flags & efDelete) break;
      EvalMember(e, out);
      return;
    case ecAdd: case ecSub: case ecDiv: case ecMul: case ecMod: case ecIntDiv:
    case ecOrBoth: case ecAndBoth:
    case ecShl: case ecShr: case ecUShr:
    case ecLess: case ecGreater: case ecLessEqual: case ecGreaterEqual:
    case ecEqual: case ecNotEqual: case ecStrictEqual: case ecStrictNotEqual:
    case ecBitAnd: case ecBitXor: case ecBitOr:
      EvalBinary(e, out);
      return;
    default:
      break;
  }
  EvalOther(e, out, flags);
}

void TJEngine::EvalMember(const TJExpr* e, TJValue& out) {
  // A plain object's own member, the object read in place from a parameter or `this`: nothing runs
  // between the read and the copy of the member.
  const TJObject* holder = nullptr;
  if (e->Left->Code == ecThis) {
    holder = current_->GetWithObject();
  } else if (const TJValue* target = ParameterSlot(e->Left)) {
    holder = target->vObject();
  }
  if (holder && holder->IsPlainObject()) {
    const std::string& name = e->Right->Symbol;
    if (name != "prototype" && holder->FindStoredMember(name, out)) return;
  }
  TJValue object;
  Eval(e->Left, object);
  GetMember(object, e->Right->Symbol, out, false);
}

// Every form Eval does not send on itself.
void TJEngine::EvalOther(const TJExpr* e, TJValue& out, unsigned flags) {
  switch (e->Code) {
    case ecComma: {
      TJValue first;
      Eval(e->Left, first, flags & efDeclare);
      Eval(e->Right, out, flags & efDeclare);
      return;
    }
    case ecAssign:
      EvalAssign(e, out, flags);
      return;
    case ecPlus:
    case ecMinus:
    case ecBitNot: {
      TJValue operand;
      Eval(e->Left, operand);
      CalcUnary(e->Code, operand, out);
      return;
    }
    case ecThis:
      if (TJObject* self = current_->GetWithObject())
        out.SetObject(self);
      else
        out.SetNull();
      return;
    case ecMember: {
      TJValue object;
      Eval(e->Left, object);
      GetMember(object, e->Right->Symbol, out, flags & efDelete);
      return;
    }
    case ecSuperMember:
      ThrowError(jeSuperOutsideClass);
    case ecNew:
      EvalNew(e, out);
      return;
    case ecObject:
      EvalObjectLiteral(e, out);
      return;
    case ecArray:
      EvalArrayLiteral(e, out);
      return;
    case ecPreInc:
    case ecPreDec:
    case ecPostInc:
    case ecPostDec:
      EvalIncDec(e, out);
      return;
    case ecDelete:
      Eval(e->Left, out, efDelete);
      return;
    case ecVoid: {
      TJValue ignored;
      Eval(e->Left, ignored);
      out.SetNull();
      return;
    }
    case ecTypeof:
      EvalTypeof(e, out);
      return;
    case ecNot: {
      TJValue operand;
      Eval(e->Left, operand);
      out.SetBool(!Truth(operand));
      return;
    }
    case ecOr:
    case ecAnd: {
      // Only as much as decides the answer is evaluated; the answer is always a Boolean.
      TJValue side;
      Eval(e->Left, side);
      bool left = Truth(side);
      if (left == (e->Code == ecOr)) {
        out.SetBool(left);
        return;
      }
      Eval(e->Right, side);
      out.SetBool(Truth(side));
      return;
    }
    case ecConditional:
      // The condition decided without a value made for it where it can be (see Condition).
      Eval(Condition(e->Left) ? e->Right : e->Third, out);
      return;
    case ecFunction:
      MakeFunction(e->Func, ftScript, out);
      return;
    case ecDeclare:
      Eval(e->Left, out, flags | efDeclare);
      return;
    case ecEmpty:
    case ecProperty: {
      TJValue ignored;
      if (e->Left) Eval(e->Left, ignored);
      if (e->Right) Eval(e->Right, ignored);
      out.Clear();
      return;
    }
    default:
      break;
  }
  if (e->Code >= ecMulAssign && e->Code <= ecOrAssign) {
    EvalCompound(e, out);
    return;
  }
  EvalBinary(e, out);
}

bool TJEngine::Condition(const TJExpr* e) {
  // A comparison of constants and parameters that are plain numbers needs no value made.
  if (e->Code >= ecLess && e->Code <= ecStrictNotEqual) {
    if (const TJValue* right = DirectOperand(e->Right)) {
      TJValue answer;
      if (const TJValue* left = DirectOperand(e->Left); left && FastInPlace(e->Code, *left, *right, answer))
        return answer.vBool();
    }
  }
  TJValue scratch;
  return Truth(Operand(e, scratch));
}

void TJEngine::EvalBinary(const TJExpr* e, TJValue& out) {
  // Constants and parameters on both sides: read in place, nothing to evaluate (and so no order to
  // keep) when both are plain numbers.
  if (const TJValue* right = DirectOperand(e->Right)) {
    if (const TJValue* left = DirectOperand(e->Left); left && FastInPlace(e->Code, *left, *right, out)) return;
  }
  EvalBinaryInGeneral(e, out, false);
}

bool TJEngine::EvalBinaryInGeneral(const TJExpr* e, TJValue& out, bool thrownOk) {
  // The right operand first, then the left one. The left one, evaluated last, may be read in its
  // place when it is a parameter: nothing runs between that read and the arithmetic on numbers.
  TJValue rightScratch;
  const TJValue* rightValue = &rightScratch;
  if (e->Right->Code == ecConstant)
    rightValue = &e->Right->Value;
  else if (thrownOk ? EvalOrThrown(e->Right, rightScratch) : (Eval(e->Right, rightScratch), false))
    return true;
  const TJValue& right = *rightValue;
  TJValue leftScratch;
  const TJValue* left;
  bool inPlace = false;
  if (e->Left->Code == ecConstant) {
    left = &e->Left->Value;
  } else if ((left = ParameterSlot(e->Left))) {
    inPlace = true;
  } else {
    if (thrownOk ? EvalOrThrown(e->Left, leftScratch) : (Eval(e->Left, leftScratch), false)) return true;
    left = &leftScratch;
  }
  if (FastNumeric(e->Code, *left, right, out)) return false;
  if (inPlace) {
    leftScratch = *left;  // the general routines may run script code that assigns the parameter
    left = &leftScratch;
  }
  // A text made by the left operand and held by nothing else (a + b + c ...) grows in place.
  if (e->Code == ecAdd && left == &leftScratch && !inPlace && leftScratch.vStringRep() &&
      leftScratch.vStringRep()->refs == 1 && leftScratch.AppendString(right)) {
    out = std::move(leftScratch);
    return false;
  }
  if (IsArithmetic(e->Code))
    CalcBinary(e->Code, *left, right, out);
  else
    CalcLogical(e->Code, *left, right, out);
  return false;
}

bool TJEngine::EvalItems(const TJExpr* e, TJValueList& list, bool thrownOk) {
  std::vector<TJValue>& items = list.Items();
  size_t n = e->Items.size();
  if (items.size() != n) items.resize(n);
  // Last to first, each into its own place.
  for (size_t i = n; i-- > 0;) {
    if (EvalOrThrown(e->Items[i], items[i])) {
      if (!thrownOk) RaiseThrown();
      return true;
    }
  }
  return false;
}

// A dispatcher only: every form goes on to a routine of its own, so that this frame, entered for
// every statement and argument, costs next to nothing.
bool TJEngine::EvalOrThrown(const TJExpr* e, TJValue& out) {
  if (e) {
    switch (e->Code) {
      case ecCall:
        EvalCall(e, out, true);
        return throwing_;
      case ecMethodCall:
        EvalMethodCall(e, out, true);
        return throwing_;
      case ecAssign:
        return AssignOrThrown(e, out);
      case ecAdd: case ecSub: case ecDiv: case ecMul: case ecMod: case ecIntDiv:
      case ecOrBoth: case ecAndBoth:
      case ecShl: case ecShr: case ecUShr:
      case ecLess: case ecGreater: case ecLessEqual: case ecGreaterEqual:
      case ecEqual: case ecNotEqual: case ecStrictEqual: case ecStrictNotEqual:
      case ecBitAnd: case ecBitXor: case ecBitOr:
        return BinaryOrThrown(e, out);
      default:
        break;
    }
  }
  Eval(e, out);
  return false;
}

bool TJEngine::AssignOrThrown(const TJExpr* e, TJValue& out) {
  if (AppendToVariable(e, out)) return false;
  TJValue value;
  if (EvalOrThrown(e->Right, value)) return true;
  Store(e->Left, value, 0);
  out = std::move(value);
  return false;
}

bool TJEngine::BinaryOrThrown(const TJExpr* e, TJValue& out) {
  if (const TJValue* right = DirectOperand(e->Right)) {
    if (const TJValue* left = DirectOperand(e->Left); left && FastNumeric(e->Code, *left, *right, out)) return false;
  }
  return EvalBinaryInGeneral(e, out, true);
}

void TJEngine::EvalIdentifier(const TJExpr* e, TJValue& out) {
  if (const TJValue* slot = NameSlot(e)) {
    out = *slot;
    return;
  }
  if (!current_->FindName(e->Symbol, out)) ThrowError(jeUndefinedName, {e->Symbol});
  RememberModuleHit(e);
}

// From a call's scope, the way to its module: the call's own variables (none by that name), its
// this (lacking the name: Global while its members are as they were, any other object asked
// again), the function's table (no variables, nothing in between) and the module (which holds the
// name). While that way looks the same, the name is the module's.
// From the module's own code (no block or with scope open), the module's own variables come
// first: a name found there stays there.
TJValue* TJEngine::ModuleHit(const TJExpr* e) {
  const TJExpr::ModuleHit& hit = e->Hit;
  if (!hit.slot || hit.engineEpoch != epoch_) return nullptr;
  if (!activation_ || current_ != activation_) {
    if (hit.code || hit.module != current_ || hit.moduleSerial != current_->Serial() || current_->ChildCount())
      return nullptr;
    return hit.slot;
  }
  TJActivation* call = activation_;
  if (hit.code != call->Code() || call->Variables().Count()) return nullptr;
  TJFunctionScope* table = call->Owner();
  if (table->Variables().Count() || table->OwnWithObject()) return nullptr;
  TJLocalSymbolTable* module = table->Parent();
  if (module != hit.module || module->Serial() != hit.moduleSerial || module->ChildCount()) return nullptr;
  TJObject* self = call->OwnWithObject();
  if (self && self == global_.get() ? hit.globalEpoch != global_->MemberEpoch() : !call->WithObjectLacks(e->Symbol))
    return nullptr;
  return hit.slot;
}

void TJEngine::RememberModuleHit(const TJExpr* e) {
  if (!activation_ || current_ != activation_) {
    TJLocalSymbolTable* module = current_;
    if (module->TableKind() != TJLocalSymbolTable::Kind::Global || module->ChildCount()) return;
    TJValue* slot = module->Variables().Find(e->Symbol);
    if (!slot) return;
    e->Hit = {nullptr, epoch_, 0, module, module->Serial(), slot};
    return;
  }
  TJActivation* call = activation_;
  if (call->Variables().Count() || call->SlotAt(e->Symbol, e->Place)) return;
  TJFunctionScope* table = call->Owner();
  if (table->Variables().Count() || table->OwnWithObject()) return;
  TJLocalSymbolTable* module = table->Parent();
  if (!module || module->TableKind() != TJLocalSymbolTable::Kind::Global || module->ChildCount()) return;
  TJObject* self = call->OwnWithObject();
  if (self && self == global_.get() ? global_->HasKey(e->Symbol) : !call->WithObjectLacks(e->Symbol)) return;
  TJValue* slot = module->Variables().Find(e->Symbol);
  if (!slot) return;
  e->Hit = {call->Code(), epoch_, global_->MemberEpoch(), module, module->Serial(), slot};
}

// The value of a name, read without raising the error a missing one raises (false then); a member
// as EvalMemberOrNothing reads it; any other operand evaluated as usual.
bool TJEngine::EvalIfPresent(const TJExpr* e, TJValue& out) {
  if (e->Code == ecIdentifier) {
    if (const TJValue* slot = NameSlot(e)) {
      out = *slot;
      return true;
    }
    if (!current_->FindName(e->Symbol, out)) return false;
    RememberModuleHit(e);
    return true;
  }
  if (!EvalMemberOrNothing(e, out)) Eval(e, out);
  return true;
}

void TJEngine::EvalTypeof(const TJExpr* e, TJValue& out) {
  TJValue value;
  try {
    if (!EvalIfPresent(e->Left, value)) value.Clear();
  } catch (const EJThrow& error) {
    const std::string& type = error.ErrorType;
    if (type != ErrorText(jeNameMissing).type && type != ErrorText(jeKeyMissing).type) throw;
    value.Clear();
  }
  out.SetString(TypeOf(&value));
}

}  // namespace engine
