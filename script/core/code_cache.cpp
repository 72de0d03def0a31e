#include "script/core/code_cache.h"

#include <functional>

#include "script/core/activation.h"
#include "script/core/parser.h"

namespace engine {

namespace {
constexpr size_t kSpareTrees = 4;
}  // namespace

struct TJCodeCache::Tree {
  TJCodeCache* owner = nullptr;  // null once the cache is gone
  std::string text;
  size_t hash = 0;
  std::shared_ptr<Tree> self;  // the cache's hold while the text is kept
  Tree* sameBucket = nullptr;
  std::unique_ptr<TJSyntaxTree> syntax;
  TJExpr* code = nullptr;
  const TJStatement* function = nullptr;      // the text's own function record
  std::vector<const TJStatement*> inner;      // the function and class records inside its code
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
  while (Tree* tree = newest_) {
    newest_ = tree->older;
    std::shared_ptr<Tree> hold = std::move(tree->self);
  }
}

TJCodeCache::Tree* TJCodeCache::Find(std::string_view text, size_t hash) const {
  for (Tree* tree = buckets_[hash & (kBuckets - 1)]; tree; tree = tree->sameBucket)
    if (tree->hash == hash && tree->text == text) return tree;
  return nullptr;
}

void TJCodeCache::Forget(Tree* tree) {
  scopes_.Forget(tree->function);
  for (const TJStatement* record : tree->inner) {
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
  Tree** link = &buckets_[tree->hash & (kBuckets - 1)];
  while (*link != tree) link = &(*link)->sameBucket;
  *link = tree->sameBucket;
  tree->sameBucket = nullptr;
  --keptCount_;
  std::shared_ptr<Tree> hold = std::move(tree->self);  // the tree goes unless a function value holds it
}

TJExpr* TJCodeCache::Get(TJParser& parser, std::string_view text, std::shared_ptr<void>& keep) {
  size_t hash = std::hash<std::string_view>{}(text);
  if (Tree* tree = Find(text, hash)) {
    if (newest_ != tree) {
      Unlink(tree);
      tree->older = newest_;
      newest_->newer = tree;
      newest_ = tree;
    }
    keep = tree->self;
    return tree->code;
  }
  auto made = std::make_shared<Tree>();
  Tree* tree = made.get();
  std::unique_ptr<TJSyntaxTree> reuse;
  if (!spare_.empty()) {
    reuse = std::move(spare_.back());
    spare_.pop_back();
  }
  tree->syntax = parser.ParseCode(text, tree->code, std::move(reuse));
  tree->function = tree->code->Func;
  tree->syntax->Statements.ForEach([&](TJStatement& s) {
    if ((s.Flags & sfCodeString) && &s != tree->function) tree->inner.push_back(&s);
  });
  tree->owner = this;
  tree->liveNext = live_;
  if (live_) live_->livePrev = tree;
  live_ = tree;
  ++liveCount_;
  for (const TJStatement* record : tree->inner) records_[record] = made;
  tree->text.assign(text);
  tree->hash = hash;
  Tree*& bucket = buckets_[hash & (kBuckets - 1)];
  tree->sameBucket = bucket;
  bucket = tree;
  tree->older = newest_;
  if (newest_) newest_->newer = tree; else oldest_ = tree;
  newest_ = tree;
  ++keptCount_;
  tree->self = made;
  while (keptCount_ > kCapacity) Evict(oldest_);
  keep = std::move(made);
  return tree->code;
}

std::shared_ptr<void> TJCodeCache::TreeOf(const TJStatement* record) const {
  auto it = records_.find(record);
  return it == records_.end() ? nullptr : it->second.lock();
}

void TJCodeCache::Clear() {
  while (newest_) Evict(newest_);
}

}  // namespace engine
