// The syntax tree: expression records and statement records, made by two factories that own every
// record they hand out. The interpreter walks this tree directly.
//
// Lists (call arguments, array elements, object-literal properties) are held as a vector of items
// in source order in the node that owns the list; the interpreter evaluates them from the last item
// to the first. Nodes record their depth so that the parser can refuse trees too deep to walk.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/core/value.h"

namespace engine {

struct TJStatement;

enum TJExprCode : uint8_t {
  ecEmpty = 0,
  ecComma = 1,
  ecAdd = 2,
  ecSub = 3,
  ecDiv = 4,
  ecMul = 5,
  ecMod = 6,
  ecIntDiv = 7,
  ecAssign = 8,
  ecMulAssign = 9,
  ecDivAssign = 10,
  ecAddAssign = 11,
  ecSubAssign = 12,
  ecModAssign = 13,
  ecShlAssign = 14,
  ecShrAssign = 15,
  ecUShrAssign = 16,
  ecAndAssign = 17,
  ecXorAssign = 18,
  ecOrAssign = 19,
  ecConstant = 20,
  ecIdentifier = 21,
  ecPlus = 22,
  ecMinus = 23,
  ecThis = 24,
  ecMember = 25,
  ecProperty = 26,
  ecSuperMember = 27,
  ecNew = 28,
  ecObject = 29,
  ecArray = 30,
  ecCall = 31,
  ecPreInc = 33,
  ecPreDec = 34,
  ecPostInc = 35,
  ecPostDec = 36,
  ecDelete = 37,
  ecVoid = 38,
  ecTypeof = 39,
  ecNot = 40,
  ecOr = 41,       // || evaluating the right side only when needed
  ecOrBoth = 42,   // || evaluating both sides
  ecAnd = 43,
  ecAndBoth = 44,
  ecShl = 45,
  ecShr = 46,
  ecUShr = 47,
  ecLess = 48,
  ecGreater = 49,
  ecLessEqual = 50,
  ecGreaterEqual = 51,
  ecEqual = 52,
  ecNotEqual = 53,
  ecStrictEqual = 54,
  ecStrictNotEqual = 55,
  ecBitAnd = 56,
  ecBitXor = 57,
  ecBitOr = 58,
  ecBitNot = 59,
  ecConditional = 60,
  ecFunction = 61,
  ecMethodCall = 62,
  ecDeclare = 63,  // the "var" of a for head
};

// One expression node. Which fields a code uses:
//   binary operators, comma, assignments: Left, Right
//   unary operators, delete, void, typeof, ++/--, declaring wrapper: Left
//   constant: Value; identifier: Symbol (as a declarator or class name, Left holds the initialiser
//     or the superclass name node)
//   member access: Left object, Right name node; super.name: Right name node
//   object-literal property: Left key node, Right value (or null)
//   new: Left name node, Items arguments; object literal: Items properties; array literal: Items
//   call or index: Left callee, Items arguments
//   method call: Left object, Right name node, Items arguments
//   conditional: Left, Right, Third; function literal: Func
struct TJExpr {
  TJExprCode Code = ecEmpty;
  uint32_t Depth = 1;
  TJExpr* Left = nullptr;
  TJExpr* Right = nullptr;
  TJExpr* Third = nullptr;
  TJStatement* Func = nullptr;
  std::vector<TJExpr*> Items;
  TJValue Value;
  std::string Symbol;
  // A name that is a parameter of the function whose body holds it: that function's record and
  // the parameter's place (1 for the first; 0 for other names).
  const TJStatement* Owner = nullptr;
  uint32_t Parameter = 0;
  // A name found in a module scope, from a function's body (code: the function) or from the
  // module's own code (code: null): where it was found, and under which conditions that still
  // holds (kept by the interpreter).
  struct ModuleHit {
    const TJStatement* code = nullptr;
    uint64_t engineEpoch = 0;
    uint64_t globalEpoch = 0;
    const void* module = nullptr;
    uint64_t moduleSerial = 0;
    TJValue* slot = nullptr;
  };
  mutable ModuleHit Hit;
  // Where the name was last found among the variables of a call (kept by the interpreter; checked
  // at every use).
  mutable uint32_t Place = 0;
  // A method call's memory of its prototype members (made when first needed).
  mutable std::unique_ptr<TJMethodSite> Site;
};

enum TJStatementKind : uint8_t {
  skEmpty = 0,  // ";", a directive, a pasted import, or a carrier record of a for head
  skModule = 1,
  skBlock = 2,
  skExpression = 3,
  skIf = 4,
  skWhile = 5,
  skDoWhile = 6,
  skFor = 7,
  skForIn = 8,        // over indexes or keys
  skForInValues = 9,  // over values
  skFunction = 10,
  skParameter = 11,
  skClass = 12,
  skDeclarator = 13,
  skBreak = 14,
  skContinue = 15,
  skReturn = 16,
  skTry = 17,
  skCatch = 18,
  skFinally = 19,
  skThrow = 20,
  skWith = 21,
  skVar = 22,
  skCase = 23,
  skSwitch = 24,
  skStatic = 25,
  skGlobal = 26,
};

// Statement flags.
enum : uint8_t {
  sfUsesArguments = 1,  // a function whose own body names `arguments`
  sfCodeString = 2,     // a function or class of a code string's own tree (see TJCodeCache)
};

// One statement record. Fields by kind:
//   module: Expr import name node (null for the program), First first statement
//   block: First; expression, return, throw: Expr
//   if: Expr condition, First then, Second else; while, do-while: Expr, First body
//   for: Expr initialiser, First body, Second carrier whose Expr is the condition and whose Next is
//     a carrier whose Expr is the increment
//   for-in: Expr loop variable (a name, or the declaring wrapper around one), First body, Second
//     carrier whose Expr is the collection
//   function: Expr name node (or null), First first parameter, Second first statement of the body,
//     Third the enclosing module, function or class record (null in a code string)
//   parameter: Expr name node; class: Expr name node (superclass node in its Left), First first
//     member, Third enclosing record
//   declarator: Expr name node (initialiser in its Left); var/static/global: First first declarator
//   try: First body, Second catch clause, Third finally clause; catch: Expr variable, First body;
//   finally: First body; with: Expr, First body
//   case: Expr value (null for default), First first statement; switch: Expr, First first case
struct TJStatement {
  TJStatementKind Kind = skEmpty;
  uint8_t Flags = 0;
  int32_t Line = 0;
  TJExpr* Expr = nullptr;
  TJStatement* Prev = nullptr;
  TJStatement* Next = nullptr;
  TJStatement* First = nullptr;
  TJStatement* Second = nullptr;
  TJStatement* Third = nullptr;
};

// Records handed out by address: made in chunks that never move (each twice the last, up to a
// limit), cleared last made first. A cleared store keeps its first chunk for the next records.
template <class T>
class TJRecordStore {
 public:
  T& Add() {
    if (chunks_.empty() || chunks_[last_].size() == chunks_[last_].capacity()) NextChunk();
    ++count_;
    return chunks_[last_].emplace_back();
  }
  void Clear() {
    for (size_t i = chunks_.size(); i-- > 0;)
      while (!chunks_[i].empty()) chunks_[i].pop_back();
    if (chunks_.size() > 1) chunks_.resize(1);
    last_ = 0;
    count_ = 0;
  }
  size_t Count() const { return count_; }
  template <class F>
  void ForEach(F&& visit) {
    for (std::vector<T>& chunk : chunks_)
      for (T& record : chunk) visit(record);
  }

 private:
  static constexpr size_t kFirstChunk = 8;
  static constexpr size_t kLargestChunk = 256;
  void NextChunk() {
    if (!chunks_.empty() && chunks_[last_].empty()) return;  // a kept chunk, empty again
    size_t size = chunks_.empty() ? kFirstChunk : std::min(chunks_.back().capacity() * 2, kLargestChunk);
    chunks_.emplace_back().reserve(size);
    last_ = chunks_.size() - 1;
  }
  std::vector<std::vector<T>> chunks_;
  size_t last_ = 0;
  size_t count_ = 0;
};

// Makes expression nodes and folds operators whose operands are constants. Folding raises the
// script errors the value operators raise (e.g. "ETypeError" for NaN + 1).
class TJExprFactory {
 public:
  TJExpr* Make(TJExprCode code);
  TJExpr* MakeUnary(TJExprCode code, TJExpr* operand);
  TJExpr* MakeBinary(TJExprCode code, TJExpr* left, TJExpr* right);
  TJExpr* MakeTernary(TJExprCode code, TJExpr* first, TJExpr* second, TJExpr* third);
  TJExpr* MakeList(TJExprCode code, TJExpr* left, TJExpr* right, std::vector<TJExpr*> items);

  TJExpr* MakeConstant(TJValue value);
  TJExpr* MakeInteger(int32_t value);
  TJExpr* MakeDouble(double value);
  TJExpr* MakeNull();
  TJExpr* MakeBool(bool value);
  TJExpr* MakeString(const std::string& value);
  TJExpr* MakeNaN();
  // From the lexer's text: the source, a NUL, then the flags (at most 7 kept).
  TJExpr* MakeRegExp(const std::string& text);
  TJExpr* MakeIdentifier(const std::string& name);
  TJExpr* MakeThis();
  TJExpr* MakeProperty(TJExpr* key, TJExpr* value);
  TJExpr* MakeSuperMember(TJExpr* name);
  TJExpr* MakeFunction(TJStatement* function);

  void Clear();
  size_t Count() const { return nodes_.Count(); }

 private:
  TJExpr* NewNode(TJExprCode code);
  TJRecordStore<TJExpr> nodes_;
};

// Makes statement records, keeps the stack of module, function and class records under
// construction, and links statement lists.
class TJStatementFactory {
 public:
  TJStatementFactory() = default;
  ~TJStatementFactory() { if (records_.Count()) freed_.fetch_add(1, std::memory_order_relaxed); }
  TJStatementFactory(const TJStatementFactory&) = delete;
  TJStatementFactory& operator=(const TJStatementFactory&) = delete;

  // How many stores have let their records go, over the process: a statement address remembered
  // while this count stays the same still names the statement it named.
  static uint64_t FreedStores() { return freed_.load(std::memory_order_relaxed); }

  TJStatement* Make(TJStatementKind kind, int32_t line);

  static TJStatement* FirstOf(TJStatement* s);
  static TJStatement* LastOf(TJStatement* s);
  static void Link(TJStatement* a, TJStatement* b);

  TJStatement* ModuleBegin(TJExpr* importName);
  TJStatement* ModuleEnd(TJStatement* first);
  TJStatement* FunctionBegin(int32_t line);
  TJStatement* FunctionEnd(TJExpr* name, TJStatement* firstParameter, TJStatement* firstBodyStatement);
  TJStatement* ClassBegin(int32_t line);
  TJStatement* ClassEnd(TJExpr* name, TJStatement* firstMember);
  // Pushes a record that is not made here (null for code strings, whose functions enclose nothing).
  void Push(TJStatement* s) { open_.push_back(s); }
  void Pop() { open_.pop_back(); }
  size_t OpenCount() const { return open_.size(); }
  void Truncate(size_t count) { open_.resize(count < open_.size() ? count : open_.size()); }
  TJStatement* Top() const { return open_.empty() ? nullptr : open_.back(); }
  // The innermost function record under construction, if the innermost open record is one.
  TJStatement* OpenFunction() const;

  void Clear();
  size_t Count() const { return records_.Count(); }
  template <class F>
  void ForEach(F&& visit) {
    records_.ForEach(visit);
  }

 private:
  inline static std::atomic<uint64_t> freed_{0};
  TJRecordStore<TJStatement> records_;
  std::vector<TJStatement*> open_;
};

// The value of a set directive: true (with the number) when the node is an integer or Boolean
// constant.
bool ConstantDirectiveValue(const TJExpr* e, int32_t& value);

}  // namespace engine
