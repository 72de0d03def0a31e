#include "script/core/pointer_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

using namespace engine;

namespace {

struct Owned {
  explicit Owned(int v, int* alive) : value(v), alive(alive) { ++*alive; }
  ~Owned() { --*alive; }
  int value;
  int* alive;
};

}  // namespace

// Inserts and removals in a pseudo-random order, checked against a plain map after each step:
// every key present is found with its own object, every key taken is gone, and runs of entries
// that collide stay reachable when one in their middle leaves.
TEST(PointerMap, AgreesWithAPlainMapThroughInsertsAndRemovals) {
  std::vector<int> keys(4000);
  std::unordered_map<const int*, int> reference;
  TJPointerMap<int, Owned> map;
  int alive = 0;
  uint32_t state = 12345;
  auto next = [&] { state = state * 1103515245u + 12345u; return state >> 8; };
  for (int step = 0; step < 20000; ++step) {
    const int* key = &keys[next() % keys.size()];
    if (next() % 3 != 0) {
      if (reference.count(key)) continue;
      map.Insert(key, std::make_unique<Owned>(step, &alive));
      reference[key] = step;
    } else {
      std::unique_ptr<Owned> taken = map.Take(key);
      auto it = reference.find(key);
      if (it == reference.end()) {
        EXPECT_EQ(taken, nullptr);
      } else {
        ASSERT_NE(taken, nullptr);
        EXPECT_EQ(taken->value, it->second);
        reference.erase(it);
      }
    }
    if (step % 97 == 0) {
      for (const int& k : keys) {
        auto it = reference.find(&k);
        Owned* found = map.Find(&k);
        if (it == reference.end()) {
          EXPECT_EQ(found, nullptr);
        } else {
          ASSERT_NE(found, nullptr);
          EXPECT_EQ(found->value, it->second);
        }
      }
    }
  }
  EXPECT_EQ(map.Count(), reference.size());
  EXPECT_EQ(alive, int(reference.size())) << "taken objects go with their holder, kept ones stay";
  std::vector<std::unique_ptr<Owned>> all = map.TakeAll();
  EXPECT_EQ(all.size(), reference.size());
  EXPECT_EQ(map.Count(), 0u);
  EXPECT_EQ(map.Find(&keys[0]), nullptr);
  all.clear();
  EXPECT_EQ(alive, 0);
  // Empty again, it serves as before.
  map.Insert(&keys[7], std::make_unique<Owned>(7, &alive));
  ASSERT_NE(map.Find(&keys[7]), nullptr);
  EXPECT_EQ(map.Find(&keys[7])->value, 7);
}
