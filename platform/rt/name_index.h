// A fixed list of names looked up without regard to ASCII case, for the lookups that run on every
// script member read (property tables, published names): one hash of the name, then an open
// addressing table of small slots, so a miss usually ends at the first empty slot and a hit
// compares the text once.
//
//   rt::NameIndex index({"Caption", "SubItems"});
//   index.find("caption");   // 0
//   index.find("Data");      // -1
//
// The index keeps views of the names: the texts must outlive it and stay where they are.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace rt {

class NameIndex {
 public:
  NameIndex() = default;
  // The position of each name in `names` is what find answers; of equal names the first wins.
  explicit NameIndex(std::vector<std::string_view> names);

  // The position of the name, -1 when it is not listed.
  int find(std::string_view name) const;
  size_t size() const { return names_.size(); }

 private:
  struct Slot {
    uint32_t hash = 0;
    int32_t index = -1;  // -1: empty
  };
  static uint32_t hash(std::string_view name);

  std::vector<std::string_view> names_;
  std::vector<Slot> slots_;
  uint32_t mask_ = 0;
};

}  // namespace rt
