#include "platform/rt/name_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(NameIndex, FindsNamesInAnyCaseAndAnswersTheirPosition) {
  const rt::NameIndex index({"Caption", "SubItems", "Data", "onCompare"});
  EXPECT_EQ(index.find("Caption"), 0);
  EXPECT_EQ(index.find("CAPTION"), 0);
  EXPECT_EQ(index.find("subitems"), 1);
  EXPECT_EQ(index.find("data"), 2);
  EXPECT_EQ(index.find("ONCOMPARE"), 3);
  EXPECT_EQ(index.size(), 4u);
}

TEST(NameIndex, MissesTellApartNamesThatOnlyLookAlike) {
  const rt::NameIndex index({"a@b", "Caption"});
  EXPECT_EQ(index.find("a`b"), -1);  // '@' and '`' differ by the case bit but are no letters
  EXPECT_EQ(index.find("a@b"), 0);
  EXPECT_EQ(index.find("Captio"), -1);
  EXPECT_EQ(index.find("Captions"), -1);
  EXPECT_EQ(index.find(""), -1);
  EXPECT_EQ(rt::NameIndex().find("Caption"), -1);
}

TEST(NameIndex, TheFirstOfEqualNamesWinsAndManyNamesStayFindable) {
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back("Prop" + std::to_string(i));
  texts.push_back("prop7");
  std::vector<std::string_view> names(texts.begin(), texts.end());
  const rt::NameIndex index(names);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(index.find("PROP" + std::to_string(i)), i);
  EXPECT_EQ(index.find("Prop7"), 7);
  EXPECT_EQ(index.find("Prop300"), -1);
}

}  // namespace
