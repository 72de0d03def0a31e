#include "script/core/value_list.h"

#include <algorithm>

#include "script/core/error_table.h"
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
  value = items_[head_ + size_t(index)];
}

void TJValueList::settle() {
  items_.erase(items_.begin(), items_.begin() + std::ptrdiff_t(head_));
  head_ = 0;
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
  if (index == 0) return InsertFront({value});
  items_.insert(items_.begin() + std::ptrdiff_t(head_) + index, value);
}

void TJValueList::InsertFront(const std::vector<TJValue>& values) {
  size_t n = values.size();
  if (head_ < n) {
    // Room before the items for this insert and for as many again as half the list.
    size_t room = n - head_ + size_t(Count()) / 2 + 8;
    items_.insert(items_.begin(), room, TJValue());
    head_ += room;
  }
  head_ -= n;
  for (size_t i = 0; i < n; ++i) items_[head_ + i] = values[i];
}

void TJValueList::Put(int32_t index, const TJValue& value) {
  if (index < 0 || index >= Count()) return;
  items_[head_ + size_t(index)] = value;
}

bool TJValueList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return false;
  TJValue gone = std::move(items_[head_ + size_t(index)]);  // released after the slot is gone
  if (index == 0) {
    items_[head_++].Clear();
    if (head_ == items_.size()) {
      items_.clear();
      head_ = 0;
    } else if (head_ > 16 && head_ > size_t(Count())) {
      settle();  // more room than items: the items move once for as many removals
    }
  } else {
    items_.erase(items_.begin() + std::ptrdiff_t(head_) + index);
  }
  return true;
}

void TJValueList::SetCount(int64_t count) {
  if (head_) settle();
  if (count < 0) count = 0;
  if (count > kMaxCount) ThrowError(jeListTooLong, {std::to_string(count)});
  while (Count() > count) Delete(Count() - 1);
  items_.resize(size_t(count));
}

void TJValueList::Assign(const TJValueList* other) {
  if (other == this) return;
  Clear();
  if (other) items_ = other->Items();
}

void TJValueList::Sort(const std::function<int(const TJValue&, const TJValue&)>& compare) {
  // Merge sort of a snapshot: safe with any comparer, even one that is not a consistent order.
  if (head_) settle();
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
