#include "script/stdlib/regexp_members.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"

using namespace engine;
using stdlib::TJGroupMembers;

namespace {

struct Owner {
  TJValue holder = TJValue::Object(TJObject::Create<TJObject>(nullptr, nullptr, false));
  TJObject& get() { return *holder.vObject(); }

  // "$0".."$9" as stored now, "-" for a missing member.
  std::string stored() {
    std::string out;
    for (int i = 0; i < 10; ++i) {
      TJValue v;
      out += get().FindStoredMember("$" + std::to_string(i), v) ? std::string(v.vString()) : "-";
      out += i < 9 ? "|" : "";
    }
    return out;
  }
};

std::vector<TJValue> texts(std::initializer_list<const char*> items) {
  std::vector<TJValue> out;
  for (const char* s : items) out.push_back(TJValue::String(s));
  return out;
}

}  // namespace

TEST(GroupMembers, WaitingTextsAreWrittenWhenSettledAndOnlyTheLastCounts) {
  Owner owner;
  TJGroupMembers members;
  members.Blank(owner.get());
  EXPECT_EQ(owner.stored(), "|||||||||");
  members.Defer(owner.get(), texts({"ab", "a", "b"}));
  EXPECT_EQ(owner.stored(), "|||||||||");  // not yet
  members.Defer(owner.get(), texts({"cde", "c", "d", "e"}));
  members.Settle(owner.get());
  EXPECT_EQ(owner.stored(), "cde|c|d|e||||||");
  // A blank that waits replaces texts written before; settling twice writes nothing new.
  members.DeferBlank(owner.get());
  EXPECT_EQ(owner.stored(), "cde|c|d|e||||||");
  members.Settle(owner.get());
  members.Settle(owner.get());
  EXPECT_EQ(owner.stored(), "|||||||||");
  // Fewer groups after more: the ones above go empty.
  members.Defer(owner.get(), texts({"x", "y", "z"}));
  members.Settle(owner.get());
  members.Defer(owner.get(), texts({"q"}));
  members.Settle(owner.get());
  EXPECT_EQ(owner.stored(), "q|||||||||");
  EXPECT_FALSE(members.Changed());
}

TEST(GroupMembers, NewNamesAndScriptChangesAreWrittenAtOnceInOrder) {
  Owner owner;
  TJGroupMembers members;
  members.Blank(owner.get());
  // More than ten texts: "$10" is a new member, made at once after "$0".."$9".
  members.Defer(owner.get(), texts({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(owner.stored(), "0|1|2|3|4|5|6|7|8|9");
  TJValue ten;
  ASSERT_TRUE(owner.get().FindStoredMember("$10", ten));
  EXPECT_EQ(ten.vString(), "10");
  EXPECT_TRUE(members.Changed());

  // A script change settles what waits first; afterwards nothing waits any more.
  Owner other;
  TJGroupMembers second;
  second.Blank(other.get());
  second.Defer(other.get(), texts({"m", "n"}));
  second.Touched(other.get());
  EXPECT_EQ(other.stored(), "m|n||||||||");
  other.get().RemoveKey("$1");
  other.get().PutMember("mine", TJValue::String("x"), false, nullptr);
  second.Defer(other.get(), texts({"p", "q"}));
  EXPECT_EQ(other.stored(), "p|q||||||||");
  TJValue mine;
  EXPECT_TRUE(other.get().FindStoredMember("mine", mine));
  EXPECT_TRUE(second.Changed());
}
