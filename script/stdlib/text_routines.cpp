#include "script/stdlib/text_routines.h"

#include <algorithm>
#include <vector>

#include "platform/rt/utf8.h"

namespace stdlib {

namespace {

// Byte offsets of every character start, followed by the text's size.
std::vector<size_t> charStarts(std::string_view text) {
  std::vector<size_t> starts;
  starts.reserve(text.size() + 1);
  for (size_t pos = 0; pos < text.size(); pos += rt::utf8::charLength(text, pos)) starts.push_back(pos);
  starts.push_back(text.size());
  return starts;
}

bool isStart(const std::vector<size_t>& starts, size_t offset) {
  return std::binary_search(starts.begin(), starts.end(), offset);
}

// Character index (0-based) of a byte offset that is a character start.
size_t indexOfStart(const std::vector<size_t>& starts, size_t offset) {
  return size_t(std::lower_bound(starts.begin(), starts.end(), offset) - starts.begin());
}

// The first match of `sub` at or after byte `from` that starts and ends on character boundaries.
size_t findChars(std::string_view sub, std::string_view text, const std::vector<size_t>& starts, size_t from) {
  for (size_t pos = text.find(sub, from); pos != std::string_view::npos; pos = text.find(sub, pos + 1))
    if (isStart(starts, pos) && isStart(starts, pos + sub.size())) return pos;
  return std::string_view::npos;
}

int32_t clampCount(size_t n) { return n > size_t(INT32_MAX) ? INT32_MAX : int32_t(n); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Byte positions

int32_t PosFrom(std::string_view sub, std::string_view text, int32_t from) {
  if (sub.empty()) return 0;
  size_t start = from < 2 ? 0 : size_t(from) - 1;
  if (start >= text.size()) return 0;
  size_t pos = text.find(sub, start);
  return pos == std::string_view::npos ? 0 : clampCount(pos + 1);
}

int32_t LastPos(std::string_view sub, std::string_view text, int32_t from) {
  if (sub.empty() || sub.size() > text.size()) return 0;
  size_t limit = (from > 0 && size_t(from) <= text.size()) ? size_t(from) - 1 : std::string_view::npos;
  size_t pos = text.rfind(sub, limit);
  return pos == std::string_view::npos ? 0 : clampCount(pos + 1);
}

// ---------------------------------------------------------------------------------------------
// Character positions

int32_t MBLength(std::string_view text) { return clampCount(rt::utf8::charCount(text)); }

std::string MBCopy(std::string_view text, int32_t start, int32_t count) {
  if (count <= 0) return {};
  if (start <= 0) start = 1;
  size_t from = rt::utf8::byteOffset(text, size_t(start) - 1);
  if (from >= text.size()) return {};
  std::string_view rest = text.substr(from);
  return std::string(rest.substr(0, rt::utf8::byteOffset(rest, size_t(count))));
}

std::string MBCharAt(std::string_view text, int32_t index) {
  if (index <= 0) return {};
  size_t from = rt::utf8::byteOffset(text, size_t(index) - 1);
  if (from >= text.size()) return {};
  return std::string(text.substr(from, rt::utf8::charLength(text, from)));
}

void MBInsert(std::string_view sub, std::string& text, int32_t index) {
  if (index <= 0) index = 1;
  size_t at = rt::utf8::byteOffset(text, size_t(index) - 1);
  if (at >= text.size() && size_t(index) - 1 > rt::utf8::charCount(text)) return;
  text.insert(at, sub);
}

void MBDelete(std::string& text, int32_t index, int32_t count) {
  if (count <= 0 || index <= 0) return;
  size_t from = rt::utf8::byteOffset(text, size_t(index) - 1);
  if (from >= text.size()) return;
  size_t to = from + rt::utf8::byteOffset(std::string_view(text).substr(from), size_t(count));
  text.erase(from, to - from);
}

void MBSetCharAt(std::string_view ch, std::string& text, int32_t index) {
  MBDelete(text, index, 1);
  MBInsert(ch, text, index);
}

std::string MBSlice(std::string_view text, int32_t start, int32_t end) {
  int64_t count = MBLength(text);
  int64_t s = start, e = end;
  if (s <= 0) {
    s += count;
    if (s <= 0) s = 1;
  }
  if (e <= 0) e += count;
  int64_t n = e - s;
  if (n <= 0) return {};
  return MBCopy(text, int32_t(s), int32_t(std::min<int64_t>(n, INT32_MAX)));
}

void MBReplaceSlice(std::string_view sub, std::string& text, int32_t start, int32_t end) {
  int64_t count = MBLength(text);
  int64_t s = start, e = end;
  if (s <= 0) s += count;
  if (e <= 0) e += count;
  // Held to the text: a range that starts before the first character starts at it, one that
  // starts past the end appends.
  s = std::clamp<int64_t>(s, 1, count + 1);
  e = std::clamp<int64_t>(e, 1, count + 1);
  if (e > s) MBDelete(text, int32_t(s), int32_t(e - s));
  MBInsert(sub, text, int32_t(s));
}

int32_t MBPos(std::string_view sub, std::string_view text, int32_t from) {
  if (sub.empty()) return 0;
  std::vector<size_t> starts = charStarts(text);
  size_t first = from < 2 ? 0 : size_t(from) - 1;
  if (first >= starts.size() - 1) return 0;
  size_t pos = findChars(sub, text, starts, starts[first]);
  return pos == std::string_view::npos ? 0 : clampCount(indexOfStart(starts, pos) + 1);
}

int32_t MBLastPos(std::string_view sub, std::string_view text, int32_t from) {
  if (sub.empty()) return 0;
  std::vector<size_t> starts = charStarts(text);
  size_t chars = starts.size() - 1;
  // The last start allowed: character `from` (1-based), or the last character.
  size_t lastStart = (from > 0 && size_t(from) <= chars) ? size_t(from) - 1 : chars;
  size_t result = std::string_view::npos;
  for (size_t pos = findChars(sub, text, starts, 0); pos != std::string_view::npos;
       pos = findChars(sub, text, starts, pos + 1)) {
    size_t index = indexOfStart(starts, pos);
    if (index > lastStart) break;
    result = index;
  }
  return result == std::string_view::npos ? 0 : clampCount(result + 1);
}

std::string MBReverse(std::string_view text) {
  std::vector<size_t> starts = charStarts(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = starts.size() - 1; i > 0; --i) out.append(text.substr(starts[i - 1], starts[i] - starts[i - 1]));
  return out;
}

// ---------------------------------------------------------------------------------------------
// Width and kana

namespace {

// Full-width katakana (and signs) of the half-width forms U+FF61..U+FF9F.
constexpr char32_t kHalfKanaToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3,
    0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF,
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF,
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF,
    0x30F3, 0x309B, 0x309C,
};
constexpr char32_t kHalfFirst = 0xFF61, kHalfLast = 0xFF9F;
constexpr char32_t kHalfVoiced = 0xFF9E, kHalfSemiVoiced = 0xFF9F;

// Latin-1 and other signs with full-width forms U+FFE0..U+FFE6.
constexpr char32_t kSignsToFull[][2] = {{0xA2, 0xFFE0}, {0xA3, 0xFFE1}, {0xAC, 0xFFE2}, {0xAF, 0xFFE3},
                                        {0xA6, 0xFFE4}, {0xA5, 0xFFE5}, {0x20A9, 0xFFE6}};

// Katakana letters that take the voiced mark (the voiced letter is the next code point).
bool takesVoiced(char32_t c) {
  return (c >= 0x30AB && c <= 0x30C2 && (c - 0x30AB) % 2 == 0) || c == 0x30C4 || c == 0x30C6 || c == 0x30C8 ||
         (c >= 0x30CF && c <= 0x30DB && (c - 0x30CF) % 3 == 0);
}
// Katakana letters that take the semi-voiced mark (the letter two code points on): the h-row.
bool takesSemiVoiced(char32_t c) { return c >= 0x30CF && c <= 0x30DB && (c - 0x30CF) % 3 == 0; }
constexpr char32_t kKanaU = 0x30A6, kKanaVu = 0x30F4;

// The half-width form of a full-width katakana letter or sign; 0 when it has none.
char32_t halfOfFull(char32_t c) {
  for (char32_t i = 0; i <= kHalfLast - kHalfFirst; ++i)
    if (kHalfKanaToFull[i] == c) return kHalfFirst + i;
  return 0;
}

template <class Map>
std::string mapChars(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = 0;
    char32_t c = rt::utf8::decode(text, pos, &len);
    size_t nextLen = 0;
    char32_t next = pos + len < text.size() ? rt::utf8::decode(text, pos + len, &nextLen) : 0;
    // The map may take the next character too (a voiced mark); it answers how many it took.
    size_t taken = map(c, next, out);
    if (taken == 0) {
      out.append(text.substr(pos, len));  // unchanged, bytes as they were
      taken = 1;
    }
    pos += len;
    if (taken == 2) pos += nextLen;
  }
  return out;
}

}  // namespace

std::string MapToFullWidth(std::string_view text) {
  return mapChars(text, [](char32_t c, char32_t next, std::string& out) -> size_t {
    if (c == 0x20) {
      rt::utf8::append(out, 0x3000);
      return 1;
    }
    if (c >= 0x21 && c <= 0x7E) {
      rt::utf8::append(out, c - 0x21 + 0xFF01);
      return 1;
    }
    if (c >= kHalfFirst && c <= kHalfLast) {
      char32_t full = kHalfKanaToFull[c - kHalfFirst];
      if (next == kHalfVoiced && takesVoiced(full)) {
        rt::utf8::append(out, full + 1);
        return 2;
      }
      if (next == kHalfVoiced && full == kKanaU) {
        rt::utf8::append(out, kKanaVu);
        return 2;
      }
      if (next == kHalfSemiVoiced && takesSemiVoiced(full)) {
        rt::utf8::append(out, full + 2);
        return 2;
      }
      rt::utf8::append(out, full);
      return 1;
    }
    for (const auto& pair : kSignsToFull) {
      if (pair[0] == c) {
        rt::utf8::append(out, pair[1]);
        return 1;
      }
    }
    return 0;
  });
}

std::string MapToHalfWidth(std::string_view text) {
  return mapChars(text, [](char32_t c, char32_t, std::string& out) -> size_t {
    if (c == 0x3000) {
      out.push_back(' ');
      return 1;
    }
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out.push_back(char(c - 0xFF01 + 0x21));
      return 1;
    }
    for (const auto& pair : kSignsToFull) {
      if (pair[1] == c) {
        rt::utf8::append(out, pair[0]);
        return 1;
      }
    }
    if (char32_t half = halfOfFull(c)) {
      rt::utf8::append(out, half);
      return 1;
    }
    char32_t base = 0, mark = 0;
    if (c == kKanaVu) {
      base = kKanaU, mark = kHalfVoiced;
    } else if (takesVoiced(c - 1)) {
      base = c - 1, mark = kHalfVoiced;
    } else if (takesSemiVoiced(c - 2)) {
      base = c - 2, mark = kHalfSemiVoiced;
    }
    if (!base) return 0;
    rt::utf8::append(out, halfOfFull(base));
    rt::utf8::append(out, mark);
    return 1;
  });
}

std::string MapToHiragana(std::string_view text) {
  return mapChars(text, [](char32_t c, char32_t, std::string& out) -> size_t {
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) {
      rt::utf8::append(out, c - 0x60);
      return 1;
    }
    return 0;
  });
}

std::string MapToKatakana(std::string_view text) {
  return mapChars(text, [](char32_t c, char32_t, std::string& out) -> size_t {
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) {
      rt::utf8::append(out, c + 0x60);
      return 1;
    }
    return 0;
  });
}

}  // namespace stdlib
