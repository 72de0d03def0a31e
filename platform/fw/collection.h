// Collections: an owned, ordered list of items of one class (status panels, list columns). Form
// text writes them as "Name = < item ... end >".
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/object.h"

namespace fw {

class TCollection;

class TCollectionItem : public TPersistent {
  RT_CLASS(TCollectionItem)
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  void SetCollection(TCollection* collection);
  int Index() const;
  virtual void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const;
  TPersistent* GetOwner() const override;
  std::weak_ptr<const void> LivenessToken() const;

 protected:
  // Tells the collection that this item changed (all items when `allItems`).
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
  mutable std::shared_ptr<const void> alive_;
};

class TCollection : public TPersistent {
  RT_CLASS(TCollection)
 public:
  using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
  // `factory` makes one new item of the collection's item class (which it inserts itself).
  TCollection(ItemFactory factory, TPersistent* owner = nullptr);
  ~TCollection() override;

  int Count() const { return int(items_.size()); }
  // Raises EListError for a bad index.
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  TCollectionItem* FindItemID(int id) const;
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override { return owner_; }
  std::weak_ptr<const void> LivenessToken() const;

  // Called after items change: the item, or null when several or all changed.
  std::function<void(TCollectionItem*)> OnUpdate;

 protected:
  virtual void Update(TCollectionItem* item);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);

  ItemFactory factory_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
  mutable std::shared_ptr<const void> alive_;
};

}  // namespace fw
