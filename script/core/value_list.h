// The ordered list of script values: call arguments, array items, a scope's temporaries. Every
// object it holds is counted (the values hold their references).
//
// The list can start some way into its storage: removing the first item or inserting before it
// moves no other item while there is room, so that a queue (shift and push, unshift and pop) costs
// no more per item as it grows. Items() hands out the storage with the list at its start.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "script/core/value.h"

namespace engine {

class TJValueList {
 public:
  TJValueList() = default;
  TJValueList(std::initializer_list<TJValue> values) : items_(values) {}
  TJValueList(const TJValueList&) = delete;
  TJValueList& operator=(const TJValueList&) = delete;

  int32_t Count() const { return int32_t(items_.size() - head_); }
  // A copy of the item; an index outside the list reads as undefined.
  void Get(int32_t index, TJValue& value) const;
  // The item itself (no copy); undefined for an index outside the list.
  const TJValue& operator[](int32_t index) const {
    return index < 0 || index >= Count() ? Undefined() : items_[head_ + size_t(index)];
  }
  // Appends a copy; returns its index.
  int32_t Add(const TJValue& value);
  int32_t Add(TJValue&& value);
  // Inserts at the index (clamped to 0..Count).
  void Insert(int32_t index, const TJValue& value);
  // Inserts the values, in their order, before the first item.
  void InsertFront(const std::vector<TJValue>& values);
  // Replaces the item; an index outside the list does nothing.
  void Put(int32_t index, const TJValue& value);
  // Removes the item; false when the index is outside the list.
  bool Delete(int32_t index);
  // Deletes from the last item to the first.
  void Clear() {
    if (head_) settle();
    while (!items_.empty()) {
      TJValue gone = std::move(items_.back());  // released after it has left the list
      items_.pop_back();
    }
  }
  // Pads with undefined or cuts from the end; a negative count empties the list. Raises
  // "EIndexError" above kMaxCount.
  void SetCount(int64_t count);
  // Clears, then appends a copy of every item of `other` (nothing more for nil).
  void Assign(const TJValueList* other);
  // Stable sort: `compare(a, b)` below 0 puts a first. The items are sorted as a snapshot, so a
  // comparer that changes the list or raises leaves it consistent (unchanged on raise).
  void Sort(const std::function<int(const TJValue& a, const TJValue& b)>& compare);

  int32_t AddBool(bool b) { return Add(TJValue::Bool(b)); }
  int32_t AddInteger(int32_t i) { return Add(TJValue::Integer(i)); }
  int32_t AddDouble(double d) { return Add(TJValue::Double(d)); }
  int32_t AddString(std::string_view s) { return Add(TJValue::String(s)); }
  // A nil object adds null.
  int32_t AddObject(TJObject* object) { return Add(TJValue::Object(object)); }

  std::vector<TJValue>& Items() {
    if (head_) settle();
    return items_;
  }
  const std::vector<TJValue>& Items() const {
    if (head_) const_cast<TJValueList*>(this)->settle();
    return items_;
  }

  static constexpr int64_t kMaxCount = int64_t(1) << 26;

 private:
  static const TJValue& Undefined();
  // Moves the items to the start of the storage.
  void settle();
  std::vector<TJValue> items_;
  size_t head_ = 0;  // the list starts here in items_; the slots before hold nothing
};

}  // namespace engine
