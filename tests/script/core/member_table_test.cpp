#include "script/core/member_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "script/core/hash.h"
#include "script/core/value.h"
#include "support/hash_table.h"

namespace engine {
namespace {

using Keys = std::vector<std::string>;

Keys AllKeys(const TJMemberTable& t) {
  Keys keys;
  t.GetKeysByTypes(keys, 0, 0);
  return keys;
}

// The member table must list names exactly as the general hash table of 23 buckets does: scripts
// see that order in for-in, and stored files and tests rely on it.
TEST(MemberTable, KeepsTheKeyOrderOfTheGeneralTableThroughGrowthAndShrinking) {
  TJMemberTable t;
  support::TCustomHashTable<int> reference(TJMemberTable::kBuckets);
  std::mt19937 random(7);
  std::vector<std::string> pool;
  for (int i = 0; i < 60; ++i) pool.push_back(i % 3 == 0 ? "a_rather_long_member_name_" + std::to_string(i) : "m" + std::to_string(i));
  pool.push_back("");
  pool.push_back("12345678");   // exactly the inline size
  pool.push_back("123456789");  // one past it
  for (int step = 0; step < 3000; ++step) {
    const std::string& key = pool[random() % pool.size()];
    bool insert = step < 1500 ? random() % 4 != 0 : random() % 4 == 0;
    if (insert) {
      t.SetValue(key, TJValue::Integer(step));
      reference.Put(key, step);
    } else {
      EXPECT_EQ(t.Remove(key), reference.Remove(key)) << key;
    }
    ASSERT_EQ(t.Count(), reference.Count()) << step;
    if (step % 50 == 0) ASSERT_EQ(AllKeys(t), reference.KeyList()) << step;
  }
  for (const std::string& key : pool) {
    const TJValue* v = t.Find(key);
    const int* r = reference.FindValue(key);
    ASSERT_EQ(v != nullptr, r != nullptr) << key;
    if (v) EXPECT_EQ(v->vInteger(), *r) << key;
  }
  EXPECT_EQ(AllKeys(t), reference.KeyList());
}

TEST(MemberTable, ManyNamesAreFoundReplacedAndRemoved) {
  TJMemberTable t;
  for (int i = 0; i < 5000; ++i) t.SetValue("k" + std::to_string(i), TJValue::Integer(i));
  t.SetValue("k42", TJValue::String("replaced"));
  EXPECT_EQ(t.Count(), 5000u);
  EXPECT_EQ(t.Find("k42")->vString(), "replaced");
  for (int i = 0; i < 5000; i += 2) ASSERT_TRUE(t.Remove("k" + std::to_string(i)));
  EXPECT_FALSE(t.Remove("k0"));
  EXPECT_EQ(t.Count(), 2500u);
  EXPECT_EQ(t.Find("k4999")->vInteger(), 4999);
  EXPECT_EQ(t.Find("k4998"), nullptr);
  Keys keys = AllKeys(t);
  Keys expected;
  for (int i = 1; i < 5000; i += 2) expected.push_back("k" + std::to_string(i));
  SortInTableOrder(expected, TJMemberTable::kBuckets);
  EXPECT_EQ(keys, expected);
  for (int i = 1; i < 4990; i += 2) t.Remove("k" + std::to_string(i));
  EXPECT_EQ(t.Count(), 5u);  // back to a small table
  EXPECT_EQ(t.Find("k4999")->vInteger(), 4999);
  Keys rest = {"k4991", "k4993", "k4995", "k4997", "k4999"};
  SortInTableOrder(rest, TJMemberTable::kBuckets);
  EXPECT_EQ(AllKeys(t), rest);
}

TEST(MemberTable, SelectsByTypeAndClears) {
  TJMemberTable t;
  t.SetValue("b", TJValue::Integer(1));
  t.SetValue("a", TJValue::String("s"));
  t.SetValue("c", TJValue::Integer(2));
  Keys ints;
  t.GetKeysByTypes(ints, TypeBit(vtInteger), 0);
  Keys expected = {"b", "c"};
  SortInTableOrder(expected, TJMemberTable::kBuckets);
  EXPECT_EQ(ints, expected);
  t.RemoveByTypes(0, TypeBit(vtInteger));
  EXPECT_FALSE(t.HasKey("a"));
  EXPECT_EQ(t.Count(), 2u);
  TJMemberTable other;
  other.swap(t);
  EXPECT_TRUE(t.Empty());
  EXPECT_EQ(other.Find("c")->vInteger(), 2);
  other.Clear();
  EXPECT_EQ(other.Count(), 0u);
  EXPECT_EQ(other.Find("c"), nullptr);
}

// A value stored from the table's own storage survives the move that making room causes.
TEST(MemberTable, StoresAValueReadFromItself) {
  TJMemberTable t;
  t.SetValue("first", TJValue::String("text kept while the table grows"));
  for (int i = 0; i < 40; ++i) t.SetValue("n" + std::to_string(i), *t.Find("first"));
  EXPECT_EQ(t.Find("n39")->vString(), "text kept while the table grows");
  EXPECT_EQ(t.Find("first")->vStringRep()->refs, 41);
}

}  // namespace
}  // namespace engine
