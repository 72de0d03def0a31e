// The parser: recursive descent with one token of look-ahead over the lexer's tokens. It builds the
// syntax tree of one module (the program, or one imported file), evaluates the set directives,
// finds and loads import files, and parses the code strings the interpreter compiles at run time.
// A syntax error ends parsing at once with an EJSyntaxError.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/core/error_table.h"
#include "script/core/lexer.h"
#include "script/core/tree.h"

namespace engine {

class TJParser;

// One parse's records, with the parsers of the modules it imported.
struct TJSyntaxTree {
  TJExprFactory Exprs;
  TJStatementFactory Statements;
  std::vector<std::unique_ptr<TJParser>> SubParsers;
};

class TJParser {
 public:
  TJParser();
  ~TJParser();
  TJParser(const TJParser&) = delete;
  TJParser& operator=(const TJParser&) = delete;

  // The text the next Parse reads, and the name of its file (empty for text from the host).
  std::string Source;
  std::string SourceName;

  // Folders searched for import files, in order. Parsers of imported modules use the list of the
  // parser that imported them.
  std::vector<std::string>& LibraryPath() { return *libraryPath_; }

  // Parses Source into a module record. False (and no tree) for a text without tokens.
  bool Parse(TJExpr* importName = nullptr);
  // The module record of the last successful Parse, else null.
  TJStatement* Root() const { return root_; }

  // Finds an import file: the name itself (relative to the current folder), then the name's file
  // part in each LibraryPath folder in order; in each folder the exact name first, then a name that
  // differs only in case.
  bool FindImportFile(const std::string& name, std::string& path) const;

  // Parses a code string T as the function expression "function(){return T ;}" into a tree of its
  // own, under the directives of the last Parse; `code` is that node. Its function and class
  // records carry sfCodeString. `into`, when given, is an empty tree to fill instead of a new one.
  std::unique_ptr<TJSyntaxTree> ParseCode(std::string_view text, TJExpr*& code,
                                          std::unique_ptr<TJSyntaxTree> into = nullptr);

  // The value of a set directive of the last Parse (or `fallback` when it was not set).
  int32_t Directive(const std::string& name, int32_t fallback) const;

  TJLex& Lexer() { return lex_; }
  TJExprFactory& Exprs() { return tree_->Exprs; }
  TJStatementFactory& Statements() { return tree_->Statements; }
  // Frees the trees of earlier parses (kept so that function values made from them stay valid
  // until the engine has cleared its objects).
  void DropRetiredTrees();

  // How deep statements and expressions may nest.
  static constexpr int kMaxNesting = 1000;
  // How many modules may be imported inside one another.
  static constexpr int kMaxImportDepth = 64;

 private:
  TJParser(TJParser* parent);
  void ResetState();

  // Tokens.
  void Next();
  int32_t Token() const { return lex_.Token(); }
  bool Is(int32_t token) const { return lex_.Token() == token; }
  void Expect(int32_t token);  // syntax error unless the current token is `token`; then reads on
  // "Text( <token> )" at the current token's line, after the text of `code` (and its detail) when
  // one is given.
  [[noreturn]] void SyntaxError();
  [[noreturn]] void SyntaxError(TJErrorCode code, std::string_view detail = {});
  void Enter();  // one level of nesting deeper
  void Leave() { --nesting_; }
  TJExpr* Checked(TJExpr* e);  // syntax error when the node is too deep

  // Statements.
  TJStatement* ParseSourceElements();
  TJStatement* ParseStatement();
  TJStatement* ParseStatementList();  // statements until one declines; returns the first
  TJStatement* ParseFunction();
  TJStatement* ParseBlock();
  TJStatement* ParseHeaded(TJStatementKind kind);  // while, with: keyword (expression) statement
  TJStatement* ParseIf();
  TJStatement* ParseDo();
  TJStatement* ParseFor();
  TJStatement* ParseBreakContinue(TJStatementKind kind);
  TJStatement* ParseReturnThrow(TJStatementKind kind);
  TJStatement* ParseSwitch();
  TJStatement* ParseDeclaration(TJStatementKind kind);
  TJStatement* ParseDeclarator();
  TJStatement* ParseTry();
  TJStatement* ParseDirective();
  TJStatement* ParseClass();
  TJStatement* ParseImport();
  TJStatement* SubStatement();  // a statement that must be there

  // Expressions; each returns null (consuming nothing) when the current token starts none.
  TJExpr* ParseExpression();
  TJExpr* ParseAssignment();
  TJExpr* ParseConditional();
  TJExpr* ParseBinary(int level);
  TJExpr* ParseUnary();
  TJExpr* ParsePostfix();
  TJExpr* ParsePrimary();
  TJExpr* ParseFunctionExpression();
  TJExpr* ParseCodeFunction();  // the rest of a code string after its opening
  TJExpr* ParseObjectLiteral();
  TJExpr* ParseNew();
  std::vector<TJExpr*> ParseArguments();
  TJExpr* ParenExpression();          // "(" expression ")"
  TJExpr* MustExpression(TJExpr* e);  // syntax error for a missing operand
  TJExpr* Name();                      // an identifier node from the current token, then reads on

  std::string ReadImportFile(const std::string& path, const std::string& fileName);
  bool InImportChain(const std::string& path) const;

  TJLex lex_;
  std::unique_ptr<TJSyntaxTree> tree_;
  std::vector<std::unique_ptr<TJSyntaxTree>> retired_;
  TJStatement* root_ = nullptr;

  std::vector<std::string> ownLibraryPath_;
  std::vector<std::string>* libraryPath_;
  TJParser* parent_ = nullptr;
  int importDepth_ = 0;
  std::map<std::string, int32_t> directives_;
  bool bothOperands_ = false;  // SHORT_CIRCUIT set to 0
  int nesting_ = 0;
};

}  // namespace engine
