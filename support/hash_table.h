// String-keyed hash tables with a bucket count fixed at creation.
//
// A key lands in bucket HashOf(key) mod BucketCount (the key lower-cased first when the table ignores
// case); each bucket is a vector of items kept sorted by key and searched by bisection. The table
// never grows, so the order of keys -- bucket 0 first, each bucket in its sorted order -- depends
// only on the keys and the bucket count. Scripts see that order (member enumeration), so it must
// stay reproducible: neither insertion order nor a global sort.
//
// Items live on the heap and keep their address until they are removed: a caller may hold on to
// the value of a found item while other keys come and go. Every removed or replaced item passes
// through FreeItem after it has been detached from the table, so a hook that re-enters the table
// never sees a half-removed item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rt/exception.h"
#include "platform/rt/utf8.h"

namespace support {

// h := (h rotated left by 2 bits) xor byte, over every byte of the key.
inline uint32_t HashOf(std::string_view key) {
  uint32_t h = 0;
  for (unsigned char b : key) h = ((h << 2) | (h >> 30)) ^ b;
  return h;
}

// HashOf of the key with ASCII letters lower-cased (without building the lower-cased copy).
inline uint32_t HashOfIgnoreCase(std::string_view key) {
  uint32_t h = 0;
  for (char c : key) h = ((h << 2) | (h >> 30)) ^ static_cast<unsigned char>(rt::asciiLower(c));
  return h;
}

class EHashTableError : public rt::Exception {
 public:
  using Exception::Exception;
  const char* className() const override;
};

template <class V>
struct THashItem {
  std::string Key;
  V Value{};
};

template <class V>
class TCustomHashTable {
 public:
  using Item = THashItem<V>;
  using FreeItemEvent = std::function<void(TCustomHashTable& sender, Item& item)>;

  // A bucket count of 0 is taken as 1.
  explicit TCustomHashTable(uint32_t bucketCount, bool ignoreCase = false)
      : bucketCount_(bucketCount ? bucketCount : 1), ignoreCase_(ignoreCase) {}
  // Frees every item through this class's FreeItem. A subclass that overrides FreeItem calls Clear
  // in its own destructor so that its override sees the items.
  virtual ~TCustomHashTable() { TCustomHashTable::Clear(); }
  TCustomHashTable(const TCustomHashTable&) = delete;
  TCustomHashTable& operator=(const TCustomHashTable&) = delete;

  uint32_t BucketCount() const { return bucketCount_; }
  bool IgnoreCase() const { return ignoreCase_; }
  size_t Count() const { return count_; }

  // With it set, FindItem of an absent key raises EHashTableError "dont has key".
  bool RaiseOnMissing = false;
  // Called for every item leaving the table (removed, replaced or cleared).
  FreeItemEvent OnFreeItem;

  bool HasKey(std::string_view key) const { return locate(key).found; }

  Item* FindItem(std::string_view key) {
    Item* item = findItem(key);
    if (!item && RaiseOnMissing) throw EHashTableError("dont has key");
    return item;
  }
  const Item* FindItem(std::string_view key) const {
    return const_cast<TCustomHashTable*>(this)->FindItem(key);
  }

  // The stored value, or nullptr when the key is absent; never raises.
  V* FindValue(std::string_view key) {
    Item* item = findItem(key);
    return item ? &item->Value : nullptr;
  }
  const V* FindValue(std::string_view key) const {
    return const_cast<TCustomHashTable*>(this)->FindValue(key);
  }

  // Stores the value under the key, replacing an entry of the same key (whose old value then passes
  // through FreeItem). The stored key is spelled as in this call.
  void Put(std::string_view key, V value) {
    keysStale_ = true;
    Place p = locate(key);
    if (p.found) {
      Item& item = *p.bucket->at(p.index);
      Item old{std::move(item.Key), std::move(item.Value)};
      item.Key.assign(key);
      item.Value = std::move(value);
      FreeItem(old);
      return;
    }
    if (!buckets_) buckets_ = std::make_unique<Bucket[]>(bucketCount_);
    Bucket& bucket = buckets_[p.bucketIndex];
    auto owned = std::make_unique<Item>(Item{std::string(key), std::move(value)});
    bucket.insert(bucket.begin() + static_cast<std::ptrdiff_t>(p.index), std::move(owned));
    ++count_;
  }

  // True when the key was present; its item passes through FreeItem.
  bool Remove(std::string_view key) {
    Place p = locate(key);
    if (!p.found) return false;
    std::unique_ptr<Item> item = std::move((*p.bucket)[p.index]);
    p.bucket->erase(p.bucket->begin() + static_cast<std::ptrdiff_t>(p.index));
    if (p.bucket->empty()) Bucket().swap(*p.bucket);  // an emptied bucket holds no memory
    --count_;
    keysStale_ = true;
    FreeItem(*item);
    return true;
  }

  // Empties the table, then passes every former item through FreeItem in key order.
  virtual void Clear() {
    std::unique_ptr<Bucket[]> old = std::move(buckets_);
    count_ = 0;
    keysStale_ = true;
    if (!old) return;
    for (uint32_t b = 0; b < bucketCount_; ++b)
      for (auto& item : old[b]) FreeItem(*item);
  }

  // All keys, bucket by bucket from bucket 0, each bucket in its sorted order.
  const std::vector<std::string>& KeyList() const {
    if (keysStale_) {
      keys_.clear();
      keys_.reserve(count_);
      forEachItem([this](const Item& item) { keys_.push_back(item.Key); });
      keysStale_ = false;
    }
    return keys_;
  }

  // The keys one per line (CR LF), with trailing white space removed.
  std::string KeysText() const {
    std::string text;
    for (const std::string& key : KeyList()) {
      text += key;
      text += "\r\n";
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
  }

  // Visits the items in key order. The visitor may change values but must not add or remove keys.
  template <class F>
  void ForEach(F&& visit) {
    forEachItem(visit);
  }
  template <class F>
  void ForEach(F&& visit) const {
    const_cast<TCustomHashTable*>(this)->forEachItem([&](const Item& item) { visit(item); });
  }

  // The number of items in one bucket (0 for a bucket never used or emptied).
  size_t BucketSize(uint32_t index) const {
    return buckets_ && index < bucketCount_ ? buckets_[index].size() : 0;
  }

 protected:
  virtual void FreeItem(Item& item) {
    if (OnFreeItem) OnFreeItem(*this, item);
  }

 private:
  using Bucket = std::vector<std::unique_ptr<Item>>;

  struct Place {
    Bucket* bucket;        // nullptr when the table has no buckets yet
    uint32_t bucketIndex;  // where the key belongs
    size_t index;          // its position, or where it would be inserted
    bool found;
  };

  int compare(std::string_view a, std::string_view b) const {
    return ignoreCase_ ? rt::compareText(a, b) : a.compare(b);
  }

  Place locate(std::string_view key) const {
    uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
    uint32_t bi = h % bucketCount_;
    if (!buckets_) return {nullptr, bi, 0, false};
    Bucket& bucket = buckets_[bi];
    size_t lo = 0, hi = bucket.size();
    while (lo < hi) {
      size_t mid = (lo + hi) / 2;
      int c = compare(bucket[mid]->Key, key);
      if (c == 0) return {&bucket, bi, mid, true};
      if (c < 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    return {&bucket, bi, lo, false};
  }

  Item* findItem(std::string_view key) {
    Place p = locate(key);
    return p.found ? (*p.bucket)[p.index].get() : nullptr;
  }

  template <class F>
  void forEachItem(F&& visit) const {
    if (!buckets_) return;
    for (uint32_t b = 0; b < bucketCount_; ++b)
      for (auto& item : buckets_[b]) visit(*item);
  }

  std::unique_ptr<Bucket[]> buckets_;  // made on the first put
  uint32_t bucketCount_;
  bool ignoreCase_;
  size_t count_ = 0;
  mutable std::vector<std::string> keys_;
  mutable bool keysStale_ = true;
};

// Values are string copies owned by the table.
class TStringHashTable : public TCustomHashTable<std::string> {
 public:
  using TCustomHashTable::TCustomHashTable;
  // '' when absent.
  std::string GetString(std::string_view key) const {
    const std::string* v = FindValue(key);
    return v ? *v : std::string();
  }
  void PutString(std::string_view key, std::string value) { Put(key, std::move(value)); }
};

// 32-bit integers.
class TIntegerHashTable : public TCustomHashTable<int32_t> {
 public:
  using TCustomHashTable::TCustomHashTable;
  // 0 when absent.
  int32_t GetInteger(std::string_view key) const {
    const int32_t* v = FindValue(key);
    return v ? *v : 0;
  }
  void PutInteger(std::string_view key, int32_t value) { Put(key, value); }
};

// Untyped pointers, never owned.
class TPointerHashTable : public TCustomHashTable<void*> {
 public:
  using TCustomHashTable::TCustomHashTable;
  // nullptr when absent.
  void* GetPointer(std::string_view key) const {
    void* const* v = FindValue(key);
    return v ? *v : nullptr;
  }
  void PutPointer(std::string_view key, void* value) { Put(key, value); }
};

// Objects, owned by default: an object is deleted when its entry is removed, replaced or cleared.
// Putting the object that a key already holds under that key keeps it alive.
template <class T>
class TObjectHashTable : public TCustomHashTable<T*> {
  using Base = TCustomHashTable<T*>;

 public:
  using Item = typename Base::Item;
  using Base::Base;
  ~TObjectHashTable() override { Base::Clear(); }

  bool OwnsObjects = true;

  // nullptr when absent.
  T* GetObject(std::string_view key) const {
    T* const* v = this->FindValue(key);
    return v ? *v : nullptr;
  }
  void PutObject(std::string_view key, T* object) {
    T* saved = kept_;
    kept_ = object;
    try {
      this->Put(key, object);
    } catch (...) {
      kept_ = saved;
      throw;
    }
    kept_ = saved;
  }

 protected:
  void FreeItem(Item& item) override {
    Base::FreeItem(item);
    if (OwnsObjects && item.Value && item.Value != kept_) delete item.Value;
  }

 private:
  T* kept_ = nullptr;  // the object a running PutObject stores, which must survive the replacement
};

}  // namespace support
