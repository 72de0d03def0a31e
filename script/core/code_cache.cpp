#include "script/core/code_cache.h"

#include "script/core/activation.h"
#include "script/core/parser.h"

namespace engine {

namespace {
constexpr size_t kSpareTrees = 4;
}  // namespace

struct TJCodeCache::Tree {
  TJCodeCache* owner = nullptr;  // null once the cache is gone
  std::string text;
  std::unique_ptr<TJSyntaxTree> syntax;
  TJExpr* code = nullptr;
  std::vector<const TJStatement*> functions;  // its function and class records
  Tree* newer = nullptr;  // the list of kept texts (both null when the text is not kept)
  Tree* older = nullptr;
  Tree* livePrev = nullptr;  // the list of live trees
  Tree* liveNext = nullptr;
  ~Tree() {
    if (owner) owner->Forget(this);
  }
};

TJCodeCache::~TJCodeCache() {
  for (Tree* tree = live_; tree; tree = tree->liveNext) tree->owner = nullptr;
}

void TJCodeCache::Forget(Tree* tree) {
  for (const TJStatement* record : tree->functions) {
    records_.erase(record);
    scopes_.Forget(record);
  }
  if (tree->livePrev) tree->livePrev->liveNext = tree->liveNext; else live_ = tree->liveNext;
  if (tree->liveNext) tree->liveNext->livePrev = tree->livePrev;
  --liveCount_;
  // An emptied tree serves the next parse; one with imports of its own is let go.
  if (tree->syntax && tree->syntax->SubParsers.empty() && spare_.size() < kSpareTrees) {
    tree->syntax->Exprs.Clear();
    tree->syntax->Statements.Clear();
    spare_.push_back(std::move(tree->syntax));
  }
}

void TJCodeCache::Unlink(Tree* tree) {
  if (tree->newer) tree->newer->older = tree->older; else newest_ = tree->older;
  if (tree->older) tree->older->newer = tree->newer; else oldest_ = tree->newer;
  tree->newer = tree->older = nullptr;
}

void TJCodeCache::Evict(Tree* tree) {
  Unlink(tree);
  auto it = byText_.find(tree->text);
  std::shared_ptr<Tree> hold = std::move(it->second);
  byText_.erase(it);  // the tree goes with `hold` unless a function value holds it
}

TJExpr* TJCodeCache::Get(TJParser& parser, std::string_view text, std::shared_ptr<void>& keep) {
  if (auto hit = byText_.find(text); hit != byText_.end()) {
    Tree* tree = hit->second.get();
    if (newest_ != tree) {
      Unlink(tree);
      tree->older = newest_;
      newest_->newer = tree;
      newest_ = tree;
    }
    keep = hit->second;
    return tree->code;
  }
  auto tree = std::make_shared<Tree>();
  std::unique_ptr<TJSyntaxTree> reuse;
  if (!spare_.empty()) {
    reuse = std::move(spare_.back());
    spare_.pop_back();
  }
  tree->syntax = parser.ParseCode(text, tree->code, std::move(reuse));
  tree->syntax->Statements.ForEach([&](TJStatement& s) {
    if (s.Flags & sfCodeString) tree->functions.push_back(&s);
  });
  tree->owner = this;
  tree->liveNext = live_;
  if (live_) live_->livePrev = tree.get();
  live_ = tree.get();
  ++liveCount_;
  for (const TJStatement* record : tree->functions) records_[record] = tree;
  tree->text.assign(text);
  tree->older = newest_;
  if (newest_) newest_->newer = tree.get(); else oldest_ = tree.get();
  newest_ = tree.get();
  byText_.emplace(tree->text, tree);
  while (byText_.size() > kCapacity) Evict(oldest_);
  keep = tree;
  return tree->code;
}

std::shared_ptr<void> TJCodeCache::TreeOf(const TJStatement* record) const {
  auto it = records_.find(record);
  return it == records_.end() ? nullptr : it->second.lock();
}

void TJCodeCache::Clear() {
  auto texts = std::move(byText_);
  byText_.clear();
  while (newest_) Unlink(newest_);
  texts.clear();
}

}  // namespace engine
