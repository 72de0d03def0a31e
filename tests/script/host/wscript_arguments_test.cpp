// Named script arguments: "/name:value" found anywhere in an argument.
#include <gtest/gtest.h>

#include <string>

#include "regex/regexpr.h"
#include "script/host/wscript_object.h"

namespace host {
namespace {

struct Named {
  bool named;
  std::string name, value;
};

Named Split(const std::string& text) {
  Named n{false, "", ""};
  n.named = SplitNamedArgument(text, n.name, n.value);
  return n;
}

TEST(NamedArguments, TheFirstSlashWithANameAndAColonAnywhere) {
  struct Case {
    const char* text;
    bool named;
    const char* name;
    const char* value;
  } cases[] = {
      {"/x:1", true, "x", "1"},
      {"/y:", true, "y", ""},                   // an empty value is a value
      {"c/d:e", true, "d", "e"},                // the slash need not start the argument
      {"/nocolon", false, "", ""},              // a slash without a colon names nothing
      {"/:v", false, "", ""},                   // nor one without a name
      {"/:/k:w", true, "k", "w"},               // ... but a later slash may
      {"/p/q:r", true, "p/q", "r"},             // the name runs to the first colon
      {"/a:b:c", true, "a", "b:c"},             // the value is all the rest
      {"http://host:80/x", true, "/host", "80/x"},
      {"x:/z", false, "", ""},                  // a colon before the slash does not count
      {"plain", false, "", ""},
      {"", false, "", ""},
      {"/", false, "", ""},
      {"/n:line\r\nnext", true, "n", "line\r\nnext"},
      {"/名前:値", true, "名前", "値"},
  };
  for (const Case& c : cases) {
    Named n = Split(c.text);
    EXPECT_EQ(n.named, c.named) << c.text;
    if (c.named) {
      EXPECT_EQ(n.name, c.name) << c.text;
      EXPECT_EQ(n.value, c.value) << c.text;
    }
  }
}

// The rule is the leftmost match of the pattern \/([^\:]+)\:(.*) with the expression engine's
// standard settings; every text built from the few characters that matter agrees with it.
TEST(NamedArguments, AgreeWithThePatternSearch) {
  const char alphabet[] = {'/', ':', 'a', '\n'};
  regex::TRegExpr pattern;
  pattern.SetExpression("\\/([^\\:]+)\\:(.*)");
  int checked = 0;
  for (int length = 0; length <= 6; ++length) {
    int combos = 1;
    for (int i = 0; i < length; ++i) combos *= 4;
    for (int k = 0; k < combos; ++k) {
      std::string text;
      for (int i = 0, rest = k; i < length; ++i, rest /= 4) text += alphabet[rest % 4];
      bool matched = pattern.Exec(text);
      Named n = Split(text);
      ASSERT_EQ(n.named, matched) << '"' << text << '"';
      if (matched) {
        ASSERT_EQ(n.name, pattern.GroupText(1)) << '"' << text << '"';
        ASSERT_EQ(n.value, pattern.GroupText(2)) << '"' << text << '"';
      }
      ++checked;
    }
  }
  EXPECT_EQ(checked, 5461);
}

}  // namespace
}  // namespace host
