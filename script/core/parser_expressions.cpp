// Expressions: assignment, the binary operators by precedence level, unary and postfix forms,
// primaries, function expressions, object literals and new.
#include "script/core/parser.h"

#include "script/core/exceptions.h"

namespace engine {

namespace {

// A binary operator token: its node code and its precedence level (0 binds loosest); ecEmpty for
// any other token.
struct BinaryOperator {
  TJExprCode code;
  int level;
};

BinaryOperator BinaryOf(int32_t token, int32_t op, bool bothOperands) {
  switch (token) {
    case tkOrOr: return {bothOperands ? ecOrBoth : ecOr, 0};
    case tkAndAnd: return {bothOperands ? ecAndBoth : ecAnd, 1};
    case tkBitOr: return {ecBitOr, 2};
    case tkBitXor: return {ecBitXor, 3};
    case tkBitAnd: return {ecBitAnd, 4};
    case tkEquality:
      switch (op) {
        case '=': return {ecEqual, 5};
        case '!': return {ecNotEqual, 5};
        case opTriple: return {ecStrictEqual, 5};
        case opNotStrict: return {ecStrictNotEqual, 5};
      }
      break;
    case tkRelational:
      switch (op) {
        case '<': return {ecLess, 6};
        case '>': return {ecGreater, 6};
        case opLessEqual: return {ecLessEqual, 6};
        case opGreaterEqual: return {ecGreaterEqual, 6};
      }
      break;
    case tkShift: return {op == '<' ? ecShl : op == '>' ? ecShr : ecUShr, 7};
    case tkAdditive: return {op == '+' ? ecAdd : ecSub, 8};
    case tkMultiplicative: return {op == '*' ? ecMul : op == '/' ? ecDiv : ecMod, 9};
  }
  return {ecEmpty, 0};
}

// Tokens that never begin an expression and often end one: an expression is not looked for there.
bool EndsExpression(int32_t token) {
  switch (token) {
    case tkNone: case tkRBrace: case tkRParen: case tkRBracket: case tkSemicolon: case tkComma:
    case tkColon:
      return true;
    default:
      return false;
  }
}

TJExprCode CompoundCode(int32_t op) {
  switch (op) {
    case '*': return ecMulAssign;
    case '/': return ecDivAssign;
    case '+': return ecAddAssign;
    case '-': return ecSubAssign;
    case '%': return ecModAssign;
    case '<': return ecShlAssign;
    case '>': return ecShrAssign;
    case opTriple: return ecUShrAssign;
    case '&': return ecAndAssign;
    case '^': return ecXorAssign;
    default: return ecOrAssign;
  }
}

}  // namespace

TJExpr* TJParser::ParseExpression() {
  TJExpr* e = ParseAssignment();
  if (!e) return nullptr;
  while (Is(tkComma)) {
    Next();
    TJExpr* right = MustExpression(ParseAssignment());
    e = Checked(tree_->Exprs.MakeBinary(ecComma, e, right));
  }
  return e;
}

TJExpr* TJParser::ParseAssignment() {
  Enter();
  if (EndsExpression(Token())) {
    Leave();
    return nullptr;
  }
  TJExpr* left = ParseConditional();
  if (left && (Is(tkAssign) || Is(tkCompoundAssign))) {
    TJExprCode code = Is(tkAssign) ? ecAssign : CompoundCode(lex_.TokenOp());
    Next();
    TJExpr* right = MustExpression(ParseAssignment());
    left = Checked(tree_->Exprs.MakeBinary(code, left, right));
  }
  Leave();
  return left;
}

TJExpr* TJParser::ParseConditional() {
  TJExpr* condition = ParseBinary(0);
  if (!condition || !Is(tkQuestion)) return condition;
  Next();
  TJExpr* then = MustExpression(ParseExpression());
  Expect(tkColon);
  Enter();
  TJExpr* otherwise = MustExpression(ParseConditional());
  Leave();
  return Checked(tree_->Exprs.MakeTernary(ecConditional, condition, then, otherwise));
}

// Operators of `level` and tighter, left to right: an operand, then each operator of at least that
// level with its right operand, which takes the operators binding tighter than its own.
TJExpr* TJParser::ParseBinary(int level) {
  TJExpr* left = ParseUnary();
  if (!left) return nullptr;
  for (;;) {
    BinaryOperator op = BinaryOf(Token(), lex_.TokenOp(), bothOperands_);
    if (op.code == ecEmpty || op.level < level) break;
    Next();
    TJExpr* right = MustExpression(ParseBinary(op.level + 1));
    left = Checked(tree_->Exprs.MakeBinary(op.code, left, right));
  }
  return left;
}

TJExpr* TJParser::ParseUnary() {
  TJExprCode code;
  switch (Token()) {
    case tkIncDec: code = lex_.TokenOp() == '+' ? ecPreInc : ecPreDec; break;
    case tkAdditive: code = lex_.TokenOp() == '+' ? ecPlus : ecMinus; break;
    case tkUnaryOp: code = lex_.TokenOp() == '!' ? ecNot : ecBitNot; break;
    default: return ParsePostfix();
  }
  Next();
  Enter();
  TJExpr* operand = MustExpression(ParseUnary());
  Leave();
  return Checked(tree_->Exprs.MakeUnary(code, operand));
}

std::vector<TJExpr*> TJParser::ParseArguments() {
  std::vector<TJExpr*> items;
  TJExpr* e = ParseAssignment();
  if (!e) return items;
  items.push_back(e);
  while (Is(tkComma)) {
    Next();
    items.push_back(MustExpression(ParseAssignment()));
  }
  return items;
}

TJExpr* TJParser::ParsePostfix() {
  TJExpr* e = ParsePrimary();
  if (!e) return nullptr;
  for (;;) {
    if (Is(tkLParen) || Is(tkLBracket)) {
      Next();
      std::vector<TJExpr*> items = ParseArguments();
      // Either closing bracket ends either list.
      if (!Is(tkRParen) && !Is(tkRBracket)) SyntaxError();
      Next();
      e = tree_->Exprs.MakeList(ecCall, e, nullptr, std::move(items));
    } else if (Is(tkDot)) {
      Next();
      TJExpr* name = Name();
      if (Is(tkLParen) || Is(tkLBracket)) {
        Next();
        std::vector<TJExpr*> items = ParseArguments();
        if (!Is(tkRParen) && !Is(tkRBracket)) SyntaxError();
        Next();
        e = tree_->Exprs.MakeList(ecMethodCall, e, name, std::move(items));
      } else {
        e = tree_->Exprs.MakeBinary(ecMember, e, name);
      }
    } else if (Is(tkIncDec)) {
      TJExprCode code = lex_.TokenOp() == '+' ? ecPostInc : ecPostDec;
      Next();
      e = tree_->Exprs.MakeUnary(code, e);
    } else {
      break;
    }
    Checked(e);
  }
  return e;
}

TJExpr* TJParser::ParsePrimary() {
  switch (Token()) {
    case tkLParen: {
      Next();
      TJExpr* e = MustExpression(ParseExpression());
      Expect(tkRParen);
      return e;
    }
    case tkTypeof:
    case tkVoid: {
      TJExprCode code = Is(tkTypeof) ? ecTypeof : ecVoid;
      Next();
      TJExpr* operand;
      if (Is(tkLParen)) {
        Next();
        operand = MustExpression(ParseExpression());
        Expect(tkRParen);
      } else {
        operand = MustExpression(ParseExpression());
      }
      return Checked(tree_->Exprs.MakeUnary(code, operand));
    }
    case tkDelete:
      Next();
      return Checked(tree_->Exprs.MakeUnary(ecDelete, MustExpression(ParseExpression())));
    case tkLBrace:
      return ParseObjectLiteral();
    case tkLBracket: {
      Next();
      std::vector<TJExpr*> items = ParseArguments();
      Expect(tkRBracket);
      return Checked(tree_->Exprs.MakeList(ecArray, nullptr, nullptr, std::move(items)));
    }
    case tkIdentifier: {
      TJStatement* f = tree_->Statements.OpenFunction();
      if (f && lex_.TokenText() == "arguments") f->Flags |= sfUsesArguments;
      TJExpr* name = Name();
      // A parameter of the function being parsed: the interpreter may read its slot directly.
      uint32_t place = 1;
      for (const TJStatement* p = f ? f->First : nullptr; p; p = p->Next, ++place) {
        if (p->Expr && p->Expr->Symbol == name->Symbol) {
          name->Owner = f;
          name->Parameter = place;
          break;
        }
      }
      return name;
    }
    case tkInteger: {
      TJExpr* e = tree_->Exprs.MakeInteger(lex_.TokenInt());
      Next();
      return e;
    }
    case tkFloat: {
      TJExpr* e = tree_->Exprs.MakeDouble(lex_.TokenDouble());
      Next();
      return e;
    }
    case tkString: {
      TJExpr* e = tree_->Exprs.MakeString(lex_.TokenText());
      Next();
      return e;
    }
    case tkRegExp: {
      TJExpr* e = tree_->Exprs.MakeRegExp(lex_.TokenText());
      Next();
      return e;
    }
    case tkTrue:
    case tkFalse: {
      TJExpr* e = tree_->Exprs.MakeBool(Is(tkTrue));
      Next();
      return e;
    }
    case tkNull: {
      Next();
      return tree_->Exprs.MakeNull();
    }
    case tkNaN: {
      Next();
      return tree_->Exprs.MakeNaN();
    }
    case tkFunction:
      return ParseFunctionExpression();
    case tkNew:
      return ParseNew();
    case tkThis:
      Next();
      return tree_->Exprs.MakeThis();
    case tkSuper:
      Next();
      if (Is(tkDot)) {
        Next();
        return tree_->Exprs.MakeSuperMember(Name());
      }
      return tree_->Exprs.MakeThis();
    default:
      return nullptr;
  }
}

TJExpr* TJParser::ParseFunctionExpression() {
  TJStatement* f = ParseFunction();
  TJExpr* literal = tree_->Exprs.MakeFunction(f);
  if (!f->Expr) return literal;
  // A named function expression assigns itself to its name.
  return tree_->Exprs.MakeBinary(ecAssign, tree_->Exprs.MakeIdentifier(f->Expr->Symbol), literal);
}

TJExpr* TJParser::ParseObjectLiteral() {
  Next();
  std::vector<TJExpr*> properties;
  if (!Is(tkRBrace)) {
    for (;;) {
      TJExpr* key;
      switch (Token()) {
        case tkIdentifier: key = tree_->Exprs.MakeIdentifier(lex_.TokenText()); break;
        case tkString: key = tree_->Exprs.MakeString(lex_.TokenText()); break;
        case tkInteger: key = tree_->Exprs.MakeInteger(lex_.TokenInt()); break;
        case tkFloat: key = tree_->Exprs.MakeDouble(lex_.TokenDouble()); break;
        default: SyntaxError();
      }
      Next();
      TJExpr* value = nullptr;
      if (Is(tkColon)) {
        Next();
        value = MustExpression(ParseAssignment());
      }
      properties.push_back(tree_->Exprs.MakeProperty(key, value));
      if (!Is(tkComma)) break;
      Next();
    }
  }
  Expect(tkRBrace);
  return Checked(tree_->Exprs.MakeList(ecObject, nullptr, nullptr, std::move(properties)));
}

TJExpr* TJParser::ParseNew() {
  Next();
  TJExpr* name = Name();
  std::vector<TJExpr*> items;
  if (Is(tkLParen)) {
    Next();
    items = ParseArguments();
    Expect(tkRParen);
  }
  return Checked(tree_->Exprs.MakeList(ecNew, name, nullptr, std::move(items)));
}

}  // namespace engine
