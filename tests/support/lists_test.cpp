#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/bin_list.h"
#include "support/list_plus.h"

using support::EListError;
using support::TBinList;
using support::TListPlus;

namespace {

// Items are (key, original position); only the key is compared.
using Item = std::pair<int, int>;

int byKey(void* calls, const Item& a, const Item& b) {
  if (calls) ++*static_cast<int*>(calls);
  return a.first - b.first;
}

std::vector<Item> randomItems(unsigned state, int n, int keys) {
  std::mt19937 gen(state);
  std::vector<Item> v;
  for (int i = 0; i < n; ++i) v.push_back({int(gen() % keys), i});
  return v;
}

}  // namespace

TEST(ListPlus, EveryAlgorithmSorts) {
  for (uint8_t algorithm : {0, 2, 1, 255}) {
    for (int n : {0, 1, 2, 3, 17, 300}) {
      TListPlus<Item> list;
      list.SortAlgorithm = algorithm;
      for (const Item& it : randomItems(n, n, 10)) list.Add(it);
      list.Sort(byKey, nullptr);
      std::vector<Item> expected = randomItems(n, n, 10);
      std::stable_sort(expected.begin(), expected.end(),
                       [](const Item& a, const Item& b) { return a.first < b.first; });
      if (algorithm == 0 || algorithm == 2) {
        EXPECT_EQ(list.List(), expected) << int(algorithm) << " " << n;  // stable
      } else {
        std::vector<Item> got = list.List();
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end(),
                                   [](const Item& a, const Item& b) { return a.first < b.first; }));
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected);
      }
    }
  }
}

TEST(ListPlus, MergeSortComparesLikeTheTopDownSplit) {
  // Four items: halves 0..1 and 2..3 (mid = 3/2 + 0/2 = 1). Each half takes one comparison and the
  // final merge of [1,3] with [2,4] takes three.
  TListPlus<Item> list;
  for (int k : {3, 1, 4, 2}) list.Add({k, 0});
  int calls = 0;
  list.Sort(byKey, &calls);
  EXPECT_EQ(calls, 5);
  std::vector<int> keys;
  for (const Item& it : list.List()) keys.push_back(it.first);
  EXPECT_EQ(keys, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ListPlus, OnSortReplacesTheBuiltInSorts) {
  TListPlus<Item> list;
  int calls = 0;
  list.OnSort = [&](Item* items, int lo, auto compare, void* data, int hi) {
    ++calls;
    EXPECT_EQ(items, list.List().data());
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2);
    EXPECT_EQ(data, &calls);
    EXPECT_EQ(compare, &byKey);
  };
  list.Sort(byKey, &calls);  // empty: left alone
  EXPECT_EQ(calls, 0);
  for (int k : {3, 1, 2}) list.Add({k, 0});
  list.Sort(byKey, &calls);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(list[0].first, 3);  // nothing else happened
}

TEST(ListPlus, BadComparatorsKeepEveryItem) {
  // A comparator that answers at random, and one that throws part-way.
  for (uint8_t algorithm : {0, 2, 1}) {
    TListPlus<int> list;
    list.SortAlgorithm = algorithm;
    for (int i = 0; i < 200; ++i) list.Add(i);
    std::mt19937 gen(7);
    list.Sort([](void* g, const int&, const int&) { return int((*static_cast<std::mt19937*>(g))() % 3) - 1; },
              &gen);
    std::vector<int> got = list.List();
    std::sort(got.begin(), got.end());
    for (int i = 0; i < 200; ++i) ASSERT_EQ(got[i], i) << int(algorithm);

    int budget = 150;
    EXPECT_THROW(list.Sort(
                     [](void* b, const int& x, const int& y) {
                       if (--*static_cast<int*>(b) == 0) throw std::runtime_error("script error");
                       return x - y;
                     },
                     &budget),
                 std::runtime_error);
    got = list.List();
    std::sort(got.begin(), got.end());
    for (int i = 0; i < 200; ++i) ASSERT_EQ(got[i], i) << int(algorithm);
  }
}

TEST(ListPlus, IndexErrors) {
  TListPlus<> list;
  int a = 0;
  list.Add(&a);
  EXPECT_EQ(list.IndexOf(&a), 0);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  try {
    list.Delete(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.message(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Insert(2, nullptr), EListError);
}

namespace {
class RecordingBinList : public TBinList {
 public:
  ~RecordingBinList() override { Clear(); }
  std::vector<void*> freed;

 protected:
  void FreeItem(void* item) override {
    EXPECT_EQ(IndexOf(item), -1);  // already out of the set
    freed.push_back(item);
  }
};
}  // namespace

TEST(BinList, SortedSetOfAddresses) {
  int cells[5];
  RecordingBinList set;
  for (int i : {3, 0, 4, 1, 3, 0}) set.Add(&cells[i]);
  ASSERT_EQ(set.Count(), 4);
  for (int i = 0; i + 1 < set.Count(); ++i) EXPECT_LT(set.GetItem(i), set.GetItem(i + 1));

  int at = -1;
  EXPECT_EQ(set.Find(&cells[2], at), -1);
  EXPECT_EQ(at, 2);  // between cells[1] and cells[3]
  EXPECT_EQ(set.Find(&cells[3], at), 2);
  EXPECT_EQ(set.IndexOf(&cells[4]), 3);

  EXPECT_EQ(set.Remove(&cells[1]), 1);
  EXPECT_EQ(set.Remove(&cells[1]), -1);
  EXPECT_EQ(set.freed, std::vector<void*>{&cells[1]});
  set.Delete(0);
  EXPECT_EQ(set.freed.back(), &cells[0]);
  EXPECT_THROW(set.Delete(5), EListError);

  set.Clear();  // last to first
  EXPECT_EQ(set.freed, (std::vector<void*>{&cells[1], &cells[0], &cells[4], &cells[3]}));
  EXPECT_EQ(set.Count(), 0);
}
