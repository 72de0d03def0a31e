#include "support/crc.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"

using support::CalcFileCrc;
using support::CalcStrCrc;
using support_test::TempDir;

namespace {
std::string counting(size_t repeats) {
  std::string s;
  for (size_t r = 0; r < repeats; ++r)
    for (int i = 0; i < 256; ++i) s += char(i);
  return s;
}
}  // namespace

TEST(Crc, KnownValues) {
  struct Case {
    std::string text;
    uint16_t crc16;
    uint32_t crc32;
  } cases[] = {
      {"123456789", 0x6F91, 0xCBF43926},
      {"", 0xFFFF, 0x00000000},
      {"a", 0x7D08, 0xE8B7BE43},
      {"The quick brown fox jumps over the lazy dog", 0x6CA7, 0x414FA339},
      {std::string("\0\xff", 2), 0xFFC0, 0x6CDBFD72},
      {counting(800), 0x11D2, 0xFA8191CC},
  };
  for (const Case& c : cases) {
    uint16_t a = 1;
    uint32_t b = 1;
    CalcStrCrc(a, b, c.text);
    EXPECT_EQ(a, c.crc16) << c.text.substr(0, 20);
    EXPECT_EQ(b, c.crc32) << c.text.substr(0, 20);
  }
}

TEST(Crc, FilesMatchTheirText) {
  TempDir dir;
  // 204800 bytes: several 65535-byte chunks and a partial one.
  for (const std::string& text : {counting(800), std::string("123456789"), std::string()}) {
    std::string path = dir.write("f.bin", text);
    uint16_t a, fa;
    uint32_t b, fb;
    CalcStrCrc(a, b, text);
    ASSERT_TRUE(CalcFileCrc(fa, fb, path));
    EXPECT_EQ(fa, a);
    EXPECT_EQ(fb, b);
  }
}

TEST(Crc, UnreadableFilesGiveAllOnes) {
  TempDir dir;
  for (const std::string& path : {dir.file("missing"), dir.path()}) {
    uint16_t a = 0;
    uint32_t b = 0;
    EXPECT_FALSE(CalcFileCrc(a, b, path)) << path;
    EXPECT_EQ(a, 0xFFFF);
    EXPECT_EQ(b, 0xFFFFFFFFu);
  }
}
