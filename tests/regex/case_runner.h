// Runs a row of the case table through TRegExpr and renders the outcome in the table's notation.
#pragma once

#include <string>

#include "regex/regexpr.h"
#include "tests/regex/cases.h"

namespace regex_test {

inline std::string describeMatch(regex::TRegExpr& re) {
  std::string out;
  for (int n = 0; n <= re.LastGroup(); ++n) {
    if (n) out += ' ';
    int pos = re.GroupPos(n);
    out += pos < 0 ? std::string(".") : std::to_string(pos) + "," + std::to_string(re.GroupLen(n));
  }
  return out;
}

inline std::string runCase(const RegexCase& c) {
  regex::TRegExpr re;
  uint32_t mods = re.Modifiers();
  if (!regex::TRegExpr::ReadModifierLetters(c.mods, mods)) return "bad modifiers";
  re.SetModifiers(mods);
  re.SetExpression(c.pattern);
  try {
    re.SetInputString(c.subject);
    if (!re.ExecPos(c.offset)) return "-";
    return describeMatch(re);
  } catch (const regex::ERegExpr& e) {
    return "E" + std::to_string(e.ErrorCode);
  }
}

}  // namespace regex_test
