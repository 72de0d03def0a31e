#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "regex/regexpr.h"

namespace {

using regex::ERegExpr;
using regex::TRegExpr;

// The dump without offsets: one "NAME operands" entry per node.
std::vector<std::string> shape(const std::string& pattern, uint32_t mods = 0) {
  TRegExpr re;
  if (mods) re.SetModifiers(mods);
  re.SetExpression(pattern);
  re.CompileExpression();
  std::vector<std::string> nodes;
  std::istringstream in(re.Dump());
  for (std::string line; std::getline(in, line);) {
    line = line.substr(line.find(": ") + 2);
    nodes.push_back(line.substr(0, line.rfind(" (")));
  }
  return nodes;
}

using Shape = std::vector<std::string>;

TEST(RegexCompile, ProgramShapes) {
  EXPECT_EQ(shape("a{2,3}"), (Shape{"rxBranch", "rxRange 2..3", "rxLiteral \"a\"", "rxEnd"}));
  EXPECT_EQ(shape("(ab){2}"),
            (Shape{"rxBranch", "rxLoopEntry", "rxOpen1", "rxBranch", "rxLiteral \"ab\"", "rxClose1",
                   "rxLoop 2..2 body=11", "rxEnd"}));
  // a quantifier after a run takes only its last character; the following literal becomes the
  // quantifier's look-ahead
  EXPECT_EQ(shape("abc*d"), (Shape{"rxBranch", "rxLiteral \"ab\"", "rxStar la=d",
                                   "rxLiteral \"c\"", "rxLiteral \"d\"", "rxEnd"}));
  EXPECT_EQ(shape("(ab)*"),
            (Shape{"rxBranch", "rxBranch", "rxOpen1", "rxBranch", "rxLiteral \"ab\"", "rxClose1",
                   "rxBack", "rxBranch", "rxEmpty", "rxEnd"}));
  EXPECT_EQ(shape("x+?"), (Shape{"rxBranch", "rxPlusLazy", "rxLiteral \"x\"", "rxEnd"}));
  EXPECT_EQ(shape("x?"), (Shape{"rxBranch", "rxBranch", "rxLiteral \"x\"", "rxBranch", "rxEmpty",
                                "rxEnd"}));
  EXPECT_EQ(shape("x??"), (Shape{"rxBranch", "rxRangeLazy 0..1", "rxLiteral \"x\"", "rxEnd"}));
  EXPECT_EQ(shape("(a)*?"), (Shape{"rxBranch", "rxLoopEntry", "rxOpen1", "rxBranch",
                                   "rxLiteral \"a\"", "rxClose1", "rxLoopLazy 0..2147483646 body=11",
                                   "rxEnd"}));
  // with greediness off every quantifier is lazy
  EXPECT_EQ(shape("x*", regex::kModS), (Shape{"rxBranch", "rxStarLazy", "rxLiteral \"x\"", "rxEnd"}));
  // a repeated group holding a back-reference marks where each iteration starts, and leaves the
  // loop after an iteration that consumed nothing
  EXPECT_EQ(shape("(a)(\\1)*"),
            (Shape{"rxBranch", "rxOpen1", "rxBranch", "rxLiteral \"a\"", "rxClose1", "rxBranch",
                   "rxIterMark r0", "rxOpen2", "rxBranch", "rxBackRef \\1", "rxClose2",
                   "rxIterBack r0 exit=85", "rxBranch", "rxEmpty", "rxEnd"}));
}

TEST(RegexCompile, SetsBecomeTheSmallestNode) {
  EXPECT_EQ(shape("[ba]")[1], "rxAnyOfThree abb");
  EXPECT_EQ(shape("[^\\n]")[1], "rxNoneOfThree \\x{A}\\x{A}\\x{A}");
  EXPECT_EQ(shape("[a-e]")[1], "rxAnyOfSet [abcde]");
  EXPECT_EQ(shape("[^\\x00-\\x{7E}]")[1], "rxAnyOfSet [\\x{7F}\\x{80}-\\x{10FFFF}]");
  EXPECT_EQ(shape("[の]")[1], "rxAnyOfThree \\x{306E}\\x{306E}\\x{306E}");
  // under i the members bring their other case, the class escapes do not
  EXPECT_EQ(shape("[a]", regex::kModI | regex::kModS | regex::kModG)[1], "rxAnyOfThree Aaa");
  EXPECT_EQ(shape("\\d")[1], "rxDigit");
  EXPECT_EQ(shape("\\s")[1], "rxAnyOfSet [\\x{9}\\x{A}\\x{C}\\x{D} ]");
}

TEST(RegexCompile, ErrorsCarryCodeTextAndPosition) {
  struct Case {
    const char* pattern;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"[abc", 113, "TRegExpr(comp): Unmatched [] (pos 4)"},
      {"x**", 107, "TRegExpr(comp): Nested *?+ (pos 2)"},
      {"*x", 115, "TRegExpr(comp): ?+*{ Follows Nothing (pos 1)"},
      {"(a*)*", 106, "TRegExpr(comp): *+ Operand Could Be Empty (pos 5)"},
      {"a{3,1}", 124, "TRegExpr(comp): BRACE Min Param Greater then Max (pos 5)"},
      {"(?q)", 127, "TRegExpr(comp): Urecognized Modifier (pos 3)"},
      {"の[", 113, "TRegExpr(comp): Unmatched [] (pos 2)"},  // positions count characters
  };
  for (const Case& c : cases) {
    TRegExpr re;
    re.SetExpression(c.pattern);
    try {
      re.CompileExpression();
      ADD_FAILURE() << c.pattern << " compiled";
    } catch (const ERegExpr& e) {
      EXPECT_EQ(e.ErrorCode, c.code) << c.pattern;
      EXPECT_EQ(e.message(), c.message) << c.pattern;
      EXPECT_STREQ(e.className(), "ERegExpr");
      EXPECT_EQ(re.LastError(), c.code);
      EXPECT_FALSE(re.IsCompiled());
      EXPECT_EQ(re.Dump(), "");
    }
  }
}

TEST(RegexCompile, ErrorTexts) {
  EXPECT_EQ(regex::ErrorText(0), "No errors");
  EXPECT_EQ(regex::ErrorText(128),
            "TRegExpr(comp): LinePairedSeparator must countain two different chars or no chars at all");
  EXPECT_EQ(regex::ErrorText(1013), "Unknown error");
  EXPECT_EQ(regex::ErrorText(117), "Unknown error");
  EXPECT_EQ(regex::ErrorText(1015), "TRegExpr(exec): Loop Without LoopEntry !");
}

TEST(RegexCompile, Modifiers) {
  TRegExpr re;
  const bool defaults[] = {false, true, true, true, false, false};  // i r s g m x
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(re.ReadModifier(i), defaults[i - 1]) << i;
  re.WriteModifier(1, true);
  re.WriteModifier(3, false);
  EXPECT_TRUE(re.ReadModifier(1));
  EXPECT_FALSE(re.ReadModifier(3));
  for (int bad : {0, 7, -1}) {
    try {
      re.WriteModifier(bad, true);
      ADD_FAILURE() << bad;
    } catch (const ERegExpr& e) {
      EXPECT_EQ(e.ErrorCode, 1013);
      EXPECT_EQ(e.message(), "Unknown error");
    }
  }

  uint32_t mods = 0;
  EXPECT_TRUE(TRegExpr::ReadModifierLetters("iM-sx", mods));
  EXPECT_EQ(mods, regex::kModI | regex::kModM);
  mods = regex::kModS;
  EXPECT_FALSE(TRegExpr::ReadModifierLetters("iq", mods));
  EXPECT_EQ(mods, regex::kModS | regex::kModI);
}

// A modifier changed after compiling takes effect at the next search.
TEST(RegexCompile, ModifierChangeRecompiles) {
  TRegExpr re;
  re.SetExpression("abc");
  EXPECT_FALSE(re.Exec("ABC"));
  re.WriteModifier(1, true);
  EXPECT_TRUE(re.Exec("ABC"));
  re.SetExpression("abc");  // same text, kept
  EXPECT_TRUE(re.IsCompiled());
  re.SetExpression("abd");
  EXPECT_FALSE(re.IsCompiled());
}

TEST(RegexCompile, PatternIsTakenByLength) {
  TRegExpr re;
  re.SetExpression(std::string("a\0b", 3));
  EXPECT_EQ(re.Expression().size(), 3u);
  EXPECT_FALSE(re.Exec("a"));
  EXPECT_TRUE(re.Exec(std::string("xa\0b", 4)));
}

TEST(RegexCompile, LinePairedSeparator) {
  TRegExpr re;
  EXPECT_EQ(re.LinePairedSeparator(), "\r\n");
  for (const char* bad : {"aa", "abc", "a"}) {
    try {
      re.SetLinePairedSeparator(bad);
      ADD_FAILURE() << bad;
    } catch (const ERegExpr& e) {
      EXPECT_EQ(e.ErrorCode, 128);
      EXPECT_EQ(e.message(), regex::ErrorText(128) + " (pos 0)");
    }
  }
  re.SetLinePairedSeparator("のx");
  EXPECT_EQ(re.LinePairedSeparator(), "のx");
  re.SetLinePairedSeparator("");
  EXPECT_EQ(re.LinePairedSeparator(), "");
}

TEST(RegexCompile, LineSeparatorsDecideWhatCaretMeans) {
  TRegExpr re;
  re.WriteModifier(5, true);
  re.SetExpression("^b");
  re.SetLineSeparators("|");
  EXPECT_TRUE(re.Exec("a|b"));
  EXPECT_FALSE(re.Exec("a\nb"));
  re.SetLinePairedSeparator("");
  re.SetLineSeparators("");
  EXPECT_FALSE(re.Exec("a|b"));  // nothing configured: start of input only
  EXPECT_TRUE(re.Exec("ba"));
  re.SetLinePairedSeparator("<>");
  EXPECT_TRUE(re.Exec("a<>b"));
  EXPECT_FALSE(re.Exec("a<b"));
  re.SetExpression("a$");  // the pair's head is where a line can end, and a search can start
  ASSERT_TRUE(re.Exec("xa<>b"));
  EXPECT_EQ(re.GroupPos(0), 2);
  re.SetExpression("$");
  ASSERT_TRUE(re.Exec("xa<>b"));
  EXPECT_EQ(re.GroupPos(0), 3);
}

TEST(RegexCompile, CustomClasses) {
  TRegExpr re;
  re.SetWordChars("abの");
  re.SetExpression("\\w+");
  ASSERT_TRUE(re.Exec("xxbaのc"));
  EXPECT_EQ(re.GroupText(0), "baの");
  re.SetExpression("\\bc");
  ASSERT_TRUE(re.Exec("のc"));  // の is a word character now, c is not
  EXPECT_EQ(re.GroupPos(0), 2);
  EXPECT_FALSE(re.Exec("xc"));
  re.SetSpaceChars("_");
  re.SetExpression("a\\sb");
  EXPECT_TRUE(re.Exec("a_b"));
  EXPECT_FALSE(re.Exec("a b"));
}

}  // namespace
