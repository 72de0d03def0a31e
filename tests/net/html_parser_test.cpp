// The HTML splitter and the tag reader: names, attribute values in their quoting forms, the
// entities it decodes, <br> as a line break, and the texts it must not stumble over.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "net/html_parser.h"

namespace {

using net::THtmlParser;
using net::THtmlTag;

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes AttributesOf(const THtmlTag& tag) {
  Attributes out;
  for (const std::string& key : tag.Attributes.KeyList()) out.emplace_back(key, tag.GetAttribute(key));
  return out;
}

struct TagCase {
  const char* text;
  const char* name;
  Attributes attributes;  // sorted by name for the comparison
};

class TagReading : public testing::TestWithParam<TagCase> {};

TEST_P(TagReading, NameAndAttributes) {
  const TagCase& c = GetParam();
  THtmlTag tag(c.text);
  EXPECT_EQ(tag.Name, c.name);
  Attributes got = AttributesOf(tag);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, c.attributes);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, TagReading,
    testing::Values(
        TagCase{"<A HREF=\"x.html\" Target=_blank>", "a", {{"href", "x.html"}, {"target", "_blank"}}},
        TagCase{"<img alt='a b' src=c.gif>", "img", {{"alt", "a b"}, {"src", "c.gif"}}},
        // A ">" inside quotes still closes the value; what follows is an unstored attribute name.
        TagCase{"<a title=\"x>y\">", "a", {{"title", "x"}}},
        TagCase{"<br />", "br", {}},
        TagCase{"<a href=\"a&amp;b\">", "a", {{"href", "a&b"}}},
        TagCase{"<a href=\"a&AMP;b\">", "a", {{"href", "a&b"}}},
        TagCase{"<p title=&quot;q&quot;>", "p", {{"title", "\"q\""}}},
        // An attribute without "=" runs into the next one; one ended by ">" is not stored.
        TagCase{"<input checked name=x>", "input", {{"checked name", "x"}}},
        TagCase{"<input checked>", "input", {}},
        // Tabs and line breaks inside a tag are blanks.
        TagCase{"<td\tclass=\"c\"\r\nid = 'n 1'\n>", "td", {{"class", "c"}, {"id", "n 1"}}},
        TagCase{"<a href=\"\" x=\"1\">", "a", {{"href", ""}, {"x", "1"}}},
        TagCase{"<a b=1 B=2>", "a", {{"b", "2"}}},
        TagCase{"</A>", "/a", {}},
        TagCase{"<!-- note -->", "!--", {}},
        TagCase{"<>", "", {}},
        // A value still open at the end is dropped.
        TagCase{"<a href=\"open", "a", {}}));

TEST(HtmlTag, AttributeNamesFollowTheTableOrder) {
  THtmlTag tag("<x zeta=1 alpha=2 mid=3 b=4>");
  // One name a line, in the order of the 53-bucket table, never the order of the text.
  EXPECT_EQ(tag.GetAttributeNames(), "mid\r\nalpha\r\nzeta\r\nb\r\n");
  EXPECT_EQ(tag.GetAttribute("MID"), "3");
  EXPECT_EQ(tag.GetAttribute("missing"), "");
}

TEST(HtmlParser, SplitsTagsAndText) {
  THtmlParser parser("a<br>b<BR>c");
  EXPECT_EQ(parser.Count(), 0);
  EXPECT_EQ(parser.PlainText, "a\r\nb\r\nc");

  parser.Parse("<p>Hello <b class=x>world</b>!<img src=a.gif");
  ASSERT_EQ(parser.Count(), 3);
  EXPECT_EQ(parser.GetTag(0)->Name, "p");
  EXPECT_EQ(parser.GetTag(1)->GetAttribute("class"), "x");
  EXPECT_EQ(parser.GetTag(2)->Name, "/b");
  EXPECT_EQ(parser.GetTag(3), nullptr);
  EXPECT_EQ(parser.GetTag(-1), nullptr);
  // The unclosed tag at the end is dropped, its text too.
  EXPECT_EQ(parser.PlainText, "Hello world!");

  // A "<" inside a tag starts the tag afresh.
  parser.Parse("<a <b c=1>");
  ASSERT_EQ(parser.Count(), 1);
  EXPECT_EQ(parser.GetTag(0)->Name, "b");

  parser.Clear();
  EXPECT_EQ(parser.Count(), 0);
}

TEST(HtmlParser, EachParseStartsAfresh) {
  THtmlParser parser("<p>first</p>");
  parser.Parse("<i>second</i>");
  EXPECT_EQ(parser.PlainText, "second");
  EXPECT_EQ(parser.Count(), 2);
  EXPECT_EQ(parser.GetTag(0)->Name, "i");
}

TEST(HtmlParser, StrayClosingBracketIsText) {
  THtmlParser parser("<p>a > b</p> >");
  ASSERT_EQ(parser.Count(), 2);
  EXPECT_EQ(parser.GetTag(1)->Name, "/p");
  EXPECT_EQ(parser.PlainText, "a > b >");
  parser.Parse(">x>");
  EXPECT_EQ(parser.Count(), 0);
  EXPECT_EQ(parser.PlainText, ">x>");
}

}  // namespace
