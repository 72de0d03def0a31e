// Assignment: targets evaluated once for the read and the store, compound assignment, ++ and --,
// and strings appended to in place.
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/evaluator_shared.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

void TJEngine::EvalAssign(const TJExpr* e, TJValue& out, unsigned flags) {
  if (flags == 0 && AppendToVariable(e, out)) return;
  TJValue value;
  Eval(e->Right, value);
  Store(e->Left, value, flags);
  out = std::move(value);
}

void TJEngine::AssignName(const TJExpr* name, const TJValue& value) {
  if (TJValue* slot = NameSlot(name)) {
    TJValue old = std::move(*slot);  // the old value may be what holds the new one
    *slot = value;
    return;
  }
  current_->Assign(name->Symbol, value, 0);
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
        ThrowError(jeNotCallable);
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
      if (flags & efDeclare)
        Declare(t.node, value);
      else
        AssignName(t.node, value);
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
        ThrowError(jeNotCallable);
      }
      return;
    default:
      ThrowError(jeCannotAssign);
  }
}

void TJEngine::Store(const TJExpr* target, const TJValue& value, unsigned flags) {
  if (target->Code == ecMember) {  // o.name = value: the object alone is evaluated
    TJValue object;
    Eval(target->Left, object);
    SetMember(object, target->Right->Symbol, value);
    return;
  }
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
  // A variable holding an integer: counted in place.
  if (TJValue* slot = VariableSlot(e->Left); slot && slot->ValueType() == vtInteger) {
    int32_t before = slot->vInteger();
    int32_t after = int32_t(uint32_t(before) + (increment ? 1u : ~0u));
    slot->SetInteger(after);
    out.SetInteger(prefix ? after : before);
    return;
  }
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

}  // namespace engine
