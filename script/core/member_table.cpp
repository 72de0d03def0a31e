#include "script/core/member_table.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "script/core/value.h"
#include "support/hash_table.h"
#include "support/small_blocks.h"

namespace engine {

namespace {

constexpr uint32_t kDead = ~uint32_t(0);  // the name size of a removed entry in a large table
constexpr uint32_t kNoPos = ~uint32_t(0);
constexpr uint32_t kInline = 8;           // names up to this size live in the entry itself
constexpr uint32_t kLinearLimit = 12;     // tables this small are searched from the front

bool Selects(TJValueType type, TJValueTypes includeTypes, TJValueTypes excludeTypes) {
  if (includeTypes) return (includeTypes >> type) & 1u;
  return !((excludeTypes >> type) & 1u);
}

}  // namespace

struct TJMemberTable::Entry {
  union {
    char text[kInline];
    char* heap;
  } name;
  uint32_t size;  // of the name; kDead for a removed entry
  uint32_t hash;  // support::HashOf the name
  TJValue value;

  std::string_view Name() const { return {size <= kInline ? name.text : name.heap, size}; }
  uint32_t Bucket() const { return hash % kBuckets; }
  bool Is(std::string_view key, uint32_t h) const {
    if (hash != h || size != key.size()) return false;
    // Names are short and nearly always equal once their hashes are: compared here, not by a call.
    const char* own = Name().data();
    for (uint32_t i = 0; i < size; ++i)
      if (own[i] != key[i]) return false;
    return true;
  }
  void FreeName() {
    if (size != kDead && size > kInline) support::FreeSmallBlock(name.heap, size);
  }
};

struct TJMemberTable::Large {
  struct Slot {
    uint32_t hash = 0;  // support::IndexHashOf the name
    uint32_t pos = kNoPos;
  };
  std::vector<Slot> cells;
  uint32_t used = 0;     // live entries in the index
  uint32_t ordered = 0;  // data_[0, ordered) are in key order; the rest in insertion order
  uint32_t dead = 0;     // removed entries still in data_
};

namespace {

bool Before(const auto& a, const auto& b) {
  uint32_t ba = a.Bucket(), bb = b.Bucket();
  return ba != bb ? ba < bb : a.Name().compare(b.Name()) < 0;
}

}  // namespace

TJMemberTable::~TJMemberTable() { release(); }

void TJMemberTable::release() {
  for (uint32_t i = 0; i < count_; ++i) {
    data_[i].FreeName();
    data_[i].value.~TJValue();
  }
  if (data_) support::FreeSmallBlock(data_, size_t(capacity_) * sizeof(Entry));
  delete large_;
  data_ = nullptr;
  count_ = capacity_ = 0;
  large_ = nullptr;
}

void TJMemberTable::swap(TJMemberTable& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(count_, other.count_);
  std::swap(capacity_, other.capacity_);
  std::swap(large_, other.large_);
}

size_t TJMemberTable::Count() const { return count_ - (large_ ? large_->dead : 0); }

TJValue* TJMemberTable::Find(std::string_view name) {
  if (large_) return findLarge(name);
  if (!count_) return nullptr;
  uint32_t h = support::HashOf(name);
  for (Entry* e = data_, *end = data_ + count_; e != end; ++e)
    if (e->Is(name, h)) return &e->value;
  return nullptr;
}

// Apart from Find, so that the search of a small table stays short.
[[gnu::noinline]] TJValue* TJMemberTable::findLarge(std::string_view name) {
  uint32_t pos = large_->cells[findSlot(name, support::IndexHashOf(name, false))].pos;
  return pos == kNoPos ? nullptr : &data_[pos].value;
}

void TJMemberTable::SetValue(std::string_view name, const TJValue& value) {
  if (TJValue* v = Find(name)) {
    TJValue old = std::move(*v);  // released after the new value is in place
    *v = value;
    return;
  }
  insertNew(name, value);
}

void TJMemberTable::reserve(uint32_t needed) {
  if (needed <= capacity_) return;
  uint32_t capacity = capacity_ < 8 ? capacity_ + 1 : capacity_ + capacity_ / 2;  // small objects: no slack
  if (capacity < needed) capacity = needed;
  auto* data = static_cast<Entry*>(support::AllocateSmallBlock(size_t(capacity) * sizeof(Entry)));
  if (count_) std::memcpy(static_cast<void*>(data), static_cast<const void*>(data_), size_t(count_) * sizeof(Entry));
  if (data_) support::FreeSmallBlock(data_, size_t(capacity_) * sizeof(Entry));
  data_ = data;
  capacity_ = capacity;
}

void TJMemberTable::insertNew(std::string_view name, const TJValue& value) {
  TJValue copy(value);  // `value` may live in this table's storage, which may move
  char* heap = nullptr;
  if (name.size() > kInline) {
    heap = static_cast<char*>(support::AllocateSmallBlock(name.size()));
    std::memcpy(heap, name.data(), name.size());
  }
  try {
    reserve(count_ + 1);
  } catch (...) {
    if (heap) support::FreeSmallBlock(heap, name.size());
    throw;
  }
  uint32_t h = support::HashOf(name);
  uint32_t pos = count_;
  if (!large_) {
    // Small: into its place in key order.
    uint32_t bucket = h % kBuckets;
    pos = 0;
    while (pos < count_ && data_[pos].Bucket() < bucket) ++pos;
    while (pos < count_ && data_[pos].Bucket() == bucket && data_[pos].Name().compare(name) < 0) ++pos;
    std::memmove(static_cast<void*>(data_ + pos + 1), static_cast<const void*>(data_ + pos),
                 size_t(count_ - pos) * sizeof(Entry));
  }
  Entry* e = data_ + pos;
  if (heap) {
    e->name.heap = heap;
  } else if (!name.empty()) {
    std::memcpy(e->name.text, name.data(), name.size());
  }
  e->size = uint32_t(name.size());
  e->hash = h;
  new (&e->value) TJValue(std::move(copy));
  ++count_;
  if (large_) {
    uint32_t ih = support::IndexHashOf(name, false);
    large_->cells[findSlot(name, ih)] = Large::Slot{ih, pos};
    if (++large_->used * 2 > large_->cells.size()) growIndex();
  } else if (count_ > kLinearLimit) {
    makeIndex();
  }
}

bool TJMemberTable::Remove(std::string_view name) {
  TJValue old;
  if (large_) {
    size_t slot = findSlot(name, support::IndexHashOf(name, false));
    uint32_t pos = large_->cells[slot].pos;
    if (pos == kNoPos) return false;
    Entry& e = data_[pos];
    old = std::move(e.value);
    e.FreeName();
    e.size = kDead;  // stays behind until the next ordering
    unlinkSlot(slot);
    ++large_->dead;
    if (Count() <= kLinearLimit) {
      orderEntries();
      delete large_;
      large_ = nullptr;
    } else if (large_->dead > 16 && large_->dead > Count()) {
      orderEntries();
    }
  } else {
    uint32_t h = support::HashOf(name);
    uint32_t pos = 0;
    while (pos < count_ && !data_[pos].Is(name, h)) ++pos;
    if (pos == count_) return false;
    Entry& e = data_[pos];
    old = std::move(e.value);
    e.FreeName();
    e.value.~TJValue();
    std::memmove(static_cast<void*>(data_ + pos), static_cast<const void*>(data_ + pos + 1),
                 size_t(count_ - pos - 1) * sizeof(Entry));
    --count_;
  }
  if (Count() == 0) release();  // an emptied table holds no memory
  return true;
}

void TJMemberTable::Clear() {
  order();
  TJMemberTable old;
  swap(old);
}  // `old` releases the former values in key order

void TJMemberTable::RemoveByTypes(TJValueTypes includeTypes, TJValueTypes excludeTypes) {
  if (!includeTypes && !excludeTypes) {
    Clear();
    return;
  }
  std::vector<std::string> keys;
  GetKeysByTypes(keys, 0, 0);
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
    const TJValue* v = Find(*it);
    if (v && Selects(v->ValueType(), includeTypes, excludeTypes)) Remove(*it);
  }
}

void TJMemberTable::GetKeysByTypes(std::vector<std::string>& names, TJValueTypes includeTypes,
                                   TJValueTypes excludeTypes) const {
  names.clear();
  order();
  for (uint32_t i = 0; i < count_; ++i)
    if (Selects(data_[i].value.ValueType(), includeTypes, excludeTypes)) names.emplace_back(data_[i].Name());
}

// --- the index of a large table ---

size_t TJMemberTable::findSlot(std::string_view name, uint32_t indexHash) const {
  const auto& cells = large_->cells;
  size_t mask = cells.size() - 1;
  for (size_t i = indexHash & mask;; i = (i + 1) & mask) {
    const Large::Slot& s = cells[i];
    if (s.pos == kNoPos) return i;
    if (s.hash == indexHash) {
      const Entry& e = data_[s.pos];
      if (e.size == name.size() && (name.empty() || std::memcmp(e.Name().data(), name.data(), name.size()) == 0))
        return i;
    }
  }
}

namespace {

void InsertSlot(auto& cells, auto slot) {
  size_t mask = cells.size() - 1;
  size_t i = slot.hash & mask;
  while (cells[i].pos != kNoPos) i = (i + 1) & mask;
  cells[i] = slot;
}

}  // namespace

// Empties a slot and moves later cells of the same run back so that every name stays reachable.
void TJMemberTable::unlinkSlot(size_t i) {
  auto& cells = large_->cells;
  size_t mask = cells.size() - 1;
  for (size_t j = (i + 1) & mask; cells[j].pos != kNoPos; j = (j + 1) & mask) {
    size_t home = cells[j].hash & mask;
    if (((j - home) & mask) >= ((j - i) & mask)) {
      cells[i] = cells[j];
      i = j;
    }
  }
  cells[i] = Large::Slot{};
  --large_->used;
}

void TJMemberTable::growIndex() {
  std::vector<Large::Slot> cells(large_->cells.size() * 2);
  for (const Large::Slot& s : large_->cells)
    if (s.pos != kNoPos) InsertSlot(cells, s);
  large_->cells.swap(cells);
}

void TJMemberTable::makeIndex() {
  auto* large = new Large;
  size_t size = 16;
  while (size < size_t(count_) * 4) size *= 2;
  try {
    large->cells.resize(size);
  } catch (...) {
    delete large;
    throw;
  }
  for (uint32_t i = 0; i < count_; ++i)
    InsertSlot(large->cells, Large::Slot{support::IndexHashOf(data_[i].Name(), false), i});
  large->used = large->ordered = count_;
  large_ = large;
}

void TJMemberTable::order() const { const_cast<TJMemberTable*>(this)->orderEntries(); }

// Puts a large table's entries in key order: drops the removed ones, sorts the new ones and merges
// them in, then points the index at the new positions.
void TJMemberTable::orderEntries() {
  if (!large_ || (large_->ordered == count_ && large_->dead == 0)) return;
  std::vector<uint32_t> fresh;
  for (uint32_t i = large_->ordered; i < count_; ++i)
    if (data_[i].size != kDead) fresh.push_back(i);
  std::sort(fresh.begin(), fresh.end(), [this](uint32_t a, uint32_t b) { return Before(data_[a], data_[b]); });
  std::vector<uint32_t> moved(count_, kNoPos);
  uint32_t live = count_ - large_->dead;
  auto* merged = static_cast<Entry*>(support::AllocateSmallBlock(size_t(capacity_) * sizeof(Entry)));
  uint32_t n = 0, i = 0, f = 0;
  auto take = [&](uint32_t from) {
    moved[from] = n;
    std::memcpy(static_cast<void*>(merged + n++), static_cast<const void*>(data_ + from), sizeof(Entry));
  };
  while (i < large_->ordered || f < fresh.size()) {
    if (i < large_->ordered && data_[i].size == kDead) {
      data_[i].value.~TJValue();  // moved out already: holds nothing
      ++i;
    } else if (f == fresh.size() || (i < large_->ordered && Before(data_[i], data_[fresh[f]]))) {
      take(i++);
    } else {
      take(fresh[f++]);
    }
  }
  for (uint32_t k = large_->ordered; k < count_; ++k)
    if (data_[k].size == kDead) data_[k].value.~TJValue();
  support::FreeSmallBlock(data_, size_t(capacity_) * sizeof(Entry));
  data_ = merged;
  count_ = live;
  for (Large::Slot& s : large_->cells)
    if (s.pos != kNoPos) s.pos = moved[s.pos];
  large_->ordered = count_;
  large_->dead = 0;
}

}  // namespace engine
