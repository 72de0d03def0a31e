#include "script/core/value_list.h"

#include <algorithm>

#include "script/core/exceptions.h"

namespace engine {

namespace {
const TJValue kUndefined;
}

void TJValueList::Get(int32_t index, TJValue& value) const {
  if (index < 0 || index >= Count()) {
    value.Clear();
    return;
  }
  value = items_[size_t(index)];
}

const TJValue& TJValueList::Undefined() { return kUndefined; }

int32_t TJValueList::Add(const TJValue& value) {
  items_.push_back(value);
  return Count() - 1;
}

int32_t TJValueList::Add(TJValue&& value) {
  items_.push_back(std::move(value));
  return Count() - 1;
}

void TJValueList::Insert(int32_t index, const TJValue& value) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, value);
}

void TJValueList::Put(int32_t index, const TJValue& value) {
  if (index < 0 || index >= Count()) return;
  items_[size_t(index)] = value;
}

bool TJValueList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return false;
  TJValue gone = std::move(items_[size_t(index)]);  // released after the slot is gone
  items_.erase(items_.begin() + index);
  return true;
}

void TJValueList::SetCount(int64_t count) {
  if (count < 0) count = 0;
  if (count > kMaxCount) ThrowError("EIndexError", "list count too large: " + std::to_string(count));
  while (Count() > count) Delete(Count() - 1);
  items_.resize(size_t(count));
}

void TJValueList::Assign(const TJValueList* other) {
  if (other == this) return;
  Clear();
  if (other) items_ = other->items_;
}

void TJValueList::Sort(const std::function<int(const TJValue&, const TJValue&)>& compare) {
  // Merge sort of a snapshot: safe with any comparer, even one that is not a consistent order.
  std::vector<TJValue> work(items_);
  std::vector<TJValue> buffer(work.size());
  for (size_t width = 1; width < work.size(); width *= 2) {
    for (size_t lo = 0; lo < work.size(); lo += 2 * width) {
      size_t mid = std::min(lo + width, work.size()), hi = std::min(lo + 2 * width, work.size());
      size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) buffer[k++] = compare(work[j], work[i]) < 0 ? work[j++] : work[i++];
      while (i < mid) buffer[k++] = work[i++];
      while (j < hi) buffer[k++] = work[j++];
    }
    work.swap(buffer);
  }
  items_.swap(work);
}

}  // namespace engine
