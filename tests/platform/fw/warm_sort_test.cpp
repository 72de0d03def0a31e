#include "platform/fw/warm_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace {

struct TRecord {
  int key;
  int place;  // position before sorting, to check stability
};

// Keys with many ties in a scrambled order, as a list view holds them.
std::vector<TRecord> records(size_t n) {
  std::vector<TRecord> out;
  uint32_t x = 12345;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    out.push_back({int((x >> 16) % 17), int(i)});
  }
  return out;
}

TEST(WarmStableSort, OrdersLikeAStableSortAtEverySize) {
  for (size_t n : {0u, 1u, 2u, 3u, 7u, 8u, 9u, 16u, 17u, 100u, 1000u, 4099u}) {
    std::vector<TRecord> data = records(n);
    std::vector<const TRecord*> sorted, expected;
    for (const TRecord& r : data) sorted.push_back(&r);
    expected = sorted;
    auto less = [](const TRecord* a, const TRecord* b) { return a->key < b->key; };
    std::stable_sort(expected.begin(), expected.end(), less);
    fw::WarmStableSort(sorted, less, [](const TRecord*, int) {});
    EXPECT_EQ(sorted, expected) << n << " elements";
  }
}

TEST(WarmStableSort, WarmsOnlyListedElementsEachAtEveryStage) {
  std::vector<TRecord> data = records(300);
  std::vector<const TRecord*> list;
  for (const TRecord& r : data) list.push_back(&r);
  const std::set<const TRecord*> members(list.begin(), list.end());
  std::set<std::pair<const TRecord*, int>> warmed;
  bool strangers = false;
  size_t comparisons = 0;
  fw::WarmStableSort(
      list,
      [&](const TRecord* a, const TRecord* b) {
        ++comparisons;
        return a->key < b->key;
      },
      [&](const TRecord* r, int stage) {
        if (!members.count(r) || stage < 0 || stage > 2) strangers = true;
        warmed.insert({r, stage});
      });
  EXPECT_FALSE(strangers);
  EXPECT_EQ(warmed.size(), 3 * data.size());
  // A merge sort: about n log n comparisons, never the n*n of a simple sort.
  EXPECT_LT(comparisons, 300u * 10u);
  for (size_t i = 1; i < list.size(); ++i) ASSERT_LE(list[i - 1]->key, list[i]->key);
}

TEST(WarmStableSort, AComparerThatThrowsLeavesEveryElementInTheList) {
  std::vector<TRecord> data = records(50);
  std::vector<const TRecord*> list;
  for (const TRecord& r : data) list.push_back(&r);
  int calls = 0;
  EXPECT_THROW(fw::WarmStableSort(
                   list,
                   [&](const TRecord* a, const TRecord* b) {
                     if (++calls == 60) throw 1;
                     return a->key < b->key;
                   },
                   [](const TRecord*, int) {}),
               int);
  std::vector<const TRecord*> seen(list);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
  EXPECT_EQ(seen.size(), data.size());
}

}  // namespace
