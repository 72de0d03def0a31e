// Objects: new, object and array literals, and member access on every kind of value.
#include <algorithm>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/evaluator_shared.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

namespace {

// The key of an object-literal property: a name, or the text of a string or number constant.
std::string PropertyKey(const TJExpr* key) {
  return key->Code == ecIdentifier ? key->Symbol : AsString(&key->Value);
}

}  // namespace

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
      } else if (object->IsPlainArray() && name.size() == 6 && rt::sameText(name, "length")) {
        out.SetInteger(object->GetCount());  // what the published length answers
      } else {
        object->GetMember(name, false, nullptr, out);
      }
      return;
    }
    case vtString:
      if (name == "length" && !remove) {  // what the String object's length property answers
        const TJStringRep* rep = target.vStringRep();
        out.SetInteger(rep ? int32_t(std::min<uint32_t>(rep->CharCount(), 0x7FFFFFFF)) : 0);
        return;
      }
      [[fallthrough]];
    case vtRegExp:
    case vtInteger:
    case vtDouble:
    case vtBool:
    case vtDispatch: {
      // Through a new wrapper object: a String, RegExp, Number or automation object.
      TJRef<TJObject> object(ToObject(target));
      if (!object) ThrowError(jeMemberMissing, {name});
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
  ThrowError(jeMemberMissing, {name});
}

bool TJEngine::EvalMemberOrNothing(const TJExpr* e, TJValue& out) {
  if (e->Code != ecMember) return false;
  TJValue target;
  Eval(e->Left, target);
  const std::string& name = e->Right->Symbol;
  TJObject* object = target.vObject();
  if (object && (object->IsPlainObject() || object->IsPlainArray()) && name != "prototype") {
    // Their GetMember is GetValue with an error for a miss, and typeof takes the miss as undefined.
    if (!object->GetValue(name, out, nullptr)) out.Clear();
  } else {
    GetMember(target, name, out, false);
  }
  return true;
}

void TJEngine::SetMember(const TJValue& target, std::string_view name, const TJValue& value) {
  bool prototypeValue = value.ValueType() == vtObject || value.ValueType() == vtNull;
  if (TJObject* object = target.vObject()) {
    if (name == "prototype" && prototypeValue) {
      if (!Factory().SetPrototype(object->Name(), value.vObject()))
        ThrowError(jePrototypeAssign, {value.vObject()->Name()});
      return;
    }
    // A plain object's member that holds a value already: what PutMember would replace.
    if (object->IsPlainObject() && object->ReplaceStoredMember(name, value)) return;
    object->PutMember(name, value, false, nullptr);
    return;
  }
  if (IJFunction* f = target.vFunction()) {
    if (f->GetFuncType() == ftScript && name == "prototype" && prototypeValue) {
      if (!Factory().SetPrototype(f->GetName(), value.vObject()))
        ThrowError(jePrototypeAssign, {value.vObject()->Name()});
      return;
    }
    if (f->GetFuncType() == ftModule) {
      root_.GetModule(f->GetName())->Assign(name, value, 0);
      return;
    }
  }
  ThrowError(jeMemberAssign, {name});
}

}  // namespace engine
