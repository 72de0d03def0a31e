// Imports: finding the imported file (beside the importing one, then in the library path, names
// matched ignoring case where the exact one is missing), reading it, refusing a cycle, and parsing
// it as a module of the same tree.
#include "script/core/parser.h"

#include <filesystem>
#include <system_error>

#include "platform/rt/utf8.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "support/regular_file.h"

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

}  // namespace

bool TJParser::FindImportFile(const std::string& name, std::string& path) const {
  // A name holding a NUL names no file: cut there, it would find another one.
  if (name.empty() || !support::IsSystemPath(name)) return false;
  fs::path given(name);
  if (FindInFolder(given.parent_path(), given.filename().string(), path)) return true;
  std::string file = given.filename().string();
  for (const std::string& folder : *libraryPath_) {
    if (!folder.empty() && FindInFolder(fs::path(folder), file, path)) return true;
  }
  return false;
}

std::string TJParser::ReadImportFile(const std::string& path, const std::string& fileName) {
  std::string bytes;
  if (!support::ReadRegularFile(path, bytes)) SyntaxError(jeCannotOpenImport, fileName);
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
    if (!FindImportFile(file, path)) SyntaxError(jeImportNotFound, file);
    if (InImportChain(path) || importDepth_ >= kMaxImportDepth) SyntaxError(jeCircularImport, file);
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
  if (!FindImportFile(file, path)) SyntaxError(jeImportNotFound, file);
  if (InImportChain(path)) SyntaxError(jeCircularImport, file);
  // The file's text goes in right after the ";", before the next token is read.
  lex_.InsertText(ReadImportFile(path, file), path);
  TJStatement* s = tree_->Statements.Make(skEmpty, line);
  Next();
  return s;
}

}  // namespace engine
