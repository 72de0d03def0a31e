// Expressions: operators in their fixed evaluation order, assignment targets, member access on
// every kind of value, calls and indexes, and the call of script functions.
#include <cmath>
#include <typeinfo>

#include "script/core/engine.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

namespace {

// Expression flags: a member access under delete removes the member; a name assigned under the
// "var" of a for head is declared in the current scope.
enum : unsigned { efDelete = 1, efDeclare = 2 };

constexpr const char* kCallError = "call function error,need function or object";

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

// The key of an object-literal property: a name, or the text of a string or number constant.
std::string PropertyKey(const TJExpr* key) {
  return key->Code == ecIdentifier ? key->Symbol : AsString(&key->Value);
}

// The key of an index: the single argument's text, or the last one's when there are several.
std::string IndexKey(const TJValueList& args) {
  int32_t n = args.Count();
  return AsString(&args[n < 2 ? 0 : n - 1]);
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
  // A plain object's own member, the object read in place from a parameter: nothing runs between
  // the read and the copy of the member.
  if (const TJValue* target = ParameterSlot(e->Left)) {
    const std::string& name = e->Right->Symbol;
    TJObject* object = target->vObject();
    if (object && name != "prototype" && object->IsPlainObject() && object->FindStoredMember(name, out)) return;
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
      ThrowError("ESyntaxError", "super");
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
    case ecConditional: {
      TJValue scratch;
      Eval(Truth(Operand(e->Left, scratch)) ? e->Right : e->Third, out);
      return;
    }
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
      if (const TJValue* left = DirectOperand(e->Left); left && FastNumeric(e->Code, *left, *right, answer))
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
    if (const TJValue* left = DirectOperand(e->Left); left && FastNumeric(e->Code, *left, *right, out)) return;
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

bool TJEngine::EvalOrThrown(const TJExpr* e, TJValue& out) {
  if (e) {
    switch (e->Code) {
      case ecCall:
        EvalCall(e, out, true);
        return throwing_;
      case ecMethodCall:
        EvalMethodCall(e, out, true);
        return throwing_;
      case ecAssign: {
        if (AppendToVariable(e, out)) return false;
        TJValue value;
        if (EvalOrThrown(e->Right, value)) return true;
        Store(e->Left, value, 0);
        out = std::move(value);
        return false;
      }
      case ecAdd: case ecSub: case ecDiv: case ecMul: case ecMod: case ecIntDiv:
      case ecOrBoth: case ecAndBoth:
      case ecShl: case ecShr: case ecUShr:
      case ecLess: case ecGreater: case ecLessEqual: case ecGreaterEqual:
      case ecEqual: case ecNotEqual: case ecStrictEqual: case ecStrictNotEqual:
      case ecBitAnd: case ecBitXor: case ecBitOr:
        if (const TJValue* right = DirectOperand(e->Right)) {
          if (const TJValue* left = DirectOperand(e->Left); left && FastNumeric(e->Code, *left, *right, out))
            return false;
        }
        return EvalBinaryInGeneral(e, out, true);
      default:
        break;
    }
  }
  Eval(e, out);
  return false;
}

void TJEngine::EvalIdentifier(const TJExpr* e, TJValue& out) {
  if (const TJValue* slot = ParameterSlot(e)) {
    out = *slot;
    return;
  }
  if (TJValue* hit = ModuleHit(e)) {
    out = *hit;
    return;
  }
  if (!current_->FindName(e->Symbol, out)) ThrowError("ENameError", "undefined - " + e->Symbol);
  RememberModuleHit(e);
}

// From a call's scope, the way to its module: the call's own variables (none by that name), its
// this (Global, which lacks the name), the function's table (no variables, nothing in between)
// and the module (which holds the name). While that way looks the same, the name is the module's.
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
  if (hit.code != activation_->Code() || hit.globalEpoch != global_->MemberEpoch()) return nullptr;
  TJActivation* call = activation_;
  if (call->OwnWithObject() != global_.get() || call->Variables().Count() || call->Slot(e->Symbol)) return nullptr;
  TJFunctionScope* table = call->Owner();
  if (table->Variables().Count() || table->OwnWithObject()) return nullptr;
  TJLocalSymbolTable* module = table->Parent();
  if (module != hit.module || module->Serial() != hit.moduleSerial || module->ChildCount()) return nullptr;
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
  if (call->OwnWithObject() != global_.get() || call->Variables().Count() || call->Slot(e->Symbol)) return;
  TJFunctionScope* table = call->Owner();
  if (table->Variables().Count() || table->OwnWithObject()) return;
  TJLocalSymbolTable* module = table->Parent();
  if (!module || module->TableKind() != TJLocalSymbolTable::Kind::Global || module->ChildCount()) return;
  if (global_->HasKey(e->Symbol)) return;
  TJValue* slot = module->Variables().Find(e->Symbol);
  if (!slot) return;
  e->Hit = {call->Code(), epoch_, global_->MemberEpoch(), module, module->Serial(), slot};
}

void TJEngine::EvalTypeof(const TJExpr* e, TJValue& out) {
  TJValue value;
  try {
    Eval(e->Left, value);
  } catch (const EJThrow& error) {
    if (error.ErrorType != "ENameError" && error.ErrorType != "EKeyError") throw;
    value.Clear();
  }
  out.SetString(TypeOf(&value));
}

// ---------------------------------------------------------------------------------------------
// Assignment

void TJEngine::EvalAssign(const TJExpr* e, TJValue& out, unsigned flags) {
  if (flags == 0 && AppendToVariable(e, out)) return;
  TJValue value;
  Eval(e->Right, value);
  Store(e->Left, value, flags);
  out = std::move(value);
}

// The variable's own slot, when a name stands for one that reads and writes in place; null otherwise.
TJValue* TJEngine::VariableSlot(const TJExpr* e) {
  if (e->Code != ecIdentifier) return nullptr;
  if (activation_ && current_ == activation_) {
    if (const TJValue* parameter = ParameterSlot(e)) return const_cast<TJValue*>(parameter);
    if (TJValue* own = activation_->Slot(e->Symbol)) return own;
  }
  return ModuleHit(e);
}

// s = s + a + b ... on a variable that holds a string: the added operands are evaluated first, last
// to first (as for any +), then appended to the variable's text in place. False, with nothing
// evaluated, when the form does not apply.
bool TJEngine::AppendToVariable(const TJExpr* e, TJValue& out) {
  if (e->Left->Code != ecIdentifier || e->Right->Code != ecAdd) return false;
  constexpr size_t kMaxTerms = 16;
  const TJExpr* terms[kMaxTerms];  // the added operands, last first
  size_t count = 0;
  const TJExpr* sum = e->Right;
  for (; sum->Code == ecAdd && count < kMaxTerms; sum = sum->Left) terms[count++] = sum->Right;
  if (sum->Code != ecIdentifier || sum->Symbol != e->Left->Symbol) return false;
  // The slot as the read of s finds it (the read is what remembers where a name was found).
  TJValue* slot = VariableSlot(sum);
  if (!slot || slot->ValueType() != vtString) return false;
  TJValue values[kMaxTerms];
  bool appendable = true;
  for (size_t i = 0; i < count; ++i) {
    Eval(terms[i], values[i]);
    TJValueType t = values[i].ValueType();
    appendable = appendable && (t == vtString || t == vtInteger || t == vtDouble);
  }
  slot = VariableSlot(sum);  // what ran may have moved or replaced the variable
  if (appendable && slot && slot->ValueType() == vtString) {
    for (size_t i = count; i-- > 0;) slot->AppendString(values[i]);
    out = *slot;
    return true;
  }
  TJValue left;
  Eval(sum, left);
  for (size_t i = count; i-- > 0;) {
    TJValue next;
    CalcBinary(ecAdd, left, values[i], next);
    left = std::move(next);
  }
  Store(e->Left, left, 0);
  out = std::move(left);
  return true;
}

// An assignment target, evaluated once: a name, a member (the object), an index (the indexed
// value and the arguments) or a method call in the setter form (the object, its member and the
// arguments). Anything else can be read but not written.
struct TJEngine::Target {
  const TJExpr* node;
  TJValue object;
  TJRef<TJObject> self;
  TJValue member;
  TJValueList args;
};

void TJEngine::Resolve(const TJExpr* node, Target& t) {
  t.node = node;
  switch (node->Code) {
    case ecMember:
      Eval(node->Left, t.object);
      break;
    case ecCall:
      Eval(node->Left, t.object);
      EvalItems(node, t.args);
      break;
    case ecMethodCall:
      Eval(node->Left, t.object);
      GetMember(t.object, node->Right->Symbol, t.member, false, &t.self);
      EvalItems(node, t.args);
      break;
    default:
      break;
  }
}

void TJEngine::Read(Target& t, TJValue& out) {
  switch (t.node->Code) {
    case ecIdentifier:
      EvalIdentifier(t.node, out);
      return;
    case ecMember:
      GetMember(t.object, t.node->Right->Symbol, out, false);
      return;
    case ecCall: {
      TJValueList args;
      args.Assign(&t.args);  // a call may change its argument list; the store needs it whole
      CallOrIndex(t.object, args, out);
      return;
    }
    case ecMethodCall: {
      TJValueList args;
      args.Assign(&t.args);
      if (IsFunction(&t.member))
        CallFunction(t.member, &args, out, t.self ? t.self.get() : ToObject(t.object));
      else if (TJObject* indexed = t.member.vObject())
        IndexObject(indexed, args, out);
      else
        ThrowError("ECallError", kCallError);
      return;
    }
    default:
      Eval(t.node, out);
      return;
  }
}

void TJEngine::Write(Target& t, const TJValue& value, unsigned flags) {
  switch (t.node->Code) {
    case ecIdentifier:
      if (flags & efDeclare) {
        Declare(t.node->Symbol, value);
      } else if (TJValue* slot = ModuleHit(t.node)) {
        TJValue old = std::move(*slot);  // the old value may be what holds the new one
        *slot = value;
      } else {
        current_->Assign(t.node->Symbol, value, 0);
      }
      return;
    case ecMember:
      SetMember(t.object, t.node->Right->Symbol, value);
      return;
    case ecCall:
      IndexStore(t.object, t.args, value);
      return;
    case ecMethodCall:
      // The setter form: o.m(a) = v calls o.m(a, v), or stores o.m[a] = v for an object member.
      if (IsFunction(&t.member)) {
        t.args.Add(value);
        TJValue ignored;
        CallFunction(t.member, &t.args, ignored, t.self ? t.self.get() : ToObject(t.object), 2);
      } else if (t.member.vObject()) {
        IndexStore(t.member, t.args, value);
      } else {
        ThrowError("ECallError", kCallError);
      }
      return;
    default:
      ThrowError("ETypeError", "can not assign - ");
  }
}

void TJEngine::Store(const TJExpr* target, const TJValue& value, unsigned flags) {
  Target t;
  Resolve(target, t);
  Write(t, value, flags);
}

// a op= b: the target's object and key are evaluated once, for the read and the store.
void TJEngine::EvalCompound(const TJExpr* e, TJValue& out) {
  TJValue right;
  Eval(e->Right, right);
  if (e->Code == ecAddAssign) {
    if (TJValue* slot = VariableSlot(e->Left); slot && slot->AppendString(right)) {
      out = *slot;
      return;
    }
  }
  Target t;
  Resolve(e->Left, t);
  TJValue current;
  Read(t, current);
  TJValue result;
  CalcAssign(e->Code, current, right, result);
  Write(t, result, 0);
  out = std::move(result);
}

// ++ and -- work on the value as an integer; any target that can be written takes the new value.
void TJEngine::EvalIncDec(const TJExpr* e, TJValue& out) {
  bool increment = e->Code == ecPreInc || e->Code == ecPostInc;
  bool prefix = e->Code == ecPreInc || e->Code == ecPreDec;
  Target t;
  Resolve(e->Left, t);
  TJValue old;
  Read(t, old);
  TJValue updated;
  updated.SetInteger(int32_t(uint32_t(AsInteger(&old)) + (increment ? 1u : ~0u)));
  switch (e->Left->Code) {
    case ecIdentifier:
    case ecMember:
    case ecCall:
    case ecMethodCall:
      Write(t, updated, 0);
      break;
    default:
      break;  // a value that is no variable: the result alone
  }
  out = prefix ? std::move(updated) : std::move(old);
}

// ---------------------------------------------------------------------------------------------
// Objects

void TJEngine::EvalNew(const TJExpr* e, TJValue& out) {
  ArgList args(this);
  EvalItems(e, *args);
  TJObject* object = MakeObject(e->Left->Symbol, args.get());
  out.SetObject(object);
}

void TJEngine::EvalObjectLiteral(const TJExpr* e, TJValue& out) {
  TJValue result;
  TJObject* object = TJObject::Create<TJObject>(this, nullptr, true);
  result.SetObject(object);
  // Last to first: a key given twice keeps its first value.
  for (size_t i = e->Items.size(); i-- > 0;) {
    const TJExpr* property = e->Items[i];
    TJValue value;
    if (property->Right) Eval(property->Right, value);
    object->PutMember(PropertyKey(property->Left), value, false, nullptr);
  }
  out = std::move(result);
}

void TJEngine::EvalArrayLiteral(const TJExpr* e, TJValue& out) {
  TJValueList items;
  EvalItems(e, items);
  out.SetObject(NewArray(items));
}

void TJEngine::GetMember(const TJValue& target, std::string_view name, TJValue& out, bool remove,
                         TJRef<TJObject>* wrapper) {
  switch (target.ValueType()) {
    case vtObject: {
      TJObject* object = target.vObject();
      if (remove) {
        out.SetBool(object->RemoveKey(name));
      } else if (name == "prototype") {
        out.SetObject(Factory().GetPrototype(object->Name()));
      } else if (object->IsPlainObject() && object->FindStoredMember(name, out)) {
        // A plain object's own member: what its GetMember would find first.
      } else {
        object->GetMember(name, false, nullptr, out);
      }
      return;
    }
    case vtString:
    case vtRegExp:
    case vtInteger:
    case vtDouble:
    case vtBool:
    case vtDispatch: {
      // Through a new wrapper object: a String, RegExp, Number or automation object.
      TJRef<TJObject> object(ToObject(target));
      if (!object) ThrowError("ENameError", "member error " + std::string(name));
      GetMember(TJValue::Object(object.get()), name, out, remove);
      if (wrapper) *wrapper = object;
      return;
    }
    case vtFunction: {
      IJFunction* f = target.vFunction();
      if (f->GetFuncType() == ftScript) {
        if (name == "prototype") {
          out.SetObject(Factory().GetPrototype(f->GetName()));
          return;
        }
        if (name == "call" || name == "apply") {
          // The same function, treating the arguments of one call the call or apply way.
          IJFunction* mode = NewFunction();
          TJValue modeValue;
          modeValue.SetFunction(mode);
          mode->Assign(f);
          mode->SetCallType(name == "call" ? ctCall : ctApply);
          out = std::move(modeValue);
          return;
        }
      } else if (f->GetFuncType() == ftModule) {
        TJLocalSymbolTable* module = root_.GetModule(f->GetName());
        if (!module->FindName(name, out)) out.Clear();
        return;
      }
      break;
    }
    default:
      break;
  }
  ThrowError("ENameError", "member error " + std::string(name));
}

void TJEngine::SetMember(const TJValue& target, std::string_view name, const TJValue& value) {
  bool prototypeValue = value.ValueType() == vtObject || value.ValueType() == vtNull;
  if (TJObject* object = target.vObject()) {
    if (name == "prototype" && prototypeValue) {
      if (!Factory().SetPrototype(object->Name(), value.vObject()))
        ThrowError("ENameError", "prototype assign error " + value.vObject()->Name());
      return;
    }
    object->PutMember(name, value, false, nullptr);
    return;
  }
  if (IJFunction* f = target.vFunction()) {
    if (f->GetFuncType() == ftScript && name == "prototype" && prototypeValue) {
      if (!Factory().SetPrototype(f->GetName(), value.vObject()))
        ThrowError("ENameError", "prototype assign error " + value.vObject()->Name());
      return;
    }
    if (f->GetFuncType() == ftModule) {
      root_.GetModule(f->GetName())->Assign(name, value, 0);
      return;
    }
  }
  ThrowError("ENameError", "member assign error " + std::string(name));
}

// ---------------------------------------------------------------------------------------------
// Calls and indexes

void TJEngine::EvalCall(const TJExpr* e, TJValue& out, bool thrownOk) {
  TJValue callee;
  if (e->Left->Code == ecIdentifier)
    EvalIdentifier(e->Left, callee);
  else
    Eval(e->Left, callee);
  ArgList args(this);
  if (EvalItems(e, *args, thrownOk)) return;
  // A script function straight to its call (`callee` keeps it alive meanwhile).
  if (IJFunction* f = callee.vFunction()) {
    if (TJFunctionImpl* impl = f->Impl(); impl && impl->Data().FuncType == ftScript) {
      CallScript(f, args.get(), out, current_->GetWithObject(), thrownOk);
      return;
    }
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
      TJRef<TJObject> text(ToObject(callee));
      if (text) {
        IndexObject(text.get(), args, out);
        return;
      }
      break;
    }
    default:
      break;
  }
  ThrowError("ECallError", kCallError);
}

// An automation object gets its one index typed too (a number reaches the server as a number).
static TJValueList* IndexParam(TJObject* object, TJValueList& args) {
  return args.Count() >= 2 || (args.Count() == 1 && IsKnownClass(object, TJKnownClass::ActiveX)) ? &args : nullptr;
}

void TJEngine::IndexObject(TJObject* object, TJValueList& args, TJValue& out) {
  TJKeepAlive keep(object);
  object->GetMember(IndexKey(args), true, IndexParam(object, args), out);
}

void TJEngine::IndexStore(const TJValue& target, TJValueList& args, const TJValue& value) {
  if (TJObject* object = target.vObject()) {
    TJKeepAlive keep(object);
    object->PutMember(IndexKey(args), value, true, IndexParam(object, args));
    return;
  }
  if (IsFunction(&target)) {
    args.Add(value);
    TJValue ignored;
    CallFunction(target, &args, ignored, nullptr, 2);
    return;
  }
  ThrowError("ECallError", kCallError);
}

void TJEngine::EvalMethodCall(const TJExpr* e, TJValue& out, bool thrownOk) {
  TJValue object;
  Eval(e->Left, object);
  TJRef<TJObject> self;
  TJValue member;
  GetMember(object, e->Right->Symbol, member, false, &self);
  ArgList args(this);
  if (EvalItems(e, *args, thrownOk)) return;
  if (IJFunction* f = member.vFunction(); f && f->GetFuncType() == ftScript) {
    CallScript(f, args.get(), out, self ? self.get() : ToObject(object), thrownOk);
  } else if (IsFunction(&member)) {
    CallFunction(member, args.get(), out, self ? self.get() : ToObject(object));
  } else if (TJObject* indexed = member.vObject()) {
    IndexObject(indexed, *args, out);
  } else {
    ThrowError("ECallError", kCallError);
  }
}

void TJEngine::CallFunction(const TJValue& function, TJValueList* args, TJValue& result, TJObject* self,
                            int invokeKind) {
  IJFunction* f = function.vFunction();
  if (!f) ThrowError("ECallError", kCallError);
  TJFunctionRef keep(f);
  switch (f->GetFuncType()) {
    case ftScript:
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
      ThrowError("ECallError", "not support function type");
  }
}

void TJEngine::CallForeign(IJFunction* f, TJValueList* args, TJValue& result, int invokeKind) {
  TJEngineExtensions& ext = EngineExtensions();
  if (f->GetFuncType() == ftActiveX && ext.CallActiveX) {
    ext.CallActiveX(*this, f, args, result, invokeKind);
  } else if (f->GetFuncType() == ftDynaCall && ext.CallDynaCall) {
    ext.CallDynaCall(*this, f, args, result);
  } else {
    ThrowError("ECallError", "not support function type");
  }
}

void TJEngine::CallScript(IJFunction* f, TJValueList* args, TJValue& result, TJObject* self, bool thrownOk) {
  CheckStack();
  TJObject* bound;
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
  if (!parent || !code) ThrowError("ECallError", "function is no longer valid: " + f->GetName());
  struct Frame {
    TJScopes& scopes;
    TJActivation* scope;
    ~Frame() { scopes.Release(scope); }
  } frame{scopes_, scopes_.Acquire()};
  TJActivation* scope = frame.scope;
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
        ThrowError("ETypeError", f->GetName() + ".apply arguments error");
      for (int32_t i = 0, n = applied->GetCount(); i < n; ++i) {
        TJValue item;
        applied->GetItem(i, item);
        shifted->Add(std::move(item));
      }
    }
  }
  // The parameters first, in order (their slots are known to the body), then the arguments
  // array, which exists when the body names it (or when new objects are watched).
  scope->BindParameters(parameters, effective, effective ? effective->Count() : 0);
  if ((code->Flags & sfUsesArguments) || OnNewObject) {
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
