#include "script/core/code_cache.h"

#include <vector>

#include "script/core/activation.h"
#include "script/core/parser.h"

namespace engine {

struct TJCodeCache::Tree {
  TJCodeCache* owner = nullptr;  // null once the cache is gone
  std::unique_ptr<TJSyntaxTree> syntax;
  TJExpr* code = nullptr;
  std::vector<const TJStatement*> functions;  // its function and class records
  ~Tree() {
    if (owner) owner->Forget(this);
  }
};

TJCodeCache::~TJCodeCache() {
  for (Tree* tree : live_) tree->owner = nullptr;
}

void TJCodeCache::Forget(Tree* tree) {
  for (const TJStatement* record : tree->functions) {
    records_.erase(record);
    scopes_.Forget(record);
  }
  live_.erase(tree);
}

TJExpr* TJCodeCache::Get(TJParser& parser, std::string_view text, std::shared_ptr<void>& keep) {
  if (auto hit = byText_.find(text); hit != byText_.end()) {
    recent_.splice(recent_.begin(), recent_, hit->second);
    keep = hit->second->second;
    return hit->second->second->code;
  }
  auto tree = std::make_shared<Tree>();
  tree->syntax = parser.ParseCode(text, tree->code);
  tree->syntax->Statements.ForEach([&](TJStatement& s) {
    if (s.Flags & sfCodeString) tree->functions.push_back(&s);
  });
  tree->owner = this;
  live_.insert(tree.get());
  for (const TJStatement* record : tree->functions) records_[record] = tree;
  recent_.emplace_front(std::string(text), tree);
  byText_.emplace(recent_.front().first, recent_.begin());
  while (recent_.size() > kCapacity) {
    byText_.erase(recent_.back().first);
    recent_.pop_back();  // the tree goes now unless a function value holds it
  }
  keep = tree;
  return tree->code;
}

std::shared_ptr<void> TJCodeCache::TreeOf(const TJStatement* record) const {
  auto it = records_.find(record);
  return it == records_.end() ? nullptr : it->second.lock();
}

void TJCodeCache::Clear() {
  byText_.clear();
  Recent recent = std::move(recent_);
  recent_.clear();
}

}  // namespace engine
