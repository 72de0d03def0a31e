// A map from an address to an object it owns, for the engine's tables keyed by syntax records:
// open addressing with linear probing in a power-of-two table at most half full, so that a lookup
// is a multiply, a shift and usually one slot, with no node to allocate per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace engine {

template <class K, class V>
class TJPointerMap {
 public:
  size_t Count() const { return count_; }

  V* Find(const K* key) const {
    if (count_ == 0) return nullptr;
    for (size_t i = Home(key);; i = (i + 1) & mask_) {
      if (slots_[i].key == key) return slots_[i].value.get();
      if (!slots_[i].key) return nullptr;
    }
  }

  // `key` (not null) must not be in the map yet.
  V* Insert(const K* key, std::unique_ptr<V> value) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    size_t i = Home(key);
    while (slots_[i].key) i = (i + 1) & mask_;
    slots_[i].key = key;
    slots_[i].value = std::move(value);
    ++count_;
    return slots_[i].value.get();
  }

  // Out of the map, to the caller (null when the key is not there).
  std::unique_ptr<V> Take(const K* key) {
    if (count_ == 0) return nullptr;
    size_t i = Home(key);
    while (slots_[i].key != key) {
      if (!slots_[i].key) return nullptr;
      i = (i + 1) & mask_;
    }
    std::unique_ptr<V> taken = std::move(slots_[i].value);
    slots_[i].key = nullptr;
    --count_;
    // Entries further along the run that may sit in the hole move up, so that no lookup stops
    // short of them.
    for (size_t j = (i + 1) & mask_; slots_[j].key; j = (j + 1) & mask_) {
      if (((j - Home(slots_[j].key)) & mask_) >= ((j - i) & mask_)) {
        slots_[i] = std::move(slots_[j]);
        slots_[j].key = nullptr;
        i = j;
      }
    }
    return taken;
  }

  // Everything out of the map, which is empty afterwards.
  std::vector<std::unique_ptr<V>> TakeAll() {
    std::vector<std::unique_ptr<V>> all;
    all.reserve(count_);
    for (Slot& slot : slots_) {
      if (slot.key) all.push_back(std::move(slot.value));
      slot.key = nullptr;
    }
    count_ = 0;
    return all;
  }

 private:
  struct Slot {
    const K* key = nullptr;
    std::unique_ptr<V> value;
  };

  size_t Home(const K* key) const {
    return size_t((uint64_t(reinterpret_cast<uintptr_t>(key)) * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    size_t size = old.empty() ? 16 : old.size() * 2;
    slots_ = std::vector<Slot>(size);
    mask_ = size - 1;
    shift_ = 64;
    for (size_t s = size; s > 1; s >>= 1) --shift_;
    count_ = 0;
    for (Slot& slot : old)
      if (slot.key) Insert(slot.key, std::move(slot.value));
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
  size_t mask_ = 0;
  unsigned shift_ = 64;
};

}  // namespace engine
