// A list with a choice of sort algorithms, and those algorithms for any array.
//
// All three sorts only ever exchange or rotate items, so a comparator that throws (a script
// function raising an error) leaves every item in the list exactly once. Comparators that are not
// consistent (a < b and b < a) cannot drive an index out of its range.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/rt/exception.h"

namespace support {

class EListError : public rt::Exception {
 public:
  using Exception::Exception;
  const char* className() const override;
};

// "List index out of bounds (<index>)"
[[noreturn]] void ListIndexError(int index);

// Negative, zero or positive as item1 sorts before, with or after item2.
template <class T>
using TListSortCompare = int (*)(void* userData, const T& item1, const T& item2);

namespace detail {
template <class T>
void mergeSortRange(T* items, T* work, int lo, int hi, TListSortCompare<T> compare, void* userData) {
  if (lo >= hi) return;
  int mid = hi / 2 + lo / 2;
  mergeSortRange(items, work, lo, mid, compare, userData);
  mergeSortRange(items, work, mid + 1, hi, compare, userData);
  int i = lo, j = mid + 1, k = lo;
  // The merge fills the work array first, so a throwing comparator leaves items[lo..hi] whole.
  while (i <= mid && j <= hi) {
    if (compare(userData, items[i], items[j]) > 0)
      work[k++] = items[j++];
    else
      work[k++] = items[i++];
  }
  while (i <= mid) work[k++] = items[i++];
  while (j <= hi) work[k++] = items[j++];
  for (int n = lo; n <= hi; ++n) items[n] = std::move(work[n]);
}
}  // namespace detail

// Stable top-down merge sort of items[lo..hi]. The range splits at hi/2 + lo/2; a merge takes the
// right item only when it compares greater than zero against the left one, so equal items keep
// their order.
template <class T>
void MergeSort(T* items, int lo, int hi, TListSortCompare<T> compare, void* userData) {
  if (lo >= hi) return;
  std::vector<T> work(static_cast<size_t>(hi) + 1);
  detail::mergeSortRange(items, work.data(), lo, hi, compare, userData);
}

// Stable insertion sort of items[lo..hi]: each item moves down past the earlier items that compare
// greater than it.
template <class T>
void InsertionSort(T* items, int lo, int hi, TListSortCompare<T> compare, void* userData) {
  for (int i = lo + 1; i <= hi; ++i) {
    int j = i;
    while (j > lo && compare(userData, items[j - 1], items[i]) > 0) --j;
    if (j < i) std::rotate(items + j, items + i, items + i + 1);
  }
}

// Quick sort of items[lo..hi] around the middle item, not stable. The smaller side is sorted by
// recursion and the larger one by the loop, which keeps the stack shallow.
template <class T>
void QuickSort(T* items, int lo, int hi, TListSortCompare<T> compare, void* userData) {
  while (lo < hi) {
    int i = lo, j = hi;
    T pivot = items[static_cast<int>((static_cast<unsigned>(lo) + static_cast<unsigned>(hi)) / 2)];
    do {
      while (i < hi && compare(userData, items[i], pivot) < 0) ++i;
      while (j > lo && compare(userData, items[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(items[i], items[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      QuickSort(items, lo, j, compare, userData);
      lo = i;
    } else {
      QuickSort(items, i, hi, compare, userData);
      hi = j;
    }
  }
}

template <class T = void*>
class TListPlus {
 public:
  using Compare = TListSortCompare<T>;
  // Replaces the built-in sorts: (items, 0, compare, userData, Count - 1).
  using SortEvent = std::function<void(T* items, int lo, Compare compare, void* userData, int hi)>;

  SortEvent OnSort;
  // 0 merge sort (stable), 2 insertion sort (stable), any other value quick sort.
  uint8_t SortAlgorithm = 0;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  T& operator[](int index) { return items_[check(index)]; }
  const T& operator[](int index) const { return items_[check(index)]; }
  T Get(int index) const { return items_[check(index)]; }
  void Put(int index, T item) { items_[check(index)] = std::move(item); }

  int Add(T item) {
    items_.push_back(std::move(item));
    return Count() - 1;
  }
  void Insert(int index, T item) {
    if (index < 0 || index > Count()) ListIndexError(index);
    items_.insert(items_.begin() + index, std::move(item));
  }
  void Delete(int index) { items_.erase(items_.begin() + check(index)); }
  void Exchange(int a, int b) { std::swap(items_[check(a)], items_[check(b)]); }
  void Clear() { items_.clear(); }
  int IndexOf(const T& item) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] == item) return static_cast<int>(i);
    return -1;
  }
  // Index of the removed item, or -1.
  int Remove(const T& item) {
    int i = IndexOf(item);
    if (i >= 0) Delete(i);
    return i;
  }

  std::vector<T>& List() { return items_; }
  const std::vector<T>& List() const { return items_; }

  void Sort(Compare compare, void* userData) {
    if (items_.empty()) return;
    int hi = Count() - 1;
    if (OnSort) {
      OnSort(items_.data(), 0, compare, userData, hi);
      return;
    }
    switch (SortAlgorithm) {
      case 0:
        MergeSort(items_.data(), 0, hi, compare, userData);
        break;
      case 2:
        InsertionSort(items_.data(), 0, hi, compare, userData);
        break;
      default:
        QuickSort(items_.data(), 0, hi, compare, userData);
        break;
    }
  }

 private:
  size_t check(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return static_cast<size_t>(index);
  }

  std::vector<T> items_;
};

}  // namespace support
