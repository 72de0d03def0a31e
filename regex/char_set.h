// A set of characters (code points 0..0x10FFFF, where 0xDC80..0xDCFF stand for bytes that start no
// UTF-8 sequence). The compiler builds class and set members with it; the matcher keeps the word and
// line-separator sets in it. ASCII members live in a 128-bit map, the others in sorted, merged ranges.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace regex {

constexpr char32_t kMaxCodePoint = 0x10FFFF;

struct CharRange {
  char32_t lo, hi;  // inclusive
};

class CharSet {
 public:
  void add(char32_t c) { addRange(c, c); }
  void addRange(char32_t lo, char32_t hi);
  void addSet(const CharSet& other);
  // Every character of a UTF-8 text.
  void addText(std::string_view text);
  // The ASCII letters among the members also bring their other case.
  void addCasePartners();
  // The set of all characters that are not members.
  void invert();

  bool contains(char32_t c) const {
    if (c < 128) return (ascii_[c >> 6] >> (c & 63)) & 1;
    return containsWide(c);
  }
  bool empty() const { return !ascii_[0] && !ascii_[1] && wide_.empty(); }
  bool hasWide() const { return !wide_.empty(); }
  // Number of members, saturating at `limit`.
  uint32_t count(uint32_t limit) const;
  // The members in ascending order, at most `limit` of them.
  std::vector<char32_t> members(uint32_t limit) const;

  const uint64_t* asciiMap() const { return ascii_; }
  const std::vector<CharRange>& wideRanges() const { return wide_; }

  // First bytes of the UTF-8 forms of the members (a byte-range member gives the byte itself).
  void addFirstBytes(uint64_t byteMap[4]) const;

 private:
  bool containsWide(char32_t c) const;

  uint64_t ascii_[2] = {0, 0};
  std::vector<CharRange> wide_;  // members >= 128, sorted and merged
};

// First byte of the UTF-8 form the matcher sees for code point c.
uint8_t firstByteOf(char32_t c);

}  // namespace regex
