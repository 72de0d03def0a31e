// The member table of a script object: values by name, in the key order of a case-sensitive
// table of 23 buckets (bucket HashOf(name) mod 23 first, then the names of a bucket in byte order),
// the order that enumeration shows to scripts.
//
// Objects are made by the hundred thousand and most hold a handful of members, so the table is
// small and flat: one array of entries, each holding its name (inline when it fits in 8 bytes) and
// its value, kept in key order and searched from the front by hash. Past a few members the table
// adds an index of its own (open addressing over entry positions); new names are then appended and
// sorted into place when the order is next read, so that neither a lookup nor an insert costs time
// in proportion to the table's size.
//
// Entries move when the table changes: a value found here is only valid until the next change.
// Values leave the table before they are released, so a release that re-enters the table finds it
// in a consistent state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class TJValue;
using TJValueTypes = uint16_t;

class TJMemberTable {
 public:
  static constexpr uint32_t kBuckets = 23;

  TJMemberTable() = default;
  ~TJMemberTable();
  TJMemberTable(const TJMemberTable&) = delete;
  TJMemberTable& operator=(const TJMemberTable&) = delete;
  void swap(TJMemberTable& other) noexcept;

  size_t Count() const;
  bool Empty() const { return count_ == 0; }
  // The stored value, or null; valid until the table next changes.
  TJValue* Find(std::string_view name);
  const TJValue* Find(std::string_view name) const { return const_cast<TJMemberTable*>(this)->Find(name); }
  bool HasKey(std::string_view name) const { return Find(name) != nullptr; }
  // Stores a copy, replacing a previous value (released after the new one is in place).
  void SetValue(std::string_view name, const TJValue& value);
  // Stores a copy under a name the table does not hold yet.
  void Insert(std::string_view name, const TJValue& value) { insertNew(name, value); }
  // True when the name was present; its value is released after it has left the table.
  bool Remove(std::string_view name);
  // Empties the table, then releases the former values in key order.
  void Clear();
  // With both sets empty: clears. Otherwise removes, from the last key to the first, every entry
  // whose type is in `includeTypes` (when not empty) or else is not in `excludeTypes`.
  void RemoveByTypes(TJValueTypes includeTypes, TJValueTypes excludeTypes);
  // Keys in key order, chosen by the same rule (both empty: every key).
  void GetKeysByTypes(std::vector<std::string>& names, TJValueTypes includeTypes, TJValueTypes excludeTypes) const;

 private:
  struct Entry;
  struct Large;

  void insertNew(std::string_view name, const TJValue& value);
  TJValue* findLarge(std::string_view name);
  void reserve(uint32_t needed);
  void makeIndex();
  void growIndex();
  size_t findSlot(std::string_view name, uint32_t indexHash) const;
  void unlinkSlot(size_t slot);
  void order() const;
  void orderEntries();
  void release();

  Entry* data_ = nullptr;
  uint32_t count_ = 0;  // entries in data_, removed ones of a large table included
  uint32_t capacity_ = 0;
  Large* large_ = nullptr;  // null for a small table
};

}  // namespace engine
