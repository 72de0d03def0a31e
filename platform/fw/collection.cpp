#include "platform/fw/collection.h"

#include <algorithm>

#include "platform/fw/errors.h"
#include "platform/fw/writer.h"

namespace fw {

const rt::ClassInfo& TCollectionItem::StaticClassInfo() {
  static const rt::ClassInfo& info =
      rt::ClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClassInfo()).build();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  alive_.reset();
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection_ == collection) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  return int(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  int cur = Index();
  if (cur < 0 || index == cur) return;
  auto& items = collection_->items_;
  if (index < 0 || index >= int(items.size())) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  items.erase(items.begin() + cur);
  items.insert(items.begin() + index, this);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

std::weak_ptr<const void> TCollectionItem::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

const rt::ClassInfo& TCollection::StaticClassInfo() {
  static const rt::ClassInfo& info = rt::ClassBuilder<TCollection>("TCollection", &TPersistent::StaticClassInfo()).build();
  return info;
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner) : factory_(std::move(factory)), owner_(owner) {}

TCollection::~TCollection() {
  alive_.reset();
  ++updateCount_;
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) raise<EListError>(msg::ListIndexError, {std::to_string(index)});
  return items_[size_t(index)];
}

TCollectionItem* TCollection::Add() {
  // The item joins the list from the base constructor, before its own class has set it up: the
  // collection tells of it once it is whole.
  ++updateCount_;
  TCollectionItem* item;
  try {
    item = factory_(this);
  } catch (...) {
    --updateCount_;
    throw;
  }
  --updateCount_;
  if (item->collection_ != this) item->SetCollection(this);
  Changed();
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  BeginUpdate();
  try {
    item->SetIndex(std::clamp(index, 0, Count() - 1));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) delete items_.back();
  EndUpdate();
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (auto* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (auto* item : other->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::weak_ptr<const void> TCollection::LivenessToken() const {
  if (!alive_) alive_ = std::make_shared<int>(0);
  return alive_;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
  item->collection_ = nullptr;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* item) {
  if (OnUpdate) OnUpdate(item);
}

}  // namespace fw
