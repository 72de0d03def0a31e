// The variables of a call found by name through a remembered place and the sketch of the names:
// a stale place or a sketch left from an earlier call never hides a variable nor finds a wrong one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/core/activation.h"
#include "script/core/symbols.h"

using namespace engine;

namespace {
int32_t At(TJActivation* a, const std::string& name, uint32_t& place) {
  TJValue* slot = a->SlotAt(name, place);
  return slot ? AsInteger(slot) : -1;
}
}  // namespace

TEST(NameSlots, RememberedPlacesFollowTheVariables) {
  TJRootSymbolTable root;
  TJFunctionScope owner(&root);
  TJActivation call;
  call.Open(&owner, nullptr, nullptr, nullptr);
  uint32_t pa = 0, pb = 0, pc = 0;
  call.DeclareAt("a", pa, TJValue::Integer(1));
  call.DeclareAt("b", pb, TJValue::Integer(2));
  EXPECT_EQ(pa, 0u);
  EXPECT_EQ(pb, 1u);
  EXPECT_EQ(At(&call, "c", pc), -1);  // absent: no slot, whatever the place says
  call.DeclareAt("b", pb, TJValue::Integer(20));  // a second declaration takes the same slot
  EXPECT_EQ(At(&call, "b", pb), 20);
  EXPECT_EQ(call.Slot("b"), call.SlotAt("b", pb));
  call.Close();

  // The next call has other names at those places: the old places find nothing wrong.
  call.Open(&owner, nullptr, nullptr, nullptr);
  uint32_t qb = 0;
  call.DeclareAt("b", qb, TJValue::Integer(7));
  EXPECT_EQ(At(&call, "a", pa), -1);
  EXPECT_EQ(At(&call, "b", pb), 7);  // found elsewhere: the place moves to it
  EXPECT_EQ(pb, 0u);
  call.DeclareAt("a", pa, TJValue::Integer(8));
  EXPECT_EQ(pa, 1u);
  EXPECT_EQ(At(&call, "a", pa), 8);
  call.Declare("x", TJValue::Integer(9));  // a name the earlier call never had
  uint32_t px = 5;
  EXPECT_EQ(At(&call, "x", px), 9);
  EXPECT_EQ(px, 2u);
  call.Close();
}

TEST(NameSlots, ManyNamesAreAllFoundAndNoOtherIs) {
  TJRootSymbolTable root;
  TJFunctionScope owner(&root);
  TJActivation call;
  // More names than the sketch has bits, alike in length and letters, over several calls that
  // reuse the entries under other names.
  for (int round = 0; round < 3; ++round) {
    call.Open(&owner, nullptr, nullptr, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i) names.push_back(std::string(1 + (i + round) % 3, char('a' + i % 26)) + std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i) {
      uint32_t place = 0;
      EXPECT_EQ(At(&call, names[i], place), -1) << names[i];  // not yet declared
      call.DeclareAt(names[i], place, TJValue::Integer(int32_t(i)));
      // Every name declared so far is still found, from a stale place too.
      for (size_t j = 0; j <= i; j += 7) {
        uint32_t stale = uint32_t(i);
        EXPECT_EQ(At(&call, names[j], stale), int32_t(j));
      }
    }
    for (const char* other : {"", "a", "a0x", "zz149", "A0"}) {
      uint32_t place = 0;
      EXPECT_EQ(At(&call, other, place), -1) << other;
    }
    call.Close();
  }
}

TEST(NameSlots, LookupsThroughTheTablesUseTheSlots) {
  TJRootSymbolTable root;
  TJLocalSymbolTable* module = root.AddModule("m", nullptr);
  module->SetLocal("g", TJValue::Integer(3));
  TJFunctionScope owner(module);
  TJActivation call;
  call.Open(&owner, nullptr, nullptr, nullptr);
  uint32_t place = 0;
  call.DeclareAt("g", place, TJValue::Integer(4));  // hides the module's variable
  TJValue v;
  ASSERT_TRUE(call.FindName("g", v));
  EXPECT_EQ(AsInteger(&v), 4);
  EXPECT_TRUE(call.SetExisting(&call, "g", TJValue::Integer(5)));
  EXPECT_EQ(At(&call, "g", place), 5);
  // From outside the body (an inner function's table), the newest call is seen first.
  ASSERT_TRUE(owner.Find(module, "g", v));
  EXPECT_EQ(AsInteger(&v), 5);
  call.Close();
  ASSERT_TRUE(owner.Find(module, "g", v));
  EXPECT_EQ(AsInteger(&v), 3);
}
