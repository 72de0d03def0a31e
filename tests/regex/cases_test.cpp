#include <gtest/gtest.h>

#include "tests/regex/case_runner.h"

namespace regex_test {
namespace {

std::string printable(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out;
}

TEST(RegexCases, EveryRowGivesItsExpectedResult) {
  for (const RegexCase& c : kCases) {
    EXPECT_EQ(runCase(c), c.expect) << "pattern /" << printable(c.pattern) << "/" << c.mods
                                    << " on \"" << printable(c.subject) << "\" from " << c.offset;
  }
}

// Running a row twice on one object gives the same answer (no state leaks between searches).
TEST(RegexCases, RepeatedSearchesAgree) {
  for (const RegexCase& c : kCases) {
    if (c.expect[0] == 'E') continue;
    regex::TRegExpr re;
    uint32_t mods = re.Modifiers();
    regex::TRegExpr::ReadModifierLetters(c.mods, mods);
    re.SetModifiers(mods);
    re.SetExpression(c.pattern);
    re.SetInputString(c.subject);
    bool first = re.ExecPos(c.offset);
    std::string a = first ? describeMatch(re) : "-";
    bool second = re.ExecPos(c.offset);
    std::string b = second ? describeMatch(re) : "-";
    EXPECT_EQ(a, b) << printable(c.pattern);
  }
}

}  // namespace
}  // namespace regex_test
