#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "regex/regexpr.h"

namespace {

using regex::ERegExpr;
using regex::TRegExpr;
using Pieces = std::vector<std::string>;

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ERegExpr& e) {
    return e.ErrorCode;
  }
  return 0;
}

TEST(RegexMatch, ExecNextWalksThroughTheMatches) {
  TRegExpr re;
  re.SetExpression("ab");
  ASSERT_TRUE(re.Exec("xxabyab"));
  EXPECT_EQ(re.GroupPos(0), 3);
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.GroupPos(0), 6);
  EXPECT_FALSE(re.ExecNext());

  // after an empty match the search goes on one character further
  re.SetExpression("x*");
  ASSERT_TRUE(re.Exec("aのc"));
  std::vector<int> starts{re.GroupPos(0)};
  while (re.ExecNext()) starts.push_back(re.GroupPos(0));
  EXPECT_EQ(starts, (std::vector<int>{1, 2, 3, 4}));
}

// ExecToLast lands on the match where walking with ExecNext ends: literals whose occurrences may
// overlap or not, groups, empty matches, text outside ASCII.
TEST(RegexMatch, ExecToLastLandsOnTheLastMatchOfTheScan) {
  struct Case {
    const char* pattern;
    std::string subject;
  };
  std::string long_text;
  for (int i = 0; i < 300; ++i) long_text += "item" + std::to_string(i) + "=value" + std::to_string(i % 13) + "; ";
  const Case cases[] = {
      {"value7", long_text}, {"aa", "aaaaa"}, {"aba", "xababax"}, {"abab", "abababab ababab"},
      {"の7", "の7 x の7 霧の7z"}, {"(\\d)-(\\d)", "1-2 a 3-4 b 5-6x"}, {"x*", "aのc"},
      {"ab", "ab"}, {"\xFF", "a\xFF b \xFF"}, {"a|b", "xaybz"},
  };
  for (const Case& c : cases) {
    TRegExpr walk, jump;
    walk.SetExpression(c.pattern);
    jump.SetExpression(c.pattern);
    ASSERT_TRUE(walk.Exec(c.subject)) << c.pattern;
    ASSERT_TRUE(jump.Exec(c.subject)) << c.pattern;
    int64_t pos = walk.GroupBytePos(0), len = walk.GroupByteLen(0);
    std::string groups = walk.GroupText(1) + "," + walk.GroupText(2);
    while (walk.ExecNext()) {
      pos = walk.GroupBytePos(0);
      len = walk.GroupByteLen(0);
      groups = walk.GroupText(1) + "," + walk.GroupText(2);
    }
    jump.ExecToLast();
    EXPECT_EQ(jump.GroupBytePos(0), pos) << c.pattern;
    EXPECT_EQ(jump.GroupByteLen(0), len) << c.pattern;
    EXPECT_EQ(jump.GroupText(1) + "," + jump.GroupText(2), groups) << c.pattern;
    EXPECT_FALSE(jump.ExecFurther()) << c.pattern;  // nothing after the last match; it stays
    EXPECT_EQ(jump.GroupBytePos(0), pos) << c.pattern;
  }
}

// ExecFurther keeps the current match when the next search runs out of its budget.
TEST(RegexMatch, ExecFurtherKeepsTheMatchWhenTheSearchRaises) {
  TRegExpr re;
  re.SetExpression("=|(a|aa)+$");
  re.SetStepLimit(100000);
  std::string subject = "=" + std::string(40, 'a') + "b";
  ASSERT_TRUE(re.Exec(subject));
  EXPECT_EQ(errorOf([&] { re.ExecFurther(); }), regex::reeMatchTooComplex);
  EXPECT_EQ(re.GroupBytePos(0), 0);
  EXPECT_EQ(re.GroupText(0), "=");
  EXPECT_EQ(errorOf([&] { re.ExecToLast(); }), regex::reeMatchTooComplex);
  EXPECT_EQ(re.GroupText(0), "=");
}

TEST(RegexMatch, GroupsAndPositions) {
  TRegExpr re;
  EXPECT_EQ(re.LastGroup(), -1);
  re.SetExpression("の(b)(x)?");
  ASSERT_TRUE(re.Exec("aのbc"));
  EXPECT_EQ(re.GroupPos(0), 2);
  EXPECT_EQ(re.GroupLen(0), 2);
  EXPECT_EQ(re.GroupBytePos(0), 1);
  EXPECT_EQ(re.GroupByteLen(0), 4);
  EXPECT_EQ(re.GroupText(0), "のb");
  EXPECT_EQ(re.GroupPos(1), 3);
  EXPECT_EQ(re.LastGroup(), 1);
  for (int n : {2, 15, -1}) {
    EXPECT_EQ(re.GroupPos(n), -1) << n;
    EXPECT_EQ(re.GroupLen(n), -1) << n;
    EXPECT_EQ(re.GroupText(n), "") << n;
    EXPECT_EQ(re.GroupBytePos(n), -1) << n;
  }
  re.SetInputString("other");  // a new input clears the match
  EXPECT_EQ(re.GroupPos(0), -1);
  EXPECT_EQ(re.LastGroup(), 0);
}

TEST(RegexMatch, CharacterAndByteOffsetsConvertBothWays) {
  TRegExpr re;
  re.SetInputString("aの\xFFz霧");
  const size_t bytes[] = {0, 1, 4, 5, 6, 9};
  for (size_t i : {5, 0, 3, 2, 4, 1}) {  // forwards and backwards
    EXPECT_EQ(re.ByteOffsetOfChar(i), bytes[i]) << i;
    EXPECT_EQ(re.CharIndexOfByte(bytes[i]), i) << i;
  }
  // Long ASCII runs between other characters count alike, in either direction.
  std::string mixed = std::string(100, 'a') + "の" + std::string(37, 'b') + "\xFF" + std::string(20, 'c') + "霧d";
  re.SetInputString(mixed);
  std::vector<size_t> starts;
  for (size_t b = 0; b < mixed.size(); ++b)
    if ((static_cast<unsigned char>(mixed[b]) & 0xC0) != 0x80 || static_cast<unsigned char>(mixed[b]) == 0xFF) starts.push_back(b);
  starts.push_back(mixed.size());
  for (size_t i : {starts.size() - 1, size_t(0), size_t(120), size_t(99), size_t(101), size_t(139), size_t(159)}) {
    EXPECT_EQ(re.CharIndexOfByte(starts[i]), i) << i;
    EXPECT_EQ(re.ByteOffsetOfChar(i), starts[i]) << i;
  }
  re.SetInputString("aの\xFFz霧");
  re.SetExpression("z");
  ASSERT_TRUE(re.ExecPos(3));
  EXPECT_EQ(re.GroupPos(0), 4);
  EXPECT_FALSE(re.ExecPos(6));
  re.SetExpression("");
  EXPECT_TRUE(re.ExecPos(6));  // one past the last character
  EXPECT_FALSE(re.ExecPos(7));
}

TEST(RegexMatch, ExecErrors) {
  TRegExpr re;
  re.SetExpression("a");
  EXPECT_EQ(errorOf([&] { re.ExecPos(1); }), 1005);
  re.SetInputString("a");
  try {
    re.ExecPos(0);
    ADD_FAILURE();
  } catch (const ERegExpr& e) {
    EXPECT_EQ(e.message(), "TRegExpr(exec): Offset Must Be Greater Then 0");
  }
  TRegExpr fresh;
  fresh.SetExpression("a");
  try {
    fresh.ExecNext();
    ADD_FAILURE();
  } catch (const ERegExpr& e) {
    EXPECT_EQ(e.message(), "TRegExpr(exec): ExecNext Without Exec[Pos]");
  }
  EXPECT_EQ(errorOf([&] { fresh.ExpandTemplate("$0"); }), 1005);
  re.SetExpression("(");
  EXPECT_EQ(errorOf([&] { re.Exec("a"); }), 103);
}

TEST(RegexMatch, Templates) {
  TRegExpr re;
  re.SetExpression("(a)(b)");
  ASSERT_TRUE(re.Exec("xabx"));
  struct Case {
    const char* templ;
    const char* result;
  };
  const Case cases[] = {
      {"$1-$2", "a-b"},
      {"${1}0", "a0"},
      {"$10", ""},
      {"$x", "$x"},
      {"\\$1", "$1"},
      {"$&|${&}|$0", "ab|ab|ab"},
      {"$3$14$15", ""},
      {"$99999999999999999999999", ""},
      {"${1", "${1"},
      {"${}", "${}"},
      {"a$", "a$"},
      {"a\\", "a\\"},
      {"\\\\", "\\"},
      {"\\の$2", "のb"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(re.ExpandTemplate(c.templ), c.result) << c.templ;
}

TEST(RegexMatch, Split) {
  TRegExpr re;
  re.SetExpression("x*");
  Pieces pieces;
  re.SplitText("abc", pieces);
  EXPECT_EQ(pieces, (Pieces{"", "a", "b", "c", ""}));
  re.SetExpression(",");
  re.SplitText("1,,2", pieces);  // appends
  EXPECT_EQ(pieces, (Pieces{"", "a", "b", "c", "", "1", "", "2"}));

  regex::SplitByPattern("[,:\\s]+", "Jan 5, 2000 10:20", pieces);
  EXPECT_EQ(pieces, (Pieces{"Jan", "5", "2000", "10", "20"}));
  regex::SplitByPattern(";", "none", pieces);
  EXPECT_EQ(pieces, (Pieces{"none"}));
  regex::SplitByPattern("の", "aのbの", pieces);
  EXPECT_EQ(pieces, (Pieces{"a", "b", ""}));
  regex::SplitByPattern("\\s", std::string("a\0b c", 5), pieces);
  EXPECT_EQ(pieces, (Pieces{std::string("a\0b", 3), "c"}));
}

TEST(RegexMatch, MatchOnce) {
  EXPECT_TRUE(regex::MatchOnce("\\%[0-9a-fA-F][0-9a-fA-F]", "a%2Fb"));
  EXPECT_FALSE(regex::MatchOnce("\\%[0-9a-fA-F][0-9a-fA-F]", "a%2"));
  EXPECT_TRUE(regex::MatchOnce("\\/([^\\:]+)\\:(.*)", "/name:value"));
  EXPECT_EQ(errorOf([] { regex::MatchOnce("a{2,1}", "aa"); }), 124);
}

// Runaway backtracking ends with an error instead of a hang.
TEST(RegexMatch, StepLimit) {
  TRegExpr re;
  re.SetExpression("(a|aa)+$");
  std::string subject(40, 'a');
  subject += 'b';
  re.SetStepLimit(200000);
  try {
    re.Exec(subject);
    ADD_FAILURE();
  } catch (const ERegExpr& e) {
    EXPECT_EQ(e.ErrorCode, regex::reeMatchTooComplex);
    EXPECT_EQ(e.message(), "TRegExpr(exec): Match Too Complex");
  }
  // the same pattern on a subject it can handle works within the budget
  EXPECT_TRUE(re.Exec("aaaa"));

  // a long search gets an allowance per byte on top of the fixed budget
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "abcdef ";
  text += "going";
  re.SetExpression("[a-z]+ing");
  re.SetStepLimit(1000);
  ASSERT_TRUE(re.Exec(text));
  EXPECT_EQ(re.GroupText(0), "going");
}

TEST(RegexMatch, DefaultBudgetEndsExponentialSearches) {
  TRegExpr re;
  re.SetExpression("(x+x+)+y");
  EXPECT_EQ(errorOf([&] { re.Exec("y" + std::string(60, 'x')); }), regex::reeMatchTooComplex);
}

// Long subjects need no deeper C++ stack: backtracking state lives on the heap.
TEST(RegexMatch, LongSubjectsDoNotRecurse) {
  std::string subject;
  for (int i = 0; i < 100000; ++i) subject += i % 3 ? "ab" : "cd";
  const char* patterns[] = {"^(ab|cd)*$", "^(ab|cd)+?$", "^(ab|cd){1,1000000}$",
                            "^(?-g)(ab|cd)*$", "^((a)b|cd)*$"};
  for (const char* p : patterns) {
    TRegExpr re;
    re.SetExpression(p);
    ASSERT_TRUE(re.Exec(subject)) << p;
    EXPECT_EQ(re.GroupLen(0), int(subject.size())) << p;
    EXPECT_EQ(re.GroupText(1), "cd") << p;
  }
}

TEST(RegexMatch, StackLimit) {
  TRegExpr re;
  re.SetExpression("^(ab|cd)*$");
  re.SetStackLimit(1000);
  std::string subject;
  for (int i = 0; i < 2000; ++i) subject += "ab";
  EXPECT_EQ(errorOf([&] { re.Exec(subject); }), regex::reeMatchTooComplex);
}

// A failed alternative leaves no trace in the groups; so does a failed loop iteration.
TEST(RegexMatch, CapturesFollowTheSuccessfulPath) {
  struct Case {
    const char* pattern;
    const char* subject;
    const char* g1;
    int g2pos;
  };
  const Case cases[] = {
      {"(a)b|(a)c", "ac", "", 1},
      {"(?i)(a)x|a(b)", "AB", "", 2},
      {"(ab)*abx", "ababx", "ab", -1},
      {"((a)|b)*c", "abc", "b", 1},  // group 2 keeps its last completed text
  };
  for (const Case& c : cases) {
    TRegExpr re;
    re.SetExpression(c.pattern);
    ASSERT_TRUE(re.Exec(c.subject)) << c.pattern;
    EXPECT_EQ(re.GroupText(1), c.g1) << c.pattern;
    EXPECT_EQ(re.GroupPos(2), c.g2pos) << c.pattern;
  }
}

TEST(RegexMatch, InvalidBytesAreCharacters) {
  TRegExpr re;
  re.SetExpression(".");
  std::string subject = "\xFF\xC3(\xE3\x81";
  ASSERT_TRUE(re.Exec(subject));
  int count = 1;
  while (re.ExecNext()) ++count;
  EXPECT_EQ(count, 5);
  Pieces pieces;
  regex::SplitByPattern("", "\xFFの", pieces);
  EXPECT_EQ(pieces, (Pieces{"", "\xFF", "の", ""}));
}

}  // namespace

// Compiled programs are shared between expressions of the same pattern and modifiers; an
// expression with its own word, space or separator characters compiles its own.
TEST(RegexMatch, SharedProgramsFollowModifiersAndCharacterSets) {
  TRegExpr plain, caseless, ownWords, ownSeparators, again;
  for (TRegExpr* re : {&plain, &caseless, &ownWords, &again}) re->SetExpression("^\\w+B$");
  caseless.WriteModifier(1, true);
  ownWords.SetWordChars("a");
  EXPECT_FALSE(plain.Exec("abb"));
  EXPECT_TRUE(caseless.Exec("abb"));
  EXPECT_TRUE(plain.Exec("a1B"));
  EXPECT_FALSE(ownWords.Exec("a1B"));
  EXPECT_TRUE(ownWords.Exec("aaB"));
  EXPECT_TRUE(again.Exec("a1B"));
  EXPECT_FALSE(again.Exec("abb"));
  ownSeparators.SetExpression("^b");
  ownSeparators.WriteModifier(5, true);  // multi-line
  ownSeparators.SetLineSeparators(";");
  ownSeparators.SetLinePairedSeparator("");
  EXPECT_TRUE(ownSeparators.Exec("a;b"));
  TRegExpr standard;
  standard.SetExpression("^b");
  standard.WriteModifier(5, true);
  EXPECT_FALSE(standard.Exec("a;b"));
  EXPECT_TRUE(standard.Exec("a\nb"));
}
