#include "support/hash_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

using support::EHashTableError;
using support::HashOf;
using support::TIntegerHashTable;
using support::TObjectHashTable;
using support::TPointerHashTable;
using support::TStringHashTable;

using Keys = std::vector<std::string>;

TEST(HashTable, HashValues) {
  struct Case {
    const char* key;
    uint32_t hash;
  } cases[] = {
      {"", 0},
      {"a", 97},
      {"ab", 486},
      {"ba", 489},
      {"toString", 0x1ad3cf},
      // long enough for bits to wrap around the 32-bit rotation
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0x6c955547},
      // bytes above 127 are taken unsigned
      {"\xe5\x90\x8d\xe5\x89\x8d", 0x32bb9},
  };
  for (const Case& c : cases) EXPECT_EQ(HashOf(c.key), c.hash) << c.key;
  EXPECT_EQ(support::HashOfIgnoreCase("ToSTRING"), HashOf("tostring"));
}

TEST(HashTable, KeyOrderIsBucketMajorThenSorted) {
  TIntegerHashTable t(23);
  // buckets: ab 3, a 5, b 6, ba 6
  for (const char* k : {"ba", "b", "a", "ab"}) t.PutInteger(k, 1);
  EXPECT_EQ(t.KeyList(), (Keys{"ab", "a", "b", "ba"}));

  TIntegerHashTable members(23);
  // buckets: getKeys 9, hasKey 9, valueOf 14, toString 16
  for (const char* k : {"toString", "valueOf", "hasKey", "getKeys"}) members.PutInteger(k, 1);
  EXPECT_EQ(members.KeyList(), (Keys{"getKeys", "hasKey", "valueOf", "toString"}));
  EXPECT_EQ(members.KeysText(), "getKeys\r\nhasKey\r\nvalueOf\r\ntoString");

  // The same keys in 13 buckets: toString 0, valueOf 2, getKeys 3, hasKey 11.
  TIntegerHashTable other(13);
  for (const char* k : {"hasKey", "getKeys", "valueOf", "toString"}) other.PutInteger(k, 1);
  EXPECT_EQ(other.KeyList(), (Keys{"toString", "valueOf", "getKeys", "hasKey"}));

  // The visitor sees the same order.
  Keys seen;
  other.ForEach([&](const auto& item) { seen.push_back(item.Key); });
  EXPECT_EQ(seen, other.KeyList());
}

TEST(HashTable, SingleBucketSortsByUnsignedBytes) {
  TIntegerHashTable t(1);
  for (const char* k : {"\xc3\xa9", "a", "B", "ab", ""}) t.PutInteger(k, 1);
  EXPECT_EQ(t.KeyList(), (Keys{"", "B", "a", "ab", "\xc3\xa9"}));
}

TEST(HashTable, PutReplacesAndRemoveFreesEmptiedBucket) {
  std::vector<std::string> freed;
  TStringHashTable t(23);
  t.OnFreeItem = [&](auto&, auto& item) { freed.push_back(item.Key + "=" + item.Value); };

  t.PutString("a", "1");
  t.PutString("b", "2");
  t.PutString("a", "3");
  EXPECT_EQ(freed, (Keys{"a=1"}));
  EXPECT_EQ(t.GetString("a"), "3");
  EXPECT_EQ(t.GetString("zz"), "");
  EXPECT_EQ(t.Count(), 2u);

  EXPECT_EQ(t.BucketSize(5), 1u);  // "a"
  EXPECT_TRUE(t.Remove("a"));
  EXPECT_FALSE(t.Remove("a"));
  EXPECT_EQ(t.BucketSize(5), 0u);
  EXPECT_FALSE(t.HasKey("a"));
  EXPECT_TRUE(t.Remove("b"));
  EXPECT_TRUE(t.KeyList().empty());
  EXPECT_EQ(t.KeysText(), "");
  EXPECT_EQ(freed, (Keys{"a=1", "a=3", "b=2"}));
  EXPECT_EQ(t.Count(), 0u);
}

TEST(HashTable, IgnoreCaseMergesKeysAndKeepsLastSpelling) {
  TIntegerHashTable t(13, true);
  t.PutInteger("Content-Type", 1);
  t.PutInteger("CONTENT-TYPE", 2);
  EXPECT_EQ(t.Count(), 1u);
  EXPECT_EQ(t.GetInteger("content-type"), 2);
  EXPECT_EQ(t.KeyList(), (Keys{"CONTENT-TYPE"}));
  // Lower-cased before hashing: "AB" sits where "ab" does.
  TIntegerHashTable u(23, true);
  u.PutInteger("AB", 1);
  EXPECT_EQ(u.BucketSize(3), 1u);
  // Non-ASCII bytes are never folded.
  u.PutInteger("\xc3\xa9", 1);
  u.PutInteger("\xc3\x89", 2);
  EXPECT_EQ(u.Count(), 3u);

  TIntegerHashTable strict(13);
  strict.PutInteger("Key", 1);
  strict.PutInteger("key", 2);
  EXPECT_EQ(strict.Count(), 2u);
  EXPECT_FALSE(strict.HasKey("KEY"));
}

TEST(HashTable, MissingKeys) {
  TPointerHashTable t(10);
  EXPECT_EQ(t.FindItem("x"), nullptr);
  EXPECT_EQ(t.GetPointer("x"), nullptr);
  int v = 0;
  t.PutPointer("x", &v);
  EXPECT_EQ(t.GetPointer("x"), &v);
  t.RaiseOnMissing = true;
  EXPECT_NE(t.FindItem("x"), nullptr);
  try {
    t.FindItem("y");
    FAIL() << "no exception";
  } catch (const EHashTableError& e) {
    EXPECT_EQ(e.message(), "dont has key");
    EXPECT_STREQ(e.className(), "EHashTableError");
  }
  // Other lookups never raise.
  EXPECT_EQ(t.GetPointer("y"), nullptr);
  EXPECT_FALSE(t.HasKey("y"));
}

// Tables of many keys search by bucket; the order, the counts per bucket and every lookup must stay
// those of the small table while keys come and go around that size.
TEST(HashTable, ManyKeysKeepOrderAndLookupsWhileGrowingAndShrinking) {
  for (bool ignoreCase : {false, true}) {
    TIntegerHashTable t(23, ignoreCase);
    std::vector<std::string> keys;
    for (int i = 0; i < 60; ++i) keys.push_back((i % 3 ? "k" : "Key") + std::to_string(i * 7));
    auto expectedOrder = [&](size_t count) {
      Keys order(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(count));
      std::sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
        uint32_t ha = (ignoreCase ? support::HashOfIgnoreCase(a) : HashOf(a)) % 23;
        uint32_t hb = (ignoreCase ? support::HashOfIgnoreCase(b) : HashOf(b)) % 23;
        return ha != hb ? ha < hb : (ignoreCase ? rt::compareText(a, b) < 0 : a < b);
      });
      return order;
    };
    for (size_t n = 0; n < keys.size(); ++n) {
      t.PutInteger(keys[n], int32_t(n));
      ASSERT_EQ(t.Count(), n + 1);
      for (size_t k = 0; k <= n; ++k) ASSERT_EQ(t.GetInteger(keys[k]), int32_t(k)) << keys[k];
      ASSERT_FALSE(t.HasKey("absent"));
    }
    EXPECT_EQ(t.KeyList(), expectedOrder(keys.size()));
    size_t inBuckets = 0;
    for (uint32_t b = 0; b < 23; ++b) inBuckets += t.BucketSize(b);
    EXPECT_EQ(inBuckets, keys.size());
    if (ignoreCase) {
      EXPECT_EQ(t.GetInteger("KEY0"), 0);
    }

    // Removing from the end back down to nothing, through the small size.
    while (!keys.empty()) {
      ASSERT_TRUE(t.Remove(keys.back()));
      keys.pop_back();
      ASSERT_EQ(t.Count(), keys.size());
      ASSERT_EQ(t.KeyList(), expectedOrder(keys.size()));
      for (size_t k = 0; k < keys.size(); ++k) ASSERT_EQ(t.GetInteger(keys[k]), int32_t(k));
    }
  }
}

TEST(HashTable, ItemsKeepTheirAddress) {
  TIntegerHashTable t(1);
  t.PutInteger("m", 1);
  int32_t* slot = t.FindValue("m");
  for (int i = 0; i < 100; ++i) t.PutInteger("k" + std::to_string(i), i);
  t.PutInteger("m", 7);  // a replacement keeps the slot
  EXPECT_EQ(t.FindValue("m"), slot);
  EXPECT_EQ(*slot, 7);
}

namespace {
struct Counted {
  explicit Counted(int* alive) : alive(alive) { ++*alive; }
  ~Counted() { --*alive; }
  int* alive;
};
}  // namespace

TEST(HashTable, OwnedObjectsAreFreedOnReplaceRemoveClearAndDestroy) {
  int alive = 0;
  {
    TObjectHashTable<Counted> t(53);
    EXPECT_TRUE(t.OwnsObjects);
    t.PutObject("a", new Counted(&alive));
    t.PutObject("b", new Counted(&alive));
    t.PutObject("c", new Counted(&alive));
    EXPECT_EQ(alive, 3);
    t.PutObject("a", new Counted(&alive));  // the old "a" goes
    EXPECT_EQ(alive, 3);
    Counted* b = t.GetObject("b");
    t.PutObject("b", b);  // the same object again stays alive
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(t.GetObject("b"), b);
    EXPECT_TRUE(t.Remove("c"));
    EXPECT_EQ(alive, 2);
    t.Clear();
    EXPECT_EQ(alive, 0);
    t.PutObject("d", new Counted(&alive));
  }
  EXPECT_EQ(alive, 0);

  Counted kept(&alive);
  {
    TObjectHashTable<Counted> t(53);
    t.OwnsObjects = false;
    t.PutObject("k", &kept);
    t.PutObject("k", nullptr);
  }
  EXPECT_EQ(alive, 1);
}

TEST(HashTable, FreeHookMayReenterTheTable) {
  std::vector<std::string> freed;
  TIntegerHashTable t(1);
  t.OnFreeItem = [&](auto& table, auto& item) {
    freed.push_back(item.Key);
    // Dropping "a" drops "b" as well, while the first removal is still running.
    if (item.Key == "a") table.Remove("b");
  };
  t.PutInteger("a", 1);
  t.PutInteger("b", 2);
  t.PutInteger("c", 3);
  EXPECT_TRUE(t.Remove("a"));
  EXPECT_EQ(t.KeyList(), (Keys{"c"}));

  t.PutInteger("a", 1);
  t.PutInteger("b", 2);
  t.PutInteger("a", 5);  // replacing "a" also goes through the hook
  EXPECT_EQ(t.KeyList(), (Keys{"a", "c"}));
  EXPECT_EQ(t.GetInteger("a"), 5);

  freed.clear();
  t.OnFreeItem = [&](auto& table, auto& item) {
    freed.push_back(item.Key);
    // A put during Clear lands in the emptied table.
    if (item.Key != "late") table.Put("late", 1);
  };
  t.Clear();
  EXPECT_EQ(freed, (Keys{"a", "c", "late"}));
  EXPECT_EQ(t.KeyList(), (Keys{"late"}));
}

// A large table against a plain map: random puts, replacements and removals of keys that share
// long prefixes and differ in case, with the order read in between (new keys are sorted in late,
// removed ones leave gaps until then) and every item keeping its address while it lives.
TEST(HashTable, LargeTableMatchesAMapThroughRandomChanges) {
  for (bool ignoreCase : {false, true}) {
    TIntegerHashTable t(23, ignoreCase);
    auto fold = [&](const std::string& k) {
      std::string f = k;
      if (ignoreCase)
        for (char& c : f) c = rt::asciiLower(c);
      return f;
    };
    std::map<std::string, std::pair<std::string, int32_t>> model;  // folded key -> spelling, value
    std::map<std::string, int32_t*> addresses;
    std::mt19937 random(ignoreCase ? 7 : 11);
    auto expectedOrder = [&] {
      Keys order;
      for (auto& [folded, entry] : model) order.push_back(entry.first);
      std::sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
        uint32_t ha = (ignoreCase ? support::HashOfIgnoreCase(a) : HashOf(a)) % 23;
        uint32_t hb = (ignoreCase ? support::HashOfIgnoreCase(b) : HashOf(b)) % 23;
        return ha != hb ? ha < hb : (ignoreCase ? rt::compareText(a, b) < 0 : a < b);
      });
      return order;
    };
    for (int step = 0; step < 40000; ++step) {
      unsigned r = random();
      std::string key = (r & 1 ? "Member_with_a_long_prefix_" : "m") + std::to_string(r % 5000);
      if (r & 2) key[0] = 'M';
      int op = int(random() % 10);
      std::string folded = fold(key);
      if (op < 6) {
        t.PutInteger(key, step);
        bool existed = model.count(folded) > 0;
        model[folded] = {key, step};
        int32_t* slot = t.FindValue(key);
        ASSERT_NE(slot, nullptr);
        if (existed) {
          ASSERT_EQ(addresses[folded], slot) << key;
        }
        addresses[folded] = slot;
      } else if (op < 9) {
        ASSERT_EQ(t.Remove(key), model.erase(folded) > 0) << key;
        addresses.erase(folded);
      } else {
        auto it = model.find(folded);
        ASSERT_EQ(t.HasKey(key), it != model.end());
        if (it != model.end()) {
          ASSERT_EQ(t.GetInteger(key), it->second.second);
        }
      }
      ASSERT_EQ(t.Count(), model.size());
      if (step % 4000 == 3999) {
        ASSERT_EQ(t.KeyList(), expectedOrder()) << step;
      }
    }
    // Down to a small table and back up, every key still found, the order still that of the keys.
    while (model.size() > 3) {
      auto it = model.begin();
      ASSERT_TRUE(t.Remove(it->second.first));
      model.erase(it);
    }
    EXPECT_EQ(t.KeyList(), expectedOrder());
    for (int i = 0; i < 100; ++i) {
      t.PutInteger("z" + std::to_string(i), i);
      model[fold("z" + std::to_string(i))] = {"z" + std::to_string(i), i};
    }
    for (auto& [folded, entry] : model) ASSERT_EQ(t.GetInteger(entry.first), entry.second) << entry.first;
    EXPECT_EQ(t.KeyList(), expectedOrder());
    std::vector<std::string> visited;
    t.ForEach([&](const auto& item) { visited.push_back(item.Key); });
    EXPECT_EQ(visited, expectedOrder());
  }
}
