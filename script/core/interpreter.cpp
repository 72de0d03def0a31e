// Statements: the run of a statement chain, scopes, loops, switch, try, with and declarations.
#include <exception>
#include <new>

#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/factory.h"

namespace engine {

void TJEngine::Step() {
  bool abort = false;
  OnStep(abort);
  if (abort) throw EJAbort();
}

TJEngine::Flow TJEngine::Exec(const TJStatement* s, unsigned flags, SwitchState* sw) {
  CheckStack();
  for (; s; s = s->Next) {
    CurrentLine = s->Line;
    if (OnStep) Step();
    // The commonest statements here, the rest in ExecOne.
    switch (s->Kind) {
      case skExpression: {
        TJValue ignored;
        if (EvalOrThrown(s->Expr, ignored)) return Flow::Throw;
        continue;
      }
      case skIf: {
        const TJStatement* branch = Condition(s->Expr) ? s->First : s->Second;
        if (!branch) continue;
        Flow flow = branch->Next ? Exec(branch, flags, nullptr) : ExecSingle(branch, flags);
        if (flow != Flow::Normal) return flow;
        continue;
      }
      case skReturn:
        return ExecReturn(s) ? Flow::Throw : Flow::Return;
      default: {
        Flow flow = ExecOne(s, flags, sw);
        if (flow != Flow::Normal) return flow;
      }
    }
  }
  return Flow::Normal;
}

TJEngine::Flow TJEngine::ExecSingle(const TJStatement* s, unsigned flags) {
  CurrentLine = s->Line;
  if (OnStep) Step();
  if (s->Kind == skReturn) return ExecReturn(s) ? Flow::Throw : Flow::Return;
  return ExecOne(s, flags, nullptr);
}

TJEngine::Flow TJEngine::ExecOne(const TJStatement* s, unsigned flags, SwitchState* sw) {
  switch (s->Kind) {
    case skEmpty:
    case skParameter:
    case skCatch:
    case skFinally:
      return Flow::Normal;
    case skModule:
      return ExecModule(s);
    case skBlock:
      return Exec(s->First, flags, nullptr);
    case skExpression: {
      TJValue ignored;
      return EvalOrThrown(s->Expr, ignored) ? Flow::Throw : Flow::Normal;
    }
    case skIf: {
      const TJStatement* branch = Condition(s->Expr) ? s->First : s->Second;
      return branch ? Exec(branch, flags, nullptr) : Flow::Normal;
    }
    case skWhile: {
      unsigned body = (flags & ~(fVar | fStatic | fGlobal)) | fBreakable | fLoop;
      for (;;) {
        CurrentLine = s->Line;
        if (!Condition(s->Expr)) break;
        Flow flow = Exec(s->First, body, nullptr);
        if (flow == Flow::Break) break;
        if (Leaves(flow)) return flow;
      }
      return Flow::Normal;
    }
    case skDoWhile: {
      unsigned body = (flags & ~(fVar | fStatic | fGlobal)) | fBreakable | fLoop;
      for (;;) {
        Flow flow = Exec(s->First, body, nullptr);
        if (flow == Flow::Break) break;
        if (Leaves(flow)) return flow;
        CurrentLine = s->Line;
        if (!Condition(s->Expr)) break;
      }
      return Flow::Normal;
    }
    case skFor:
      return ExecFor(s, flags);
    case skForIn:
    case skForInValues:
      return ExecForIn(s, flags);
    case skFunction: {
      TJValue function;
      MakeFunction(s, ftScript, function);
      if (s->Expr) Declare(s->Expr->Symbol, function);
      return Flow::Normal;
    }
    case skClass: {
      TJValue cls;
      MakeFunction(s, ftClass, cls);
      Declare(s->Expr->Symbol, cls);
      return Flow::Normal;
    }
    case skDeclarator:
      return ExecDeclarator(s, flags) ? Flow::Throw : Flow::Normal;
    case skBreak:
      if (flags & fBreakable) return Flow::Break;
      ThrowError(jeBreakOutsideLoop);
    case skContinue:
      // Only a loop takes a continue; a switch outside any loop does not.
      if (flags & fLoop) return Flow::Continue;
      ThrowError(jeContinueOutsideLoop);
    case skReturn:
      return ExecReturn(s) ? Flow::Throw : Flow::Return;
    case skTry:
      return ExecTry(s, flags, sw);
    case skThrow:
      return ExecThrow(s);
    case skWith:
      return ExecWith(s, flags, sw);
    case skVar:
      return Exec(s->First, flags | fVar, nullptr);
    case skStatic:
      return Exec(s->First, flags | fStatic, nullptr);
    case skGlobal:
      return Exec(s->First, flags | fGlobal, nullptr);
    case skCase:
      return ExecCase(s, flags, sw);
    case skSwitch:
      return ExecSwitch(s, flags);
  }
  return Flow::Normal;
}

TJEngine::Flow TJEngine::ExecModule(const TJStatement* s) {
  std::string name = s->Expr ? s->Expr->Symbol : "__MAIN__";
  TJLocalSymbolTable* table = root_.AddModule(name, s);
  IJFunction* module = NewFunction();
  TJValue moduleValue;
  moduleValue.SetFunction(module);
  module->SetFuncType(ftModule);
  module->SetName(name);
  module->SetCode(s);
  module->SetParentTable(table);
  // Every member of Global is visible as a name.
  table->SetWithObject(global_.get());
  MakeGlobalInstances(table);
  root_.SetLocal(name, moduleValue);
  ScopeGuard scope(this, table, nullptr);
  return Exec(s->First, 0, nullptr);
}

TJEngine::Flow TJEngine::ExecFor(const TJStatement* s, unsigned flags) {
  unsigned body = (flags & ~(fVar | fStatic | fGlobal)) | fBreakable | fLoop;
  const TJExpr* condition = s->Second->Expr;
  const TJExpr* increment = s->Second->Next->Expr;
  TJValue scratch;
  if (s->Expr) Eval(s->Expr, scratch);
  for (;;) {
    if (condition) {
      CurrentLine = s->Line;
      if (!Condition(condition)) break;
    }
    Flow flow = Exec(s->First, body, nullptr);
    if (flow == Flow::Break) break;
    // The increment follows a normal pass or a continue, never a return (nor an exception).
    if (Leaves(flow)) return flow;
    if (increment) {
      CurrentLine = s->Line;
      Eval(increment, scratch);
    }
  }
  return Flow::Normal;
}

TJEngine::Flow TJEngine::ExecForIn(const TJStatement* s, unsigned flags) {
  const TJExpr* variable = s->Expr;
  bool declare = variable->Code == ecDeclare;
  if (declare) variable = variable->Left;
  if (!variable || variable->Code != ecIdentifier) ThrowError(jeForInVariable);
  if (declare) Declare(variable, TJValue());

  TJValue collection;
  Eval(s->Second->Expr, collection);
  TJObject* object = collection.vObject();

  unsigned body = (flags & ~(fVar | fStatic | fGlobal)) | fBreakable | fLoop;
  auto pass = [&](const TJValue& value) -> Flow {
    AssignName(variable, value);
    return Exec(s->First, body, nullptr);
  };

  if (collection.ValueType() == vtDispatch || IsKnownClass(object, TJKnownClass::ActiveX)) {
    if (auto& enumerate = EngineExtensions().EnumerateCollection) {
      if (std::unique_ptr<IJCollectionCursor> cursor = enumerate(*this, collection))
        return ForInCursor(*cursor, pass);
    }
  }
  if (!object) ThrowError(jeForInObject);
  TJKeepAlive keep(object);

  if (object->IsIndexed()) {
    int32_t count = object->GetCount();
    for (int32_t i = 0; i < count; ++i) {
      TJValue value;
      if (s->Kind == skForIn) {
        value.SetInteger(i);
      } else if (i < object->GetCount()) {
        object->GetItem(i, value);
      }  // an item the body removed reads as undefined
      Flow flow = pass(value);
      if (flow == Flow::Break) break;
      if (Leaves(flow)) return flow;
    }
    return Flow::Normal;
  }
  std::vector<std::string> names;
  object->GetPropertyList(names);
  for (const std::string& key : names) {
    Flow flow = pass(TJValue::String(key));
    if (flow == Flow::Break) break;
    if (Leaves(flow)) return flow;
  }
  return Flow::Normal;
}

// The body runs once per item; the cursor moves on after every pass, also when the body raises.
TJEngine::Flow TJEngine::ForInCursor(IJCollectionCursor& cursor, const std::function<Flow(const TJValue&)>& pass) {
  while (!cursor.AtEnd()) {
    TJValue item;
    cursor.Current(item);
    Flow flow;
    try {
      flow = pass(item);
    } catch (...) {
      cursor.Advance();
      throw;
    }
    cursor.Advance();
    if (flow == Flow::Break) break;
    if (Leaves(flow)) return flow;
  }
  return Flow::Normal;
}

TJEngine::Flow TJEngine::ExecTry(const TJStatement* s, unsigned flags, SwitchState* sw) {
  Flow flow = Flow::Normal;
  std::exception_ptr pending;
  const TJStatement* clause = s->Second;
  try {
    TJValue caught;
    bool catching = false;
    try {
      flow = Exec(s->First, flags, sw);
      if (flow == Flow::Throw && clause) {
        caught = std::move(thrown_);
        thrown_.Clear();
        throwing_ = false;
        catching = true;
      }
    } catch (const EJRuntimeError& e) {
      if (!clause) throw;
      // A script's own throw hands over its value; an engine error its error-type name.
      caught = e.ErrorType == ErrorText(jeThrow).type ? e.Value : TJValue::String(e.ErrorType);
      catching = true;
    } catch (const std::bad_alloc&) {
      // What the failed allocation was building is gone; the script may go on.
      if (!clause) throw;
      caught = TJValue::String(ErrorText(jeOutOfMemory).type);
      catching = true;
    }
    if (catching) {
      if (clause->Expr) Declare(clause->Expr->Symbol, caught);
      flow = Exec(clause->First, flags, sw);
    }
  } catch (...) {
    if (!s->Third) throw;
    pending = std::current_exception();
  }
  if (const TJStatement* fin = s->Third) {
    TJValue pendingReturn = std::move(returnValue_);
    TJValue pendingThrown;
    if (flow == Flow::Throw) {
      pendingThrown = std::move(thrown_);
      thrown_.Clear();
      throwing_ = false;
    }
    Flow finished = Exec(fin->First, flags, sw);
    // A finally that leaves by itself (return, break, continue, throw) replaces what was under way.
    if (finished != Flow::Normal) return finished;
    returnValue_ = std::move(pendingReturn);
    if (flow == Flow::Throw) {
      thrown_ = std::move(pendingThrown);
      throwing_ = true;
    }
    if (pending) std::rethrow_exception(pending);
  }
  return flow;
}

TJEngine::Flow TJEngine::ExecWith(const TJStatement* s, unsigned flags, SwitchState* sw) {
  TJValue target;
  Eval(s->Expr, target);
  TJObject* object = target.vObject();
  if (!object) ThrowError(jeWithObject);
  TJLocalSymbolTable* owner = current_;
  TJLocalSymbolTable* child = owner->NewChild(nullptr, object);
  ScopeGuard scope(this, child, owner);
  return Exec(s->First, flags, sw);
}

TJEngine::Flow TJEngine::ExecSwitch(const TJStatement* s, unsigned flags) {
  TJValue discriminant;
  Eval(s->Expr, discriminant);
  SwitchState state{&discriminant};
  unsigned body = (flags & ~(fVar | fStatic | fGlobal)) | fBreakable;
  Flow flow = Exec(s->First, body, &state);
  if (flow == Flow::Normal && !state.matched && state.defaultClause) {
    state.matched = true;
    flow = Exec(state.defaultClause, body, &state);
  }
  return flow == Flow::Break ? Flow::Normal : flow;
}

TJEngine::Flow TJEngine::ExecCase(const TJStatement* s, unsigned flags, SwitchState* sw) {
  if (!sw) ThrowError(jeSwitchCase);
  if (!sw->matched) {
    if (!s->Expr) {
      if (!sw->defaultClause) sw->defaultClause = s;
      return Flow::Normal;
    }
    TJValue value;
    Eval(s->Expr, value);
    bool matches;
    TJObject* object = value.vObject();
    if (object && IsRegExpObject(&value)) {
      matches = TestRegExp(object, *sw->discriminant);
    } else if (value.ValueType() == vtRegExp) {
      TJRef<TJObject> pattern(ToObject(value));
      matches = pattern && TestRegExp(pattern.get(), *sw->discriminant);
    } else {
      TJValue equal;
      CalcLogical(ecEqual, value, *sw->discriminant, equal);
      matches = AsBool(&equal);
    }
    if (!matches) return Flow::Normal;
    sw->matched = true;
  }
  return Exec(s->First, flags, nullptr);
}

bool TJEngine::ExecDeclarator(const TJStatement* s, unsigned flags) {
  const TJExpr* name = s->Expr;
  TJValue value;
  if (name->Left) {
    if (EvalOrThrown(name->Left, value)) return true;
  } else {
    value.SetInteger(0);  // a declared variable without a value holds 0
  }
  if (flags & fVar)
    Declare(name, value);
  else if (flags & fStatic)
    current_->SetFunctionLocal(name->Symbol, value);
  else
    current_->SetGlobal(name->Symbol, value);
  return false;
}

bool TJEngine::ExecReturn(const TJStatement* s) {
  TJValue value;
  if (s->Expr && EvalOrThrown(s->Expr, value)) return true;
  if (value.vFunction()) CloseOver(value);
  returnValue_ = std::move(value);
  return false;
}

TJEngine::Flow TJEngine::ExecThrow(const TJStatement* s) {
  TJValue value;
  if (EvalOrThrown(s->Expr, value)) return Flow::Throw;
  if (value.ValueType() == vtUndefined) value.SetString("");
  thrown_ = std::move(value);
  throwing_ = true;
  return Flow::Throw;
}

void TJEngine::RaiseThrown() {
  TJValue value = std::move(thrown_);
  thrown_.Clear();
  throwing_ = false;
  ThrowError(jeThrow, {}, &value);
}

}  // namespace engine
