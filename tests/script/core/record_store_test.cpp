#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/core/tree.h"

using namespace engine;

namespace {

// Notes its number in a shared log when it goes.
struct Noted {
  std::vector<int>* log = nullptr;
  int number = 0;
  Noted() = default;
  Noted(Noted&& other) noexcept : log(other.log), number(other.number) { other.log = nullptr; }
  ~Noted() {
    if (log) log->push_back(number);
  }
};

}  // namespace

// Records keep their addresses however many follow; a clear lets them go last made first, and
// the store serves again afterwards.
TEST(RecordStore, RecordsStayWhereTheyWereMadeAndGoLastFirst) {
  std::vector<int> gone;
  TJRecordStore<Noted> store;
  std::vector<Noted*> made;
  for (int i = 0; i < 1000; ++i) {
    Noted& n = store.Add();
    n.log = &gone;
    n.number = i;
    made.push_back(&n);
  }
  EXPECT_EQ(store.Count(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(made[i]->number, i) << i;
  int visited = 0;
  bool inOrder = true;
  store.ForEach([&](Noted& n) { inOrder = inOrder && n.number == visited++; });
  EXPECT_EQ(visited, 1000);
  EXPECT_TRUE(inOrder);
  EXPECT_TRUE(gone.empty()) << "no record moved or went while others were added";

  store.Clear();
  EXPECT_EQ(store.Count(), 0u);
  ASSERT_EQ(gone.size(), 1000u);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(gone[i], 999 - i) << i;

  gone.clear();
  for (int i = 0; i < 20; ++i) {
    Noted& n = store.Add();
    n.log = &gone;
    n.number = i;
  }
  visited = 0;
  store.ForEach([&](Noted& n) { visited += n.number; });
  EXPECT_EQ(visited, 190);
  EXPECT_EQ(store.Count(), 20u);
}

// The statement store counts the stores that let their records go: a cleared tree is one.
TEST(RecordStore, ClearedStatementStoresCountAsFreed) {
  TJStatementFactory statements;
  uint64_t before = TJStatementFactory::FreedStores();
  statements.Clear();
  EXPECT_EQ(TJStatementFactory::FreedStores(), before) << "an empty store frees nothing";
  statements.Make(skEmpty, 1);
  statements.Clear();
  EXPECT_EQ(TJStatementFactory::FreedStores(), before + 1);
}
