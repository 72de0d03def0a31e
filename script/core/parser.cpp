#include "script/core/parser.h"

#include "script/core/error_table.h"
#include "script/core/exceptions.h"

namespace engine {

TJParser::TJParser() : tree_(std::make_unique<TJSyntaxTree>()), libraryPath_(&ownLibraryPath_) {}

TJParser::TJParser(TJParser* parent)
    : tree_(std::make_unique<TJSyntaxTree>()),
      libraryPath_(parent->libraryPath_),
      parent_(parent),
      importDepth_(parent->importDepth_ + 1) {}

TJParser::~TJParser() = default;

void TJParser::DropRetiredTrees() { retired_.clear(); }

void TJParser::ResetState() {
  lex_.Reset();
  // Function values of the last run may still point into the old tree: it is kept until the
  // engine has let go of them (DropRetiredTrees).
  if (tree_->Exprs.Count() || tree_->Statements.Count()) {
    retired_.push_back(std::move(tree_));
    tree_ = std::make_unique<TJSyntaxTree>();
  }
  root_ = nullptr;
  directives_.clear();
  bothOperands_ = false;
  nesting_ = 0;
}

int32_t TJParser::Directive(const std::string& name, int32_t fallback) const {
  auto it = directives_.find(name);
  return it == directives_.end() ? fallback : it->second;
}

// ---------------------------------------------------------------------------------------------
// Tokens and errors

void TJParser::Next() {
  lex_.NextToken();
  if (lex_.Unterminated()) SyntaxError();
}

void TJParser::Expect(int32_t token) {
  if (!Is(token)) SyntaxError();
  Next();
}

void TJParser::SyntaxError() {
  throw EJSyntaxError(lex_.TokenLine(), ErrorMessage(jeSyntax, {lex_.TokenText()}));
}

void TJParser::SyntaxError(TJErrorCode code, std::string_view detail) {
  std::string prefix = ErrorMessage(code, {detail});
  throw EJSyntaxError(lex_.TokenLine(), ErrorMessage(jeSyntaxAt, {prefix, lex_.TokenText()}));
}

void TJParser::Enter() {
  if (++nesting_ > kMaxNesting) SyntaxError(jeTooDeeplyNested);
}

TJExpr* TJParser::Checked(TJExpr* e) {
  if (e->Depth > kMaxNesting) SyntaxError(jeTooDeeplyNested);
  return e;
}

TJExpr* TJParser::MustExpression(TJExpr* e) {
  if (!e) SyntaxError();
  return e;
}

TJExpr* TJParser::Name() {
  if (!Is(tkIdentifier)) SyntaxError();
  TJExpr* e = tree_->Exprs.MakeIdentifier(lex_.TokenText());
  Next();
  return e;
}

// ---------------------------------------------------------------------------------------------
// Modules

bool TJParser::Parse(TJExpr* importName) {
  ResetState();
  lex_.SetText(Source, SourceName);
  Next();
  if (Is(tkNone)) return false;
  TJStatement* module = tree_->Statements.ModuleBegin(importName);
  tree_->Statements.ModuleEnd(ParseSourceElements());
  root_ = module;
  return true;
}

TJStatement* TJParser::ParseSourceElements() {
  TJStatement* first = nullptr;
  TJStatement* last = nullptr;
  while (!Is(tkNone)) {
    TJStatement* s;
    if (Is(tkClass))
      s = ParseClass();
    else if (Is(tkImport))
      s = ParseImport();
    else
      s = ParseStatement();
    // A token that begins nothing is an error here, not the silent end of the program.
    if (!s) SyntaxError();
    TJStatementFactory::Link(last, s);
    if (!first) first = s;
    last = s;
  }
  return first;
}

// ---------------------------------------------------------------------------------------------
// Code strings

std::unique_ptr<TJSyntaxTree> TJParser::ParseCode(std::string_view text, TJExpr*& code,
                                                  std::unique_ptr<TJSyntaxTree> into) {
  // The code's records go to a tree of their own, the program's tree put back whatever happens.
  std::unique_ptr<TJSyntaxTree> own = into ? std::move(into) : std::make_unique<TJSyntaxTree>();
  struct Restore {
    TJParser* p;
    std::unique_ptr<TJSyntaxTree>& own;
    bool pending = true;
    ~Restore() {
      if (pending) p->tree_.swap(own);
      p->nesting_ = 0;
    }
  } restore{this, own};
  tree_.swap(own);

  nesting_ = 0;
  tree_->Statements.Push(nullptr);
  TJExpr* e;
  if (lex_.OnDebugout) {
    // Traced: the wrapper's tokens are read (and shown) like the text's.
    std::string wrapped;
    wrapped.reserve(text.size() + 32);
    wrapped.append("function(){return ").append(text).append(" ;}");
    lex_.SetText(std::move(wrapped));
    Next();
    e = ParseFunctionExpression();
  } else {
    lex_.SetTextAfter(text, " ;}", tkReturn);
    Next();
    e = ParseCodeFunction();
  }
  // Whatever follows the function (an unbalanced "}" in the code) is an error, not ignored.
  if (!Is(tkNone)) SyntaxError();
  tree_->Statements.ForEach([](TJStatement& s) {
    if (s.Kind == skFunction || s.Kind == skClass) s.Flags |= sfCodeString;
  });
  tree_->Statements.Truncate(0);
  code = e;
  tree_.swap(own);  // the program's tree back in; `own` holds the code's
  restore.pending = false;
  return own;
}

// The function of a code string, its opening "function(){return " taken as read: the records
// and checks that parsing the whole text would make.
TJExpr* TJParser::ParseCodeFunction() {
  TJStatement* f = tree_->Statements.FunctionBegin(1);
  Enter();  // the return statement's level
  TJStatement* body = tree_->Statements.Make(skReturn, 1);
  body->Expr = ParseExpression();
  Expect(tkSemicolon);
  Leave();
  TJStatementFactory::Link(body, ParseStatementList());
  Expect(tkRBrace);
  tree_->Statements.FunctionEnd(nullptr, nullptr, body);
  return tree_->Exprs.MakeFunction(f);
}

}  // namespace engine
