#include "platform/rt/name_index.h"

#include <cstring>
#include <utility>

#include "platform/rt/utf8.h"

namespace rt {

namespace {

// Up to 8 bytes of `p` as one word (the rest zero).
uint64_t word(const char* p, size_t n) {
  uint64_t w = 0;
  std::memcpy(&w, p, n < 8 ? n : 8);
  return w;
}

// Equal without regard to ASCII case; names are most often written as declared, so the bytes are
// compared first.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t i = 0;
  for (; i + 8 <= a.size(); i += 8)
    if (word(a.data() + i, 8) != word(b.data() + i, 8)) return sameText(a, b);
  return word(a.data() + i, a.size() - i) == word(b.data() + i, b.size() - i) || sameText(a, b);
}

}  // namespace

uint32_t NameIndex::hash(std::string_view name) {
  // Eight bytes at a time with the ASCII case bit set in every byte: letters of either case hash
  // alike (so do a few punctuation pairs, which the text comparison then tells apart).
  constexpr uint64_t kCase = 0x2020202020202020ull;
  uint64_t h = name.size() * 0x9E3779B97F4A7C15ull;
  const char* p = name.data();
  for (size_t left = name.size(); left > 0; left = left > 8 ? left - 8 : 0, p += 8) {
    const size_t n = left < 8 ? left : 8;
    const uint64_t mask = n == 8 ? ~0ull : ((1ull << (8 * n)) - 1);
    h = (h ^ (word(p, n) | (kCase & mask))) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  return uint32_t(h ^ (h >> 29));
}

NameIndex::NameIndex(std::vector<std::string_view> names) : names_(std::move(names)) {
  size_t capacity = 8;
  while (capacity < names_.size() * 2) capacity *= 2;
  slots_.resize(capacity);
  mask_ = uint32_t(capacity - 1);
  for (size_t i = 0; i < names_.size(); ++i) {
    const uint32_t h = hash(names_[i]);
    for (uint32_t at = h & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (slot.index < 0) {
        slot = {h, int32_t(i)};
        break;
      }
      if (slot.hash == h && sameName(names_[size_t(slot.index)], names_[i])) break;  // the first stays
    }
  }
}

int NameIndex::find(std::string_view name) const {
  if (names_.empty()) return -1;
  const uint32_t h = hash(name);
  for (uint32_t at = h & mask_;; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.index < 0) return -1;
    if (slot.hash == h && sameName(names_[size_t(slot.index)], name)) return slot.index;
  }
}

}  // namespace rt
