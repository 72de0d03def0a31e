#include "support/bin_list.h"

#include "support/list_plus.h"

namespace support {

TBinList::~TBinList() { TBinList::Clear(); }

int TBinList::Find(const void* item, int& insertAt) const {
  auto key = reinterpret_cast<uintptr_t>(item);
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    auto v = reinterpret_cast<uintptr_t>(items_[mid]);
    if (v == key) {
      insertAt = mid;
      return mid;
    }
    if (v < key)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  insertAt = lo;
  return -1;
}

int TBinList::IndexOf(const void* item) const {
  int at;
  return Find(item, at);
}

void TBinList::Add(void* item) {
  int at;
  if (Find(item, at) < 0) items_.insert(items_.begin() + at, item);
}

int TBinList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TBinList::GetItem(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return items_[index];
}

void TBinList::Delete(int index) {
  void* item = GetItem(index);
  items_.erase(items_.begin() + index);
  FreeItem(item);
}

void TBinList::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

void TBinList::FreeItem(void*) {}

}  // namespace support
