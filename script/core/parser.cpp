#include "script/core/parser.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/rt/utf8.h"
#include "script/core/exceptions.h"

namespace engine {

namespace fs = std::filesystem;

namespace {

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// `file` in `dir`: the exact name, else the one name there that matches it ignoring case (scripts
// written where file names ignore case keep finding their imports).
bool FindInFolder(const fs::path& dir, const std::string& file, std::string& path) {
  fs::path exact = dir / file;
  if (IsFile(exact)) {
    path = exact.string();
    return true;
  }
  std::error_code ec;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
  if (ec) return false;
  for (const auto& entry : it) {
    std::string candidate = entry.path().filename().string();
    if (rt::sameText(candidate, file) && IsFile(entry.path())) {
      path = (dir / candidate).string();
      return true;
    }
  }
  return false;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::path(path), ec);
  return ec ? path : p.string();
}

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

void TJParser::SyntaxError(const std::string& prefix) {
  std::string message = prefix.empty() ? std::string() : prefix + ": ";
  message += "Text( " + lex_.TokenText() + " )";
  throw EJSyntaxError(lex_.TokenLine(), message);
}

void TJParser::Enter() {
  if (++nesting_ > kMaxNesting) SyntaxError("too deeply nested");
}

TJExpr* TJParser::Checked(TJExpr* e) {
  if (e->Depth > kMaxNesting) SyntaxError("too deeply nested");
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

bool TJParser::FindImportFile(const std::string& name, std::string& path) const {
  if (name.empty()) return false;
  fs::path given(name);
  if (FindInFolder(given.parent_path(), given.filename().string(), path)) return true;
  std::string file = given.filename().string();
  for (const std::string& folder : *libraryPath_) {
    if (!folder.empty() && FindInFolder(fs::path(folder), file, path)) return true;
  }
  return false;
}

std::string TJParser::ReadImportFile(const std::string& path, const std::string& fileName) {
  std::ifstream in(path, std::ios::binary);
  if (!in) SyntaxError("can not open: " + fileName);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) SyntaxError("can not open: " + fileName);
  // The file's lines, each ended by CR LF, whatever line ends the file used.
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 16);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    text.append(bytes, start, end - start);
    text += "\r\n";
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
      ++end;
    start = end + 1;
  }
  return text;
}

bool TJParser::InImportChain(const std::string& path) const {
  std::string target = Canonical(path);
  for (const TJParser* p = this; p; p = p->parent_) {
    if (!p->SourceName.empty() && Canonical(p->SourceName) == target) return true;
    for (const std::string& open : p->lex_.OpenSources())
      if (!open.empty() && Canonical(open) == target) return true;
  }
  return false;
}

TJStatement* TJParser::ParseImport() {
  int32_t line = lex_.TokenLine();
  Next();
  if (!Is(tkIdentifier)) SyntaxError();
  std::string name = lex_.TokenText();
  TJExpr* nameNode = Name();
  std::string file = name + ".brs";

  if (Is(tkSemicolon)) {
    std::string path;
    if (!FindImportFile(file, path)) SyntaxError("file not found: " + file);
    if (InImportChain(path) || importDepth_ >= kMaxImportDepth) SyntaxError("circular import: " + file);
    auto sub = std::unique_ptr<TJParser>(new TJParser(this));
    sub->Source = ReadImportFile(path, file);
    sub->SourceName = path;
    TJStatement* module;
    if (sub->Parse(nameNode)) {
      module = sub->Root();
    } else {
      module = tree_->Statements.Make(skModule, 1);
      module->Expr = nameNode;
    }
    tree_->SubParsers.push_back(std::move(sub));
    Next();
    return module;
  }

  if (!Is(tkDot)) SyntaxError();
  Next();
  if (!Is(tkMultiplicative) || lex_.TokenOp() != '*') SyntaxError();
  Next();
  if (!Is(tkSemicolon)) SyntaxError();
  std::string path;
  if (!FindImportFile(file, path)) SyntaxError("file not found: " + file);
  if (InImportChain(path)) SyntaxError("circular import: " + file);
  // The file's text goes in right after the ";", before the next token is read.
  lex_.InsertText(ReadImportFile(path, file), path);
  TJStatement* s = tree_->Statements.Make(skEmpty, line);
  Next();
  return s;
}

// ---------------------------------------------------------------------------------------------
// Statements

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
  if (!s->Second && !s->Third) SyntaxError("not found catch-statement");
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

// ---------------------------------------------------------------------------------------------
// Expressions

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

// ---------------------------------------------------------------------------------------------
// Code strings

std::unique_ptr<TJSyntaxTree> TJParser::ParseCode(const std::string& text, TJExpr*& code) {
  // The code's records go to a tree of their own, the program's tree put back whatever happens.
  auto own = std::make_unique<TJSyntaxTree>();
  struct Restore {
    TJParser* p;
    std::unique_ptr<TJSyntaxTree>& own;
    ~Restore() {
      p->tree_.swap(own);
      p->nesting_ = 0;
    }
  } restore{this, own};
  tree_.swap(own);

  lex_.SetText("function(){return " + text + " ;}");
  nesting_ = 0;
  tree_->Statements.Push(nullptr);
  Next();
  TJExpr* e = ParseFunctionExpression();
  // Whatever follows the function (an unbalanced "}" in the code) is an error, not ignored.
  if (!Is(tkNone)) SyntaxError();
  tree_->Statements.ForEach([](TJStatement& s) {
    if (s.Kind == skFunction || s.Kind == skClass) s.Flags |= sfCodeString;
  });
  tree_->Statements.Truncate(0);
  code = e;
  std::unique_ptr<TJSyntaxTree> result = std::move(tree_);
  tree_ = std::make_unique<TJSyntaxTree>();  // the restore swaps the program's tree back in
  return result;
}

}  // namespace engine
