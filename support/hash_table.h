// String-keyed hash tables with a bucket count fixed at creation.
//
// A key lands in bucket HashOf(key) mod BucketCount (the key lower-cased first when the table ignores
// case); within a bucket items are kept sorted by key, and all items sit in one list in that order. The
// table never grows, so the order of keys -- bucket 0 first, each bucket in its sorted order -- depends
// only on the keys and the bucket count. Scripts see that order (member enumeration), so it must
// stay reproducible: neither insertion order nor a global sort.
//
// The bucket count fixes the order only. Lookups in a table of more than a few keys go through an
// index of its own that grows with the table, and new keys are sorted into place when the order is
// next read, so that neither a lookup nor an insert costs time in proportion to the table's size.
//
// Items live on the heap and keep their address until they are removed: a caller may hold on to
// the value of a found item while other keys come and go. Every removed or replaced item passes
// through FreeItem after it has been detached from the table, so a hook that re-enters the table
// never sees a half-removed item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <algorithm>
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

// A second, well-mixed hash of the key (ASCII letters lower-cased when `ignoreCase`), for the
// lookup index of large tables: HashOf places keys in buckets but spreads similar keys poorly.
inline uint32_t IndexHashOf(std::string_view key, bool ignoreCase) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  auto lower = [](uint64_t w) {
    uint64_t low7 = w & (kOnes * 0x7f);
    uint64_t atLeastA = low7 + kOnes * (0x80 - 'A');
    uint64_t pastZ = low7 + kOnes * (0x80 - 'Z' - 1);
    uint64_t upper = (atLeastA ^ pastZ) & ~w & (kOnes * 0x80);
    return w | (upper >> 2);
  };
  const char* p = key.data();
  size_t n = key.size();
  uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (ignoreCase) w = lower(w);
    h = (h ^ w) * 0xff51afd7ed558ccdull;
    h ^= h >> 32;
  }
  uint64_t w = 0;
  if (n) std::memcpy(&w, p, n);
  if (ignoreCase) w = lower(w);
  h = (h ^ w) * 0xc4ceb9fe1a85ec53ull;
  h ^= h >> 29;
  h *= 0xff51afd7ed558ccdull;
  return static_cast<uint32_t>(h ^ (h >> 32));
}

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
  size_t Count() const { return entries_.size() - (large_ ? large_->dead : 0); }

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
    if (large_) {
      uint32_t ih = IndexHashOf(key, ignoreCase_);
      size_t slot = findSlot(key, ih);
      if (large_->cells[slot].pos != kNoPos) {
        replace(*entries_[large_->cells[slot].pos].item, key, std::move(value));
        return;
      }
      uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
      auto owned = std::make_unique<Item>(Item{std::string(key), std::move(value)});
      entries_.push_back(Entry{h, bucketOf(h), std::move(owned)});
      large_->cells[slot] = Slot{ih, uint32_t(entries_.size() - 1)};
      if (++large_->used * 2 > large_->cells.size()) growIndex();
      return;
    }
    Place p = locate(key);
    if (p.found) {
      replace(*entries_[p.index].item, key, std::move(value));
      return;
    }
    auto owned = std::make_unique<Item>(Item{std::string(key), std::move(value)});
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(p.index),
                    Entry{p.hash, p.bucketIndex, std::move(owned)});
    if (entries_.size() > kLinearLimit) makeIndex();
  }

  // True when the key was present; its item passes through FreeItem.
  bool Remove(std::string_view key) {
    std::unique_ptr<Item> item;
    if (large_) {
      size_t slot = findSlot(key, IndexHashOf(key, ignoreCase_));
      uint32_t pos = large_->cells[slot].pos;
      if (pos == kNoPos) return false;
      item = std::move(entries_[pos].item);  // the entry stays behind, empty, until the next ordering
      unlinkSlot(slot);
      ++large_->dead;
      if (Count() <= kLinearLimit) {
        order();
        large_.reset();
      } else if (large_->dead > 16 && large_->dead > Count()) {
        order();
      }
    } else {
      Place p = locate(key);
      if (!p.found) return false;
      item = std::move(entries_[p.index].item);
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(p.index));
    }
    if (entries_.empty()) Entries().swap(entries_);  // an emptied table holds no memory
    keysStale_ = true;
    FreeItem(*item);
    return true;
  }

  // Empties the table, then passes every former item through FreeItem in key order.
  virtual void Clear() {
    order();
    Entries old = std::move(entries_);
    entries_.clear();
    large_.reset();
    keysStale_ = true;
    for (Entry& e : old) FreeItem(*e.item);
  }

  // All keys, bucket by bucket from bucket 0, each bucket in its sorted order.
  const std::vector<std::string>& KeyList() const {
    if (!keys_) keys_ = std::make_unique<std::vector<std::string>>();
    if (keysStale_) {
      order();
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
    order();
    for (Entry& e : entries_) visit(*e.item);
  }
  template <class F>
  void ForEach(F&& visit) const {
    order();
    for (const Entry& e : entries_) visit(static_cast<const Item&>(*e.item));
  }

  // The number of items in one bucket.
  size_t BucketSize(uint32_t index) const {
    order();
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
  // compares numbers before it compares texts. A large table appends new keys after the ordered
  // ones and leaves removed ones behind as empty entries; order() puts them in place again
  // before anyone reads the order.
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

  // The lookup index of a large table: open addressing with linear probing over the positions of
  // the live entries, at most half full.
  static constexpr uint32_t kNoPos = ~uint32_t(0);
  struct Slot {
    uint32_t hash = 0;  // IndexHashOf the key
    uint32_t pos = kNoPos;
  };
  struct Large {
    std::vector<Slot> cells;
    size_t used = 0;     // live entries in the index
    size_t ordered = 0;  // entries_[0, ordered) are in key order; the rest in insertion order
    size_t dead = 0;     // removed entries still in entries_
  };

  // Tables this small are searched from the front and kept in order at each insert; larger ones
  // are looked up through an index.
  static constexpr size_t kLinearLimit = 8;

  int compare(std::string_view a, std::string_view b) const {
    return ignoreCase_ ? rt::compareText(a, b) : a.compare(b);
  }
  bool same(std::string_view a, std::string_view b) const {
    if (!ignoreCase_) return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
    return rt::compareText(a, b) == 0;
  }
  bool before(const Entry& a, const Entry& b) const {
    return a.bucket != b.bucket ? a.bucket < b.bucket : compare(a.item->Key, b.item->Key) < 0;
  }

  // h mod bucketCount_ without a division.
  uint32_t bucketOf(uint32_t h) const {
    return static_cast<uint32_t>((static_cast<unsigned __int128>(modMagic_ * h) * bucketCount_) >> 64);
  }

  void replace(Item& item, std::string_view key, V value) {
    Item old{std::move(item.Key), std::move(item.Value)};
    item.Key.assign(key);
    item.Value = std::move(value);
    FreeItem(old);
  }

  // Small tables: from the front to the key's bucket, then through it in key order.
  Place locate(std::string_view key) const {
    uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
    uint32_t bi = bucketOf(h);
    size_t i = 0, end = entries_.size();
    while (i < end && entries_[i].bucket < bi) ++i;
    for (; i < end; ++i) {
      const Entry& e = entries_[i];
      if (e.bucket != bi) break;
      if (e.hash == h && same(e.item->Key, key)) return {h, bi, i, true};
      if (compare(e.item->Key, key) > 0) break;
    }
    return {h, bi, i, false};
  }

  // The slot that holds the key, or the empty slot where it would go.
  size_t findSlot(std::string_view key, uint32_t ih) const {
    const std::vector<Slot>& cells = large_->cells;
    size_t mask = cells.size() - 1;
    for (size_t i = ih & mask;; i = (i + 1) & mask) {
      const Slot& s = cells[i];
      if (s.pos == kNoPos || (s.hash == ih && same(entries_[s.pos].item->Key, key))) return i;
    }
  }

  void insertSlot(std::vector<Slot>& cells, Slot slot) {
    size_t mask = cells.size() - 1;
    size_t i = slot.hash & mask;
    while (cells[i].pos != kNoPos) i = (i + 1) & mask;
    cells[i] = slot;
  }

  // Empties a slot and moves later cells of the same run back so that every key stays reachable.
  void unlinkSlot(size_t i) {
    std::vector<Slot>& cells = large_->cells;
    size_t mask = cells.size() - 1;
    for (size_t j = (i + 1) & mask; cells[j].pos != kNoPos; j = (j + 1) & mask) {
      size_t home = cells[j].hash & mask;
      if (((j - home) & mask) >= ((j - i) & mask)) {
        cells[i] = cells[j];
        i = j;
      }
    }
    cells[i] = Slot{};
    --large_->used;
  }

  void growIndex() {
    std::vector<Slot> cells(large_->cells.size() * 2);
    for (const Slot& s : large_->cells)
      if (s.pos != kNoPos) insertSlot(cells, s);
    large_->cells.swap(cells);
  }

  // Turns an ordered small table into a large one.
  void makeIndex() {
    large_ = std::make_unique<Large>();
    size_t size = 16;
    while (size < entries_.size() * 4) size *= 2;
    large_->cells.resize(size);
    for (size_t i = 0; i < entries_.size(); ++i)
      insertSlot(large_->cells, Slot{IndexHashOf(entries_[i].item->Key, ignoreCase_), uint32_t(i)});
    large_->used = entries_.size();
    large_->ordered = entries_.size();
  }

  // Puts a large table's entries in key order: drops the empty ones, sorts the new ones and merges
  // them in, then points the index at the new positions.
  void order() const { const_cast<TCustomHashTable*>(this)->orderEntries(); }
  void orderEntries() {
    if (!large_ || (large_->ordered == entries_.size() && large_->dead == 0)) return;
    std::vector<uint32_t> fresh;
    for (size_t i = large_->ordered; i < entries_.size(); ++i)
      if (entries_[i].item) fresh.push_back(uint32_t(i));
    std::sort(fresh.begin(), fresh.end(), [this](uint32_t a, uint32_t b) { return before(entries_[a], entries_[b]); });
    std::vector<uint32_t> moved(entries_.size(), kNoPos);
    Entries merged;
    merged.reserve(entries_.size() - large_->dead);
    size_t i = 0, f = 0;
    auto take = [&](size_t from) {
      moved[from] = uint32_t(merged.size());
      merged.push_back(std::move(entries_[from]));
    };
    while (i < large_->ordered || f < fresh.size()) {
      if (i < large_->ordered && !entries_[i].item) {
        ++i;
      } else if (f == fresh.size() || (i < large_->ordered && before(entries_[i], entries_[fresh[f]]))) {
        take(i++);
      } else {
        take(fresh[f++]);
      }
    }
    entries_.swap(merged);
    for (Slot& s : large_->cells)
      if (s.pos != kNoPos) s.pos = moved[s.pos];
    large_->ordered = entries_.size();
    large_->dead = 0;
  }

  // The lookup alone: hashes first, texts only where the hashes agree.
  Item* findItem(std::string_view key) {
    if (large_) {
      uint32_t pos = large_->cells[findSlot(key, IndexHashOf(key, ignoreCase_))].pos;
      return pos == kNoPos ? nullptr : entries_[pos].item.get();
    }
    uint32_t h = ignoreCase_ ? HashOfIgnoreCase(key) : HashOf(key);
    for (const Entry& e : entries_)
      if (e.hash == h && same(e.item->Key, key)) return e.item.get();
    return nullptr;
  }

  Entries entries_;
  std::unique_ptr<Large> large_;  // null for a small table
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
