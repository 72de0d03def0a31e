// Code strings (eval, handler texts): each text's tree, parsed once and kept for the next
// evaluation of the same text while it is among the most recently used; a tree lives on while any
// function value made from it does, and is freed (its function scopes with it) once none does.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

  // The function expression of the text; `keep` holds its tree for the caller (and for the
  // function value made from that expression: it is not among the records TreeOf knows).
  TJExpr* Get(TJParser& parser, std::string_view text, std::shared_ptr<void>& keep);
  // The holder of the tree of a function or class record marked sfCodeString that lies inside a
  // text's code (null when that tree is unknown).
  std::shared_ptr<void> TreeOf(const TJStatement* record) const;
  // Forgets every text; trees still held by function values live on until those go.
  void Clear();

  size_t TextCount() const { return keptCount_; }
  size_t TreeCount() const { return liveCount_; }

 private:
  struct Tree;
  static constexpr size_t kBuckets = 2 * kCapacity;  // a power of two

  Tree* Find(std::string_view text, size_t hash) const;
  void Forget(Tree* tree);
  void Unlink(Tree* tree);  // out of the list of recent texts
  void Evict(Tree* tree);   // drops the cache's hold on a text's tree

  TJScopes& scopes_;
  // The texts kept, each tree holding itself while kept: chained by the hash of their text, and
  // listed from the most recently used.
  std::array<Tree*, kBuckets> buckets_{};
  size_t keptCount_ = 0;
  Tree* newest_ = nullptr;
  Tree* oldest_ = nullptr;
  // The functions and classes inside the texts' code.
  std::unordered_map<const TJStatement*, std::weak_ptr<Tree>> records_;
  // Every tree alive (kept or held by function values), so that they can outlive the cache.
  Tree* live_ = nullptr;
  size_t liveCount_ = 0;
  // Emptied trees of texts gone, filled again by the next parses instead of new ones.
  std::vector<std::unique_ptr<TJSyntaxTree>> spare_;
};

}  // namespace engine
