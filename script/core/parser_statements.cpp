// Statements: blocks, conditionals, loops, jumps, switch, try and directives.
#include "script/core/parser.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"

namespace engine {

TJStatement* TJParser::SubStatement() {
  TJStatement* s = ParseStatement();
  if (!s) SyntaxError();
  return s;
}

TJStatement* TJParser::ParseStatementList() {
  TJStatement* first = nullptr;
  TJStatement* last = nullptr;
  while (TJStatement* s = ParseStatement()) {
    TJStatementFactory::Link(last, s);
    if (!first) first = s;
    last = s;
  }
  return first;
}

TJStatement* TJParser::ParseStatement() {
  Enter();
  TJStatement* s = nullptr;
  int32_t line = lex_.TokenLine();
  switch (Token()) {
    case tkFunction: s = ParseFunction(); break;
    case tkLBrace: s = ParseBlock(); break;
    case tkSemicolon:
      s = tree_->Statements.Make(skEmpty, line);
      Next();
      break;
    case tkIf: s = ParseIf(); break;
    case tkWhile: s = ParseHeaded(skWhile); break;
    case tkFor: s = ParseFor(); break;
    case tkContinue: s = ParseBreakContinue(skContinue); break;
    case tkBreak: s = ParseBreakContinue(skBreak); break;
    case tkReturn: s = ParseReturnThrow(skReturn); break;
    case tkSwitch: s = ParseSwitch(); break;
    case tkVar: s = ParseDeclaration(skVar); break;
    case tkStatic: s = ParseDeclaration(skStatic); break;
    case tkGlobal: s = ParseDeclaration(skGlobal); break;
    case tkTry: s = ParseTry(); break;
    case tkThrow: s = ParseReturnThrow(skThrow); break;
    case tkWith: s = ParseHeaded(skWith); break;
    case tkDo: s = ParseDo(); break;
    case tkAt: s = ParseDirective(); break;
    default:
      if (TJExpr* e = ParseExpression()) {
        Expect(tkSemicolon);
        s = tree_->Statements.Make(skExpression, line);
        s->Expr = e;
      }
      break;
  }
  Leave();
  return s;
}

TJStatement* TJParser::ParseBlock() {
  TJStatement* s = tree_->Statements.Make(skBlock, lex_.TokenLine());
  Next();
  s->First = ParseStatementList();
  Expect(tkRBrace);
  return s;
}

TJExpr* TJParser::ParenExpression() {
  Expect(tkLParen);
  TJExpr* e = MustExpression(ParseExpression());
  Expect(tkRParen);
  return e;
}

TJStatement* TJParser::ParseHeaded(TJStatementKind kind) {
  TJStatement* s = tree_->Statements.Make(kind, lex_.TokenLine());
  Next();
  s->Expr = ParenExpression();
  s->First = SubStatement();
  return s;
}

TJStatement* TJParser::ParseIf() {
  TJStatement* s = ParseHeaded(skIf);
  if (Is(tkElse)) {
    Next();
    s->Second = SubStatement();
  }
  return s;
}

TJStatement* TJParser::ParseDo() {
  TJStatement* s = tree_->Statements.Make(skDoWhile, lex_.TokenLine());
  Next();
  s->First = SubStatement();
  Expect(tkWhile);
  s->Expr = ParenExpression();
  Expect(tkSemicolon);
  return s;
}

TJStatement* TJParser::ParseFor() {
  int32_t line = lex_.TokenLine();
  Next();
  Expect(tkLParen);
  TJExpr* init;
  if (Is(tkVar)) {
    Next();
    init = Checked(tree_->Exprs.MakeUnary(ecDeclare, MustExpression(ParseExpression())));
  } else {
    init = ParseExpression();
  }
  if (Is(tkIn)) {
    if (!init) SyntaxError();
    Next();
    TJStatement* s = tree_->Statements.Make(Directive("VERSION7", 0) != 0 ? skForInValues : skForIn, line);
    s->Expr = init;
    s->Second = tree_->Statements.Make(skEmpty, line);
    s->Second->Expr = MustExpression(ParsePostfix());
    Expect(tkRParen);
    s->First = SubStatement();
    return s;
  }
  TJStatement* s = tree_->Statements.Make(skFor, line);
  s->Expr = init;
  Expect(tkSemicolon);
  TJStatement* condition = tree_->Statements.Make(skEmpty, line);
  condition->Expr = ParseExpression();
  Expect(tkSemicolon);
  TJStatement* increment = tree_->Statements.Make(skEmpty, line);
  increment->Expr = ParseExpression();
  Expect(tkRParen);
  TJStatementFactory::Link(condition, increment);
  s->Second = condition;
  s->First = SubStatement();
  return s;
}

TJStatement* TJParser::ParseBreakContinue(TJStatementKind kind) {
  TJStatement* s = tree_->Statements.Make(kind, lex_.TokenLine());
  Next();
  Expect(tkSemicolon);
  return s;
}

TJStatement* TJParser::ParseReturnThrow(TJStatementKind kind) {
  TJStatement* s = tree_->Statements.Make(kind, lex_.TokenLine());
  Next();
  s->Expr = ParseExpression();
  Expect(tkSemicolon);
  return s;
}

TJStatement* TJParser::ParseSwitch() {
  TJStatement* s = tree_->Statements.Make(skSwitch, lex_.TokenLine());
  Next();
  s->Expr = ParenExpression();
  Expect(tkLBrace);
  TJStatement* last = nullptr;
  bool sawDefault = false;
  while (Is(tkCase) || Is(tkDefault)) {
    TJStatement* clause = tree_->Statements.Make(skCase, lex_.TokenLine());
    if (Is(tkCase)) {
      Next();
      clause->Expr = MustExpression(ParseExpression());
    } else {
      if (sawDefault) SyntaxError();
      sawDefault = true;
      Next();
    }
    Expect(tkColon);
    clause->First = ParseStatementList();
    TJStatementFactory::Link(last, clause);
    if (!s->First) s->First = clause;
    last = clause;
  }
  if (!s->First) SyntaxError();
  Expect(tkRBrace);
  return s;
}

TJStatement* TJParser::ParseTry() {
  TJStatement* s = tree_->Statements.Make(skTry, lex_.TokenLine());
  Next();
  s->First = SubStatement();
  if (Is(tkCatch)) {
    TJStatement* c = tree_->Statements.Make(skCatch, lex_.TokenLine());
    Next();
    if (Is(tkLParen)) {
      Next();
      if (Is(tkIdentifier)) c->Expr = Name();
      Expect(tkRParen);
    }
    c->First = SubStatement();
    s->Second = c;
  }
  if (Is(tkFinally)) {
    TJStatement* f = tree_->Statements.Make(skFinally, lex_.TokenLine());
    Next();
    f->First = SubStatement();
    s->Third = f;
  }
  if (!s->Second && !s->Third) SyntaxError(jeCatchMissing);
  return s;
}

TJStatement* TJParser::ParseDirective() {
  TJStatement* s = tree_->Statements.Make(skEmpty, lex_.TokenLine());
  Next();
  if (!Is(tkIdentifier) || lex_.TokenText() != "set") SyntaxError();
  Next();
  Expect(tkAt);
  if (!Is(tkIdentifier)) SyntaxError();
  std::string name = lex_.TokenText();
  Next();
  Expect(tkAssign);
  TJExpr* value = MustExpression(ParseExpression());
  int32_t number;
  if (!ConstantDirectiveValue(value, number)) SyntaxError();
  directives_[name] = number;
  if (name == "SHORT_CIRCUIT") bothOperands_ = number == 0;
  return s;
}

}  // namespace engine
