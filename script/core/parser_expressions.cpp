// Expressions: assignment, the binary operators by precedence level, unary and postfix forms,
// primaries, function expressions, object literals and new.
#include "script/core/parser.h"

#include "script/core/exceptions.h"

namespace engine {

namespace {

TJExprCode BinaryCode(int level, int32_t token, int32_t op, bool bothOperands) {
  switch (level) {
    case 0: return token == tkOrOr ? (bothOperands ? ecOrBoth : ecOr) : ecEmpty;
    case 1: return token == tkAndAnd ? (bothOperands ? ecAndBoth : ecAnd) : ecEmpty;
    case 2: return token == tkBitOr ? ecBitOr : ecEmpty;
    case 3: return token == tkBitXor ? ecBitXor : ecEmpty;
    case 4: return token == tkBitAnd ? ecBitAnd : ecEmpty;
    case 5:
      if (token != tkEquality) return ecEmpty;
      switch (op) {
        case '=': return ecEqual;
        case '!': return ecNotEqual;
        case opTriple: return ecStrictEqual;
        case opNotStrict: return ecStrictNotEqual;
      }
      return ecEmpty;
    case 6:
      if (token != tkRelational) return ecEmpty;
      switch (op) {
        case '<': return ecLess;
        case '>': return ecGreater;
        case opLessEqual: return ecLessEqual;
        case opGreaterEqual: return ecGreaterEqual;
      }
      return ecEmpty;
    case 7:
      if (token != tkShift) return ecEmpty;
      return op == '<' ? ecShl : op == '>' ? ecShr : ecUShr;
    case 8:
      if (token != tkAdditive) return ecEmpty;
      return op == '+' ? ecAdd : ecSub;
    case 9:
      if (token != tkMultiplicative) return ecEmpty;
      return op == '*' ? ecMul : op == '/' ? ecDiv : ecMod;
  }
  return ecEmpty;
}
constexpr int kUnaryLevel = 10;

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

TJExpr* TJParser::ParseBinary(int level) {
  if (level == kUnaryLevel) return ParseUnary();
  TJExpr* left = ParseBinary(level + 1);
  if (!left) return nullptr;
  for (;;) {
    TJExprCode code = BinaryCode(level, Token(), lex_.TokenOp(), bothOperands_);
    if (code == ecEmpty) break;
    Next();
    TJExpr* right = MustExpression(ParseBinary(level + 1));
    left = Checked(tree_->Exprs.MakeBinary(code, left, right));
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
