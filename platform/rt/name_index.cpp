#include "platform/rt/name_index.h"

#include <utility>

#include "platform/rt/utf8.h"

namespace rt {

uint32_t NameIndex::hash(std::string_view name) {
  // FNV-1a over the bytes with the ASCII case bit set: letters of either case hash alike (so do a
  // few punctuation pairs, which the text comparison then tells apart).
  uint32_t h = 2166136261u;
  for (char c : name) {
    h ^= static_cast<unsigned char>(c) | 0x20u;
    h *= 16777619u;
  }
  return h;
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
      if (slot.hash == h && sameText(names_[size_t(slot.index)], names_[i])) break;  // the first stays
    }
  }
}

int NameIndex::find(std::string_view name) const {
  if (names_.empty()) return -1;
  const uint32_t h = hash(name);
  for (uint32_t at = h & mask_;; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.index < 0) return -1;
    if (slot.hash == h && sameText(names_[size_t(slot.index)], name)) return slot.index;
  }
}

}  // namespace rt
