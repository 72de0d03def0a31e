// Code strings (eval, handler texts): each text's tree, parsed once and kept for the next
// evaluation of the same text while it is among the most recently used; a tree lives on while any
// function value made from it does, and is freed (its function scopes with it) once none does.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace engine {

class TJParser;
class TJScopes;
struct TJExpr;
struct TJStatement;
struct TJSyntaxTree;

class TJCodeCache {
 public:
  explicit TJCodeCache(TJScopes& scopes) : scopes_(scopes) {}
  ~TJCodeCache();
  TJCodeCache(const TJCodeCache&) = delete;
  TJCodeCache& operator=(const TJCodeCache&) = delete;

  // How many texts are kept for reuse.
  static constexpr size_t kCapacity = 256;

  // The function expression of the text; `keep` holds its tree for the caller.
  TJExpr* Get(TJParser& parser, std::string_view text, std::shared_ptr<void>& keep);
  // The holder of the tree of a record marked sfCodeString (null when that tree is unknown).
  std::shared_ptr<void> TreeOf(const TJStatement* record) const;
  // Forgets every text; trees still held by function values live on until those go.
  void Clear();

  size_t TextCount() const { return byText_.size(); }
  size_t TreeCount() const { return live_.size(); }

 private:
  struct Tree;
  using Recent = std::list<std::pair<std::string, std::shared_ptr<Tree>>>;
  void Forget(Tree* tree);

  TJScopes& scopes_;
  Recent recent_;  // the most recently used first
  std::unordered_map<std::string_view, Recent::iterator> byText_;
  std::unordered_map<const TJStatement*, std::weak_ptr<Tree>> records_;
  std::unordered_set<Tree*> live_;
};

}  // namespace engine
