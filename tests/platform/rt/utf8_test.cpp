#include <gtest/gtest.h>

#include <string>

#include "platform/rt/utf8.h"

using namespace std::string_literals;
namespace u = rt::utf8;

TEST(Utf8, CountsCharactersNotBytes) {
  struct Case { std::string text; size_t chars; };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"霧の灯台", 4},
      {"a\xC3\xA9z", 3},             // é
      {"\xF0\x9F\x98\x80", 1},       // emoji, 4 bytes
      {"\xFF\xFE", 2},               // bytes that start nothing
      {"\xE3\x81", 2},               // truncated sequence: each byte on its own
      {"\xC0\xAF", 2},               // overlong form is not a character
      {"\xED\xA0\x80", 3},           // encoded surrogate is not a character
      {"a\0b"s, 3},
  };
  for (const auto& c : cases) EXPECT_EQ(u::charCount(c.text), c.chars) << c.text;
}

TEST(Utf8, InvalidBytesRoundTripThroughCodePoints) {
  std::string binary;
  for (int b = 0; b < 256; ++b) binary.push_back(char(b));
  std::string rebuilt;
  for (size_t pos = 0, n; pos < binary.size(); pos += n) {
    char32_t cp = u::decode(binary, pos, &n);
    if (static_cast<unsigned char>(binary[pos]) >= 0x80) {
      EXPECT_EQ(cp, 0xDC00u + (unsigned char)binary[pos]);
    }
    u::append(rebuilt, cp);
  }
  EXPECT_EQ(rebuilt, binary);
}

TEST(Utf8, DecodesAndEncodes) {
  EXPECT_EQ(u::decode("霧", 0), 0x9727u);
  EXPECT_EQ(u::encode(0x9727), "霧");
  EXPECT_EQ(u::encode(0x1F600), "\xF0\x9F\x98\x80");
  EXPECT_EQ(u::encode(0xD800), "\xEF\xBF\xBD");  // lone surrogate outside the byte range
  EXPECT_EQ(u::encode(0x110000), "\xEF\xBF\xBD");
}

TEST(Utf8, IndexesAndSlices) {
  std::string s = "aの\xFFz";
  EXPECT_EQ(u::byteOffset(s, 0), 0u);
  EXPECT_EQ(u::byteOffset(s, 2), 4u);
  EXPECT_EQ(u::byteOffset(s, 3), 5u);
  EXPECT_EQ(u::byteOffset(s, 9), s.size());
  EXPECT_EQ(u::charIndex(s, 2), 1u);  // inside "の"
  EXPECT_EQ(u::charIndex(s, 4), 2u);
  EXPECT_EQ(u::substr(s, 1, 2), "の\xFF");
  EXPECT_EQ(u::substr(s, 3), "z");
  EXPECT_EQ(u::substr(s, 7, 2), "");
  EXPECT_EQ(u::previous(s, 4), 1u);
  EXPECT_EQ(u::previous(s, 5), 4u);
  EXPECT_EQ(u::previous(s, 0), 0u);
}

TEST(Utf8, CaseFoldingIsAsciiOnly) {
  EXPECT_EQ(rt::upperCase("abcÀé霧xyz"), "ABCÀé霧XYZ");
  EXPECT_EQ(rt::lowerCase("ÀBC"), "Àbc");
  EXPECT_TRUE(rt::sameText("Caption", "CAPTION"));
  EXPECT_FALSE(rt::sameText("é", "É"));
  EXPECT_LT(rt::compareText("abc", "ABD"), 0);
  EXPECT_GT(rt::compareText("abcd", "ABC"), 0);
  EXPECT_EQ(rt::TextHash{}("OnClick"), rt::TextHash{}("onclick"));
}
