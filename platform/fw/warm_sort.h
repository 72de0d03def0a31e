// A stable merge sort for long lists of pointers whose comparer reads memory spread over the heap
// (a script comparer reading list items through their wrappers). Such a sort waits on memory more
// than it computes, and a merge knows which elements it compares next: the head of each run moves
// on one place at a time. So the sort warms the elements a few places ahead of each head, in
// stages, each stage reading what the one before brought into the cache:
//
//   warm(element, 0)   three places ahead: the element itself
//   warm(element, 1)   two places ahead: what the element points to
//   warm(element, 2)   next: what those point to
//
// `warm` only touches memory (prefetches, reads of live objects); it never changes anything, so the
// order is that of any stable sort with the same comparer: runs of kRun sorted by insertion, then
// merged in pairs, the left run winning ties.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace fw {

// Asks the cache for the lines of `size` bytes at `p` (a hint: nothing is read, any address will do).
inline void WarmBytes(const void* p, size_t size) {
  const char* at = static_cast<const char*>(p);
  for (size_t offset = 0; offset < size + 63; offset += 64) __builtin_prefetch(at + offset);
}

template <class T, class Less, class Warm>
void WarmStableSort(std::vector<T>& v, Less less, Warm warm) {
  constexpr size_t kRun = 8;
  constexpr size_t kStages = 3;
  const size_t n = v.size();
  if (n < 2) return;
  // Warms src[i + kStages - s] at stage s for s = 0..kStages-1 while those stay below `end`.
  auto ahead = [&](const std::vector<T>& src, size_t i, size_t end) {
    for (size_t s = 0; s < kStages; ++s) {
      const size_t at = i + kStages - s;
      if (at < end) warm(src[at], int(s));
    }
  };
  for (size_t i = 0; i < std::min(n, kStages); ++i)
    for (size_t s = 0; s < kStages; ++s) warm(v[i], int(s));
  // Runs by insertion, warming in list order.
  for (size_t lo = 0; lo < n; lo += kRun) {
    const size_t hi = std::min(n, lo + kRun);
    for (size_t i = lo; i < hi; ++i) {
      ahead(v, i, n);
      size_t j = i;  // found first, then moved: a comparer that throws leaves the list whole
      while (j > lo && less(v[i], v[j - 1])) --j;
      std::rotate(v.begin() + ptrdiff_t(j), v.begin() + ptrdiff_t(i), v.begin() + ptrdiff_t(i + 1));
    }
  }
  std::vector<T> buffer(n);
  std::vector<T>* src = &v;
  std::vector<T>* dst = &buffer;
  auto mergePasses = [&] {
    for (size_t width = kRun; width < n; width *= 2) {
      const std::vector<T>& s = *src;
      std::vector<T>& d = *dst;
      for (size_t lo = 0; lo < n; lo += 2 * width) {
        const size_t mid = std::min(n, lo + width), hi = std::min(n, lo + 2 * width);
        size_t i = lo, j = mid, k = lo;
        for (size_t a = 0; a < kStages; ++a) {  // the first places of both runs, every stage
          for (size_t st = 0; st < kStages; ++st) {
            if (i + a < mid) warm(s[i + a], int(st));
            if (j + a < hi) warm(s[j + a], int(st));
          }
        }
        while (i < mid && j < hi) {
          if (less(s[j], s[i])) {
            d[k++] = s[j++];
            ahead(s, j, hi);
          } else {
            d[k++] = s[i++];
            ahead(s, i, mid);
          }
        }
        while (i < mid) d[k++] = s[i++];
        while (j < hi) d[k++] = s[j++];
      }
      std::swap(src, dst);
    }
  };
  // Each pass reads one whole copy and writes the other; a throwing comparer leaves the one read.
  try {
    mergePasses();
  } catch (...) {
    if (src != &v) v = std::move(*src);
    throw;
  }
  if (src != &v) v = std::move(*src);
}

}  // namespace fw
