#include "script/core/tree.h"

#include <algorithm>

namespace engine {

namespace {

uint32_t DepthOf(const TJExpr* e) { return e ? e->Depth : 0; }

bool IsConstant(const TJExpr* e) { return e && e->Code == ecConstant; }

// Codes folded with the arithmetic routine and with the logical and comparison routine.
bool FoldsArithmetic(TJExprCode code) {
  return (code >= ecAdd && code <= ecIntDiv) || (code >= ecShl && code <= ecUShr) ||
         (code >= ecBitAnd && code <= ecBitOr);
}
bool FoldsLogical(TJExprCode code) {
  return (code >= ecOr && code <= ecAndBoth) || (code >= ecLess && code <= ecStrictNotEqual);
}

}  // namespace

bool ConstantDirectiveValue(const TJExpr* e, int32_t& value) {
  if (!IsConstant(e)) return false;
  if (IsInteger(&e->Value)) {
    value = e->Value.vInteger();
    return true;
  }
  if (IsBool(&e->Value)) {
    value = e->Value.vBool() ? 1 : 0;
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Expressions

TJExpr* TJExprFactory::NewNode(TJExprCode code) {
  TJExpr& e = nodes_.Add();
  e.Code = code;
  return &e;
}

TJExpr* TJExprFactory::Make(TJExprCode code) { return NewNode(code); }

TJExpr* TJExprFactory::MakeUnary(TJExprCode code, TJExpr* operand) {
  if ((code == ecPlus || code == ecMinus || code == ecBitNot) && IsConstant(operand)) {
    TJValue result;
    CalcUnary(code, operand->Value, result);
    operand->Value = std::move(result);
    return operand;
  }
  TJExpr* e = NewNode(code);
  e->Left = operand;
  e->Depth = DepthOf(operand) + 1;
  return e;
}

TJExpr* TJExprFactory::MakeBinary(TJExprCode code, TJExpr* left, TJExpr* right) {
  if (IsConstant(left) && IsConstant(right) && (FoldsArithmetic(code) || FoldsLogical(code))) {
    TJValue result;
    if (FoldsArithmetic(code))
      CalcBinary(code, left->Value, right->Value, result);
    else
      CalcLogical(code, left->Value, right->Value, result);
    // The left node becomes the result; the right one is no longer referenced.
    left->Value = std::move(result);
    right->Value.Clear();
    return left;
  }
  TJExpr* e = NewNode(code);
  e->Left = left;
  e->Right = right;
  e->Depth = std::max(DepthOf(left), DepthOf(right)) + 1;
  return e;
}

TJExpr* TJExprFactory::MakeTernary(TJExprCode code, TJExpr* first, TJExpr* second, TJExpr* third) {
  TJExpr* e = NewNode(code);
  e->Left = first;
  e->Right = second;
  e->Third = third;
  e->Depth = std::max({DepthOf(first), DepthOf(second), DepthOf(third)}) + 1;
  return e;
}

TJExpr* TJExprFactory::MakeList(TJExprCode code, TJExpr* left, TJExpr* right, std::vector<TJExpr*> items) {
  TJExpr* e = NewNode(code);
  e->Left = left;
  e->Right = right;
  uint32_t depth = std::max(DepthOf(left), DepthOf(right));
  for (const TJExpr* item : items) depth = std::max(depth, DepthOf(item));
  e->Depth = depth + 1;
  e->Items = std::move(items);
  return e;
}

TJExpr* TJExprFactory::MakeConstant(TJValue value) {
  TJExpr* e = NewNode(ecConstant);
  e->Value = std::move(value);
  return e;
}

TJExpr* TJExprFactory::MakeInteger(int32_t value) { return MakeConstant(TJValue::Integer(value)); }
TJExpr* TJExprFactory::MakeDouble(double value) { return MakeConstant(TJValue::Double(value)); }
TJExpr* TJExprFactory::MakeNull() { return MakeConstant(TJValue::Null()); }
TJExpr* TJExprFactory::MakeBool(bool value) { return MakeConstant(TJValue::Bool(value)); }
TJExpr* TJExprFactory::MakeString(const std::string& value) { return MakeConstant(TJValue::String(value)); }

TJExpr* TJExprFactory::MakeNaN() {
  TJValue v;
  v.SetNaN();
  return MakeConstant(std::move(v));
}

TJExpr* TJExprFactory::MakeRegExp(const std::string& text) {
  TJExpr* e = NewNode(ecConstant);
  size_t nul = text.find('\0');
  std::string_view view(text);
  std::string_view source = nul == std::string::npos ? view : view.substr(0, nul);
  std::string_view flags = nul == std::string::npos ? std::string_view() : view.substr(nul + 1, 7);
  BuildRegExp(e->Value, source, flags);
  return e;
}

TJExpr* TJExprFactory::MakeIdentifier(const std::string& name) {
  TJExpr* e = NewNode(ecIdentifier);
  e->Symbol = name;
  return e;
}

TJExpr* TJExprFactory::MakeThis() { return NewNode(ecThis); }

TJExpr* TJExprFactory::MakeProperty(TJExpr* key, TJExpr* value) {
  TJExpr* e = NewNode(ecProperty);
  e->Left = key;
  e->Right = value;
  e->Depth = std::max(DepthOf(key), DepthOf(value)) + 1;
  return e;
}

TJExpr* TJExprFactory::MakeSuperMember(TJExpr* name) {
  TJExpr* e = NewNode(ecSuperMember);
  e->Right = name;
  e->Depth = 2;
  return e;
}

TJExpr* TJExprFactory::MakeFunction(TJStatement* function) {
  TJExpr* e = NewNode(ecFunction);
  e->Func = function;
  return e;
}

void TJExprFactory::Clear() {
  nodes_.Clear();
}

// ---------------------------------------------------------------------------------------------
// Statements

TJStatement* TJStatementFactory::Make(TJStatementKind kind, int32_t line) {
  TJStatement& s = records_.Add();
  s.Kind = kind;
  s.Line = line;
  return &s;
}

TJStatement* TJStatementFactory::FirstOf(TJStatement* s) {
  while (s && s->Prev) s = s->Prev;
  return s;
}

TJStatement* TJStatementFactory::LastOf(TJStatement* s) {
  while (s && s->Next) s = s->Next;
  return s;
}

void TJStatementFactory::Link(TJStatement* a, TJStatement* b) {
  if (a) a->Next = b;
  if (b) b->Prev = a;
}

TJStatement* TJStatementFactory::ModuleBegin(TJExpr* importName) {
  TJStatement* s = Make(skModule, 1);
  s->Expr = importName;
  open_.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::ModuleEnd(TJStatement* first) {
  TJStatement* s = open_.back();
  open_.pop_back();
  s->First = first;
  return s;
}

TJStatement* TJStatementFactory::FunctionBegin(int32_t line) {
  TJStatement* s = Make(skFunction, line);
  s->Third = Top();
  open_.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::FunctionEnd(TJExpr* name, TJStatement* firstParameter,
                                             TJStatement* firstBodyStatement) {
  TJStatement* s = open_.back();
  open_.pop_back();
  s->Expr = name;
  s->First = firstParameter;
  s->Second = firstBodyStatement;
  return s;
}

TJStatement* TJStatementFactory::ClassBegin(int32_t line) {
  TJStatement* s = Make(skClass, line);
  s->Third = Top();
  open_.push_back(s);
  return s;
}

TJStatement* TJStatementFactory::ClassEnd(TJExpr* name, TJStatement* firstMember) {
  TJStatement* s = open_.back();
  open_.pop_back();
  s->Expr = name;
  s->First = firstMember;
  return s;
}

TJStatement* TJStatementFactory::OpenFunction() const {
  TJStatement* top = Top();
  return top && top->Kind == skFunction ? top : nullptr;
}

void TJStatementFactory::Clear() {
  open_.clear();
  if (!records_.Count()) return;
  records_.Clear();
  freed_.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace engine
