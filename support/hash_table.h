// String-keyed hash tables with a bucket count fixed at creation.
//
// A key lands in bucket HashOf(key) mod BucketCount (the key lower-cased first when the table ignores
// case); within a bucket items are kept sorted by key, and all items sit in one list in that order. The
// table never grows, so the order of keys -- bucket 0 first, each bucket in its sorted order -- depends
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
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rt/exception.h"
#include "platform/rt/utf8.h"
#include "support/small_blocks.h"

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
  SUPPORT_SMALL_BLOCKS
  std::string Key;
  V Value{};
};

template <class V>
class TCustomHashTable {
  // The small fields first, packed together: a table is made for every script object.
  uint32_t bucketCount_;
  bool ignoreCase_;
  mutable bool keysStale_ = true;

 public:
  using Item = THashItem<V>;
  using FreeItemEvent = std::function<void(TCustomHashTable& sender, Item& item)>;

  // A bucket count of 0 is taken as 1.
  explicit TCustomHashTable(uint32_t bucketCount, bool ignoreCase = false)
      : bucketCount_(bucketCount ? bucketCount : 1),
        ignoreCase_(ignoreCase),
        modMagic_(~uint64_t(0) / bucketCount_ + 1) {}
  // Frees every item through this class's FreeItem. A subclass that overrides FreeItem calls Clear
  // in its own destructor so that its override sees the items.
  virtual ~TCustomHashTable() { TCustomHashTable::Clear(); }
  TCustomHashTable(const TCustomHashTable&) = delete;
  TCustomHashTable& operator=(const TCustomHashTable&) = delete;

  uint32_t BucketCount() const { return bucketCount_; }
  bool IgnoreCase() const { return ignoreCase_; }
  size_t Count() const { return entries_.size(); }

  // With it set, FindItem of an absent key raises EHashTableError "dont has key".
  bool RaiseOnMissing = false;
  // Called for every item leaving the table (removed, replaced or cleared).
  FreeItemEvent OnFreeItem;

  bool HasKey(std::string_view key) const { return const_cast<TCustomHashTable*>(this)->findItem(key) != nullptr; }

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
      Item& item = *entries_[p.index].item;
      Item old{std::move(item.Key), std::move(item.Value)};
      item.Key.assign(key);
      item.Value = std::move(value);
      FreeItem(old);
      return;
    }
    auto owned = std::make_unique<Item>(Item{std::string(key), std::move(value)});
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(p.index),
                    Entry{p.hash, p.bucketIndex, std::move(owned)});
    if (starts_)
      shiftBuckets(p.bucketIndex, 1);
    else if (entries_.size() > kLinearLimit)
      indexBuckets();
  }

  // True when the key was present; its item passes through FreeItem.
  bool Remove(std::string_view key) {
    Place p = locate(key);
    if (!p.found) return false;
    std::unique_ptr<Item> item = std::move(entries_[p.index].item);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(p.index));
    if (entries_.empty()) Entries().swap(entries_);  // an emptied table holds no memory
    if (entries_.size() <= kLinearLimit)
      indexBuckets();
    else
      shiftBuckets(p.bucketIndex, -1);
    keysStale_ = true;
    FreeItem(*item);
    return true;
  }

  // Empties the table, then passes every former item through FreeItem in key order.
  virtual void Clear() {
    Entries old = std::move(entries_);
    entries_.clear();
    starts_.reset();
    keysStale_ = true;
    for (Entry& e : old) FreeItem(*e.item);
  }

  // All keys, bucket by bucket from bucket 0, each bucket in its sorted order.
  const std::vector<std::string>& KeyList() const {
    if (!keys_) keys_ = std::make_unique<std::vector<std::string>>();
    if (keysStale_) {
      keys_->clear();
      keys_->reserve(entries_.size());
      for (const Entry& e : entries_) keys_->push_back(e.item->Key);
      keysStale_ = false;
    }
    return *keys_;
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
    for (Entry& e : entries_) visit(*e.item);
  }
  template <class F>
  void ForEach(F&& visit) const {
    for (const Entry& e : entries_) visit(static_cast<const Item&>(*e.item));
  }

  // The number of items in one bucket.
  size_t BucketSize(uint32_t index) const {
    if (starts_) return index < bucketCount_ ? (*starts_)[index + 1] - (*starts_)[index] : 0;
    size_t n = 0;
    for (const Entry& e : entries_) n += e.bucket == index;
    return n;
  }

 protected:
  virtual void FreeItem(Item& item) {
    if (OnFreeItem) OnFreeItem(*this, item);
  }

 private:
  // The items in key order (bucket, then key), each with its hash and bucket so that a search
  // compares numbers before it compares texts.
  struct Entry {
    uint32_t hash;
    uint32_t bucket;
    std::unique_ptr<Item> item;
  };
  using Entries = std::vector<Entry, SmallBlockAllocator<Entry>>;

  struct Place {
    uint32_t hash;
    uint32_t bucketIndex;  // where the key belongs
    size_t index;          // its position in entries_, or where it would be inserted
    bool found;
  };

  // Tables this small are searched from the front; larger ones keep where each bucket begins.
  static constexpr size_t kLinearLimit = 8;

  int compare(std::string_view a, std::string_view b) const {
    return ignoreCase_ ? rt::compareText(a, b) : a.compare(b);
  }
  bool same(std::string_view a, std::string_view b) const {
    if (!ignoreCase_) return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
    return rt::compareText(a, b) == 0;
  }

  // h mod bucketCount_ without a division.
  uint32_t bucketOf(uint32_t h) const {
    return static_cast<uint32_t>((static_cast<unsigned __int128>(modMagic_ * h) * bucketCount_) >> 64);
  }

  Place locate(std::string_view key) const {
    uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
    uint32_t bi = bucketOf(h);
    size_t i, end;
    if (!starts_) {
      // A small table: from the front to the key's bucket.
      i = 0;
      end = entries_.size();
      while (i < end && entries_[i].bucket < bi) ++i;
    } else {
      i = (*starts_)[bi];
      end = (*starts_)[bi + 1];
    }
    for (; i < end; ++i) {
      const Entry& e = entries_[i];
      if (e.bucket != bi) break;
      if (e.hash == h && same(e.item->Key, key)) return {h, bi, i, true};
      if (compare(e.item->Key, key) > 0) break;
    }
    return {h, bi, i, false};
  }

  // Keeps starts_ (where each bucket begins in entries_) for tables past the small size.
  void indexBuckets() {
    if (entries_.size() <= kLinearLimit) {
      starts_.reset();
      return;
    }
    if (!starts_) starts_ = std::make_unique<std::vector<uint32_t>>();
    std::vector<uint32_t>& starts = *starts_;
    starts.assign(size_t(bucketCount_) + 1, 0);
    for (const Entry& e : entries_) ++starts[e.bucket + 1];
    for (uint32_t b = 0; b < bucketCount_; ++b) starts[b + 1] += starts[b];
  }
  void shiftBuckets(uint32_t bucket, int delta) {
    if (!starts_) return;
    std::vector<uint32_t>& starts = *starts_;
    for (size_t b = size_t(bucket) + 1; b < starts.size(); ++b) starts[b] = uint32_t(int64_t(starts[b]) + delta);
  }

  // The lookup alone: hashes first, texts only where the hashes agree.
  Item* findItem(std::string_view key) {
    uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
    const Entry* e = entries_.data();
    const Entry* end = e + entries_.size();
    if (starts_) {
      uint32_t bi = bucketOf(h);
      end = e + (*starts_)[bi + 1];
      e += (*starts_)[bi];
    }
    for (; e != end; ++e)
      if (e->hash == h && same(e->item->Key, key)) return e->item.get();
    return nullptr;
  }

  Entries entries_;
  std::unique_ptr<std::vector<uint32_t>> starts_;  // null for a small table; else bucketCount_ + 1 offsets
  mutable std::unique_ptr<std::vector<std::string>> keys_;  // KeyList's answer, made on first use
  uint64_t modMagic_;
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
