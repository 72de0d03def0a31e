// Declarations: functions, var and const declarators, and classes.
#include "script/core/parser.h"

#include "script/core/exceptions.h"

namespace engine {

TJStatement* TJParser::ParseFunction() {
  TJStatement* f = tree_->Statements.FunctionBegin(lex_.TokenLine());
  Next();
  TJExpr* name = Is(tkIdentifier) ? Name() : nullptr;
  Expect(tkLParen);
  TJStatement* firstParameter = nullptr;
  TJStatement* lastParameter = nullptr;
  if (!Is(tkRParen)) {
    for (;;) {
      TJStatement* p = tree_->Statements.Make(skParameter, lex_.TokenLine());
      p->Expr = Name();
      TJStatementFactory::Link(lastParameter, p);
      if (!firstParameter) firstParameter = p;
      lastParameter = p;
      if (!Is(tkComma)) break;
      Next();
    }
  }
  Expect(tkRParen);
  f->First = firstParameter;  // known to the names of the body
  Expect(tkLBrace);
  TJStatement* body = ParseStatementList();
  Expect(tkRBrace);
  tree_->Statements.FunctionEnd(name, firstParameter, body);
  return f;
}

TJStatement* TJParser::ParseDeclarator() {
  TJStatement* d = tree_->Statements.Make(skDeclarator, lex_.TokenLine());
  TJExpr* name = Name();
  if (Is(tkAssign)) {
    Next();
    name->Left = MustExpression(ParseAssignment());
    name->Depth = name->Left->Depth + 1;
  }
  d->Expr = name;
  return d;
}

TJStatement* TJParser::ParseDeclaration(TJStatementKind kind) {
  TJStatement* s = tree_->Statements.Make(kind, lex_.TokenLine());
  Next();
  TJStatement* last = nullptr;
  for (;;) {
    TJStatement* d = ParseDeclarator();
    TJStatementFactory::Link(last, d);
    if (!s->First) s->First = d;
    last = d;
    if (!Is(tkComma)) break;
    Next();
  }
  Expect(tkSemicolon);
  return s;
}

TJStatement* TJParser::ParseClass() {
  TJStatement* c = tree_->Statements.ClassBegin(lex_.TokenLine());
  Next();
  TJExpr* name = Name();
  TJExpr* super = nullptr;
  if (Is(tkLParen)) {
    Next();
    super = Name();
    Expect(tkRParen);
  } else if (Is(tkExtends)) {
    Next();
    super = Name();
  }
  Expect(tkLBrace);
  TJStatement* first = nullptr;
  TJStatement* last = nullptr;
  for (;;) {
    TJStatement* m;
    if (Is(tkFunction)) {
      m = ParseFunction();
    } else if (Is(tkVar)) {
      m = ParseDeclaration(skVar);
    } else if (Is(tkStatic)) {
      m = ParseDeclaration(skStatic);
    } else if (Is(tkGlobal)) {
      m = ParseDeclaration(skGlobal);
    } else if (Is(tkIdentifier)) {
      m = ParseDeclarator();
      Expect(tkSemicolon);
    } else {
      break;
    }
    TJStatementFactory::Link(last, m);
    if (!first) first = m;
    last = m;
  }
  Expect(tkRBrace);
  name->Left = super;
  tree_->Statements.ClassEnd(name, first);
  return c;
}

}  // namespace engine
