// The member table: script values by name over the fixed-bucket hash table, so that names come
// out in the table's own key order. The stored values hold their objects' references.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/hash_table.h"
#include "script/core/value.h"

namespace engine {

class TJHash {
 public:
  SUPPORT_SMALL_BLOCKS
  TJHash(uint32_t bucketCount, bool ignoreCase) : table_(bucketCount, ignoreCase) {}

  // Copies the stored value; false (and undefined) when absent.
  bool GetValue(std::string_view name, TJValue& value) const;
  // The stored value itself, or null.
  TJValue* Find(std::string_view name) { return table_.FindValue(name); }
  const TJValue* Find(std::string_view name) const { return table_.FindValue(name); }
  // Stores a copy, replacing a previous value.
  void SetValue(std::string_view name, const TJValue& value);
  bool HasKey(std::string_view name) const { return table_.HasKey(name); }
  bool Remove(std::string_view name) { return table_.Remove(name); }
  void Clear() { table_.Clear(); }
  size_t Count() const { return table_.Count(); }
  uint32_t BucketCount() const { return table_.BucketCount(); }
  bool IgnoreCase() const { return table_.IgnoreCase(); }

  // With both sets empty: clears. Otherwise removes, from the last key to the first, every entry
  // whose type is in `includeTypes` (when not empty) or else is not in `excludeTypes`.
  void RemoveByTypes(TJValueTypes includeTypes, TJValueTypes excludeTypes);
  // Keys in the table's order, chosen by the same rule (both empty: every key).
  void GetKeysByTypes(std::vector<std::string>& names, TJValueTypes includeTypes, TJValueTypes excludeTypes) const;
  const std::vector<std::string>& KeyList() const { return table_.KeyList(); }

  template <class F>
  void ForEach(F&& visit) {
    table_.ForEach([&](support::THashItem<TJValue>& item) { visit(item.Key, item.Value); });
  }

  // True when the type matches the include/exclude rule.
  static bool Selects(TJValueType type, TJValueTypes includeTypes, TJValueTypes excludeTypes) {
    if (includeTypes) return (includeTypes >> type) & 1u;
    return !((excludeTypes >> type) & 1u);
  }

 private:
  support::TCustomHashTable<TJValue> table_;
};

// Sorts names into the key order of a case-sensitive table of `bucketCount` buckets.
void SortInTableOrder(std::vector<std::string>& names, uint32_t bucketCount);

}  // namespace engine
