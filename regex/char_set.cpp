#include "regex/char_set.h"

#include <algorithm>

#include "platform/rt/utf8.h"

namespace regex {

void CharSet::addRange(char32_t lo, char32_t hi) {
  if (hi > kMaxCodePoint) hi = kMaxCodePoint;
  if (lo > hi) return;
  for (char32_t c = lo; c <= hi && c < 128; ++c) ascii_[c >> 6] |= uint64_t(1) << (c & 63);
  if (hi < 128) return;
  if (lo < 128) lo = 128;
  // Insert and merge with overlapping or touching neighbours.
  auto it = std::lower_bound(wide_.begin(), wide_.end(), lo,
                             [](const CharRange& r, char32_t v) { return r.hi + 1 < v; });
  auto last = it;
  while (last != wide_.end() && last->lo <= hi + 1) {
    lo = std::min(lo, last->lo);
    hi = std::max(hi, last->hi);
    ++last;
  }
  it = wide_.erase(it, last);
  wide_.insert(it, CharRange{lo, hi});
}

void CharSet::addSet(const CharSet& other) {
  ascii_[0] |= other.ascii_[0];
  ascii_[1] |= other.ascii_[1];
  for (const CharRange& r : other.wide_) addRange(r.lo, r.hi);
}

void CharSet::addText(std::string_view text) {
  for (size_t pos = 0, n; pos < text.size(); pos += n) add(rt::utf8::decode(text, pos, &n));
}

void CharSet::addCasePartners() {
  uint64_t upper = (ascii_[1] >> 1) & 0x3FFFFFF;   // 'A'..'Z' (65..90) in bits 0..25
  uint64_t lower = (ascii_[1] >> 33) & 0x3FFFFFF;  // 'a'..'z' (97..122) in bits 0..25
  uint64_t both = upper | lower;
  ascii_[1] |= (both << 1) | (both << 33);
}

void CharSet::invert() {
  ascii_[0] = ~ascii_[0];
  ascii_[1] = ~ascii_[1];
  std::vector<CharRange> inv;
  char32_t next = 128;
  for (const CharRange& r : wide_) {
    if (r.lo > next) inv.push_back({next, r.lo - 1});
    next = r.hi + 1;
  }
  if (next <= kMaxCodePoint) inv.push_back({next, kMaxCodePoint});
  wide_ = std::move(inv);
}

bool CharSet::containsWide(char32_t c) const {
  auto it = std::upper_bound(wide_.begin(), wide_.end(), c,
                             [](char32_t v, const CharRange& r) { return v < r.lo; });
  return it != wide_.begin() && std::prev(it)->hi >= c;
}

uint32_t CharSet::count(uint32_t limit) const {
  uint64_t n = uint64_t(__builtin_popcountll(ascii_[0])) + __builtin_popcountll(ascii_[1]);
  for (const CharRange& r : wide_) {
    n += uint64_t(r.hi) - r.lo + 1;
    if (n >= limit) return limit;
  }
  return n >= limit ? limit : uint32_t(n);
}

std::vector<char32_t> CharSet::members(uint32_t limit) const {
  std::vector<char32_t> out;
  for (char32_t c = 0; c < 128 && out.size() < limit; ++c)
    if (contains(c)) out.push_back(c);
  for (const CharRange& r : wide_)
    for (char32_t c = r.lo; out.size() < limit; ++c) {
      out.push_back(c);
      if (c == r.hi) break;
    }
  return out;
}

uint8_t firstByteOf(char32_t c) {
  if (c < 0x80) return uint8_t(c);
  if (c >= 0xDC80 && c <= 0xDCFF) return uint8_t(c - 0xDC00);
  if (c < 0x800) return uint8_t(0xC0 | (c >> 6));
  if (c < 0x10000) return uint8_t(0xE0 | (c >> 12));
  return uint8_t(0xF0 | (c >> 18));
}

void CharSet::addFirstBytes(uint64_t byteMap[4]) const {
  byteMap[0] |= ascii_[0];
  byteMap[1] |= ascii_[1];
  auto mark = [&](unsigned b) { byteMap[b >> 6] |= uint64_t(1) << (b & 63); };
  // Lead bytes grow with the code point, so a range covers the lead bytes between those of its
  // ends; the part inside 0xDC80..0xDCFF stands for raw bytes and is marked byte by byte.
  auto markSpan = [&](char32_t lo, char32_t hi) {
    if (lo > hi) return;
    for (unsigned b = firstByteOf(lo); b <= firstByteOf(hi); ++b) mark(b);
  };
  for (const CharRange& r : wide_) {
    markSpan(r.lo, std::min<char32_t>(r.hi, 0xDC7F));
    for (char32_t c = std::max<char32_t>(r.lo, 0xDC80); c <= std::min<char32_t>(r.hi, 0xDCFF); ++c)
      mark(c - 0xDC00);
    markSpan(std::max<char32_t>(r.lo, 0xDD00), r.hi);
  }
}

}  // namespace regex
