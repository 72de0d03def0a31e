// The shared text of string values: character positions answered through its index, and appends
// that grow a text in place only while a single value holds it.
#include <gtest/gtest.h>

#include <string>

#include "platform/rt/utf8.h"
#include "script/core/value.h"

namespace engine {
namespace {

// A text long enough to be indexed: ASCII, two-, three- and four-byte characters, and bytes that
// start no valid sequence (each one character of its own).
std::string mixedText(size_t repeats) {
  std::string text;
  for (size_t i = 0; i < repeats; ++i) {
    text += "a\xC3\xA9";          // a é
    text += "\xE6\x97\xA5" "0";   // 日 0
    text += "\xF0\x9F\x98\x80";   // an emoji
    if (i % 7 == 3) text += "\xFF\x80";  // two stray bytes
    if (i % 11 == 5) text += "\xE6\x97";  // a cut-off sequence
  }
  return text;
}

TEST(StringRep, PositionsAgreeWithTheCharacterRoutines) {
  for (size_t repeats : {size_t(3), size_t(40), size_t(700)}) {
    std::string text = mixedText(repeats);
    TJValue value = TJValue::String(text);
    const TJStringRep* rep = value.vStringRep();
    size_t count = rt::utf8::charCount(text);
    ASSERT_EQ(rep->CharCount(), count);
    EXPECT_FALSE(rep->IsSingleByte());
    // Forward, backward and jumping: every answer is that of a walk from the start.
    for (size_t i = 0; i <= count; ++i) EXPECT_EQ(rep->ByteOfChar(i), rt::utf8::byteOffset(text, i)) << i;
    for (size_t i = count + 1; i-- > 0;) EXPECT_EQ(rep->ByteOfChar(i), rt::utf8::byteOffset(text, i)) << i;
    for (size_t i = 0; i < count; i += 37) EXPECT_EQ(rep->ByteOfChar(count - 1 - i), rt::utf8::byteOffset(text, count - 1 - i));
    EXPECT_EQ(rep->ByteOfChar(count + 5), text.size());
    for (size_t pos = 0; pos <= text.size(); ++pos) {
      bool start = pos == text.size() || rt::utf8::byteOffset(text, rt::utf8::charIndex(text, pos)) == pos;
      EXPECT_EQ(rep->IsCharStart(pos), start) << pos;
      if (start) {
        EXPECT_EQ(rep->CharOfByte(pos), rt::utf8::charIndex(text, pos)) << pos;
      }
    }
  }
}

TEST(StringRep, SingleByteTextNeedsNoIndex) {
  std::string text(1000, 'x');
  text[500] = '\x7F';
  TJValue value = TJValue::String(text);
  const TJStringRep* rep = value.vStringRep();
  EXPECT_TRUE(rep->IsSingleByte());
  EXPECT_EQ(rep->ByteOfChar(777), 777u);
  EXPECT_EQ(rep->CharOfByte(321), 321u);
  EXPECT_EQ(rep->marks, nullptr);
}

TEST(StringRep, AppendGrowsASingleOwnersTextAndRecountsIt) {
  TJStringRep* rep = TJStringRep::Make("ab");
  ASSERT_TRUE(rep->IsSingleByte());
  std::string expected = "ab";
  for (int i = 0; i < 2000; ++i) {
    std::string more = i % 100 == 99 ? "\xC3\xA9" : "c";
    rep = TJStringRep::Append(rep, more);
    expected += more;
  }
  EXPECT_EQ(rep->view(), expected);
  EXPECT_EQ(rep->data[rep->size], '\0');
  EXPECT_GE(rep->capacity, rep->size);
  EXPECT_LT(rep->capacity, 2 * rep->size + 2);  // grown by doubling, not by the piece
  EXPECT_EQ(rep->CharCount(), rt::utf8::charCount(expected));
  EXPECT_EQ(rep->ByteOfChar(1500), rt::utf8::byteOffset(expected, 1500));
  // Appending after an index was built drops it: the new characters are found.
  rep = TJStringRep::Append(rep, "\xE6\x97\xA5z");
  expected += "\xE6\x97\xA5z";
  size_t count = rt::utf8::charCount(expected);
  EXPECT_EQ(rep->CharCount(), count);
  EXPECT_EQ(rep->ByteOfChar(count - 1), expected.size() - 1);
  TJStringRep::Free(rep);
}

}  // namespace
}  // namespace engine
