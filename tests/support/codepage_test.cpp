#include "support/codepage.h"

#include <gtest/gtest.h>

#include <string>

using support::SjisToUtf8;
using support::Utf8ToSjis;

TEST(Codepage, Utf8AndShiftJis) {
  struct Case {
    std::string utf8, sjis;
  } cases[] = {
      {"plain \\ ~", "plain \\ ~"},
      {"\xe6\xbc\xa2\xe5\xad\x97", "\x8a\xbf\x8e\x9a"},               // 漢字
      {"\xef\xbd\x9e", "\x81\x60"},                                   // full-width tilde
      {"\xef\xbd\xb6", "\xb6"},                                       // half-width ｶ
      {"a\xe3\x81\x82" "b", "a\x82\xa0" "b"},                         // あ
      {"\xe2\x91\xa0", "\x87\x40"},                                   // ① (an NEC extension)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToSjis(c.utf8), c.sjis) << c.utf8;
    EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8) << c.utf8;
  }
}

TEST(Codepage, UnconvertibleAndStrayBytes) {
  EXPECT_EQ(Utf8ToSjis("a\xf0\x9f\x98\x80" "b"), "a?b");  // no Shift_JIS code for an emoji
  EXPECT_EQ(Utf8ToSjis("a\xff" "b"), "a\xff" "b");       // stray byte carried over
  EXPECT_EQ(SjisToUtf8("a\x82"), "a\x82");               // lead byte at the end
  EXPECT_EQ(SjisToUtf8("\x82\x0a"), "\x82\n");           // lead byte without a second byte
  EXPECT_EQ(SjisToUtf8("\x85\x40"), "?");                // unassigned code
  std::string binary = "\x80\xfd\xfe\xff";
  EXPECT_EQ(Utf8ToSjis(SjisToUtf8(binary)), binary);
}
