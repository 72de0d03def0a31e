#include "platform/fw/strings.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/fw/errors.h"
#include "platform/fw/stream.h"

namespace fw {
namespace {

std::vector<std::string> Lines(const TStrings& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

TEST(StringList, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\rc\r\n\r\nd", {"a", "b", "c", "", "d"}},
      {"\n", {""}},
      {"日本\r\n語", {"日本", "語"}},
  };
  for (auto& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << c.text;
    std::string joined;
    for (auto& l : c.lines) joined += l + "\r\n";
    EXPECT_EQ(list.Text(), joined);
  }
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  struct Case {
    std::vector<std::string> lines;
    const char* text;
  } cases[] = {
      {{"a", "b"}, "a,b"},
      {{"a b", "c,d", "e\"f", ""}, "\"a b\",\"c,d\",\"e\"\"f\","},
      {{""}, "\"\""},
      {{}, ""},
  };
  for (auto& c : cases) {
    TStringList list;
    for (auto& l : c.lines) list.Add(l);
    EXPECT_EQ(list.CommaText(), c.text);
    TStringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(Lines(back), c.lines) << c.text;
  }
  TStringList blanks;
  blanks.SetCommaText("  a b ,c,");
  EXPECT_EQ(Lines(blanks), (std::vector<std::string>{"a", "b", "c", ""}));
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "fig", "pear"}));  // "apple" ignored
  EXPECT_EQ(list.IndexOf("PEAR"), 2);
  int index;
  EXPECT_FALSE(list.Find("banana", index));
  EXPECT_EQ(index, 1);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("FIG"), EStringListError);
  list.SetDuplicates(dupAccept);
  list.Add("FIG");
  EXPECT_EQ(list.Count(), 4);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("apple"), -1);
}

TEST(StringList, NamesValuesAndIndexErrors) {
  TStringList list;
  list.SetValue("Key", "1");
  list.SetValue("other", "x=y");
  EXPECT_EQ(list.Values("KEY"), "1");
  EXPECT_EQ(list.Values("other"), "x=y");
  EXPECT_EQ(list.Names(1), "other");
  list.SetValue("key", "");
  EXPECT_EQ(list.Count(), 1);
  try {
    list.Get(5);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
}

struct ChangeCounter {
  int changes = 0, changings = 0;
  void Changed(TObject*) { ++changes; }
  void Changing(TObject*) { ++changings; }
};

TEST(StringList, ChangeEventsFireOncePerUpdateBracket) {
  TStringList list;
  ChangeCounter counter;
  list.OnChange = TNotifyEvent::bind<&ChangeCounter::Changed>(&counter);
  list.OnChanging = TNotifyEvent::bind<&ChangeCounter::Changing>(&counter);
  list.Add("a");
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(counter.changings, 1);
  list.SetText("x\ny\nz");
  EXPECT_EQ(counter.changes, 2);
  EXPECT_EQ(counter.changings, 2);
}

TEST(StringList, FilesRoundTripWithCrLf) {
  std::string path = testing::TempDir() + "fw_strings_test.txt";
  TStringList list;
  list.SetText("one\ntwo\n三");
  list.SaveToFile(path);
  TFileStream f(path, fmOpenRead);
  EXPECT_EQ(f.ReadRest(), "one\r\ntwo\r\n三\r\n");
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(list));
  std::remove(path.c_str());
  EXPECT_THROW(back.LoadFromFile(path), EFOpenError);
}

TEST(StringList, AssignCopiesLinesAndObjects) {
  TStringList a, b;
  a.AddObject("x", &b);
  a.Add("y");
  b.Add("old");
  b.Assign(&a);
  EXPECT_EQ(Lines(b), Lines(a));
  EXPECT_EQ(b.GetObject(0), &b);
  b.Move(0, 1);
  EXPECT_EQ(Lines(b), (std::vector<std::string>{"y", "x"}));
  EXPECT_EQ(b.GetObject(1), &b);
}

}  // namespace
}  // namespace fw
