#include "platform/rt/utf8.h"

namespace rt::utf8 {

namespace {

// Length of the valid sequence at pos, or 0 when the byte there starts none.
size_t validLength(std::string_view s, size_t pos) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + pos;
  size_t left = s.size() - pos;
  unsigned char b0 = p[0];
  if (b0 < 0x80) return 1;
  auto trail = [&](size_t i) { return i < left && (p[i] & 0xC0) == 0x80; };
  if (b0 >= 0xC2 && b0 <= 0xDF) return trail(1) ? 2 : 0;
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (!trail(1) || !trail(2)) return 0;
    if (b0 == 0xE0 && p[1] < 0xA0) return 0;   // overlong
    if (b0 == 0xED && p[1] >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (!trail(1) || !trail(2) || !trail(3)) return 0;
    if (b0 == 0xF0 && p[1] < 0x90) return 0;   // overlong
    if (b0 == 0xF4 && p[1] >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

}  // namespace

size_t charLength(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  size_t n = validLength(s, pos);
  return n ? n : 1;
}

char32_t decode(std::string_view s, size_t pos, size_t* length) {
  if (pos >= s.size()) {
    if (length) *length = 0;
    return 0;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + pos;
  size_t n = validLength(s, pos);
  char32_t cp;
  switch (n) {
    case 1: cp = p[0]; break;
    case 2: cp = (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F); break;
    case 3: cp = (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F); break;
    case 4:
      cp = (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
           (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
      break;
    default: cp = 0xDC00 + p[0]; n = 1; break;
  }
  if (length) *length = n;
  return cp;
}

void append(std::string& out, char32_t cp) {
  if (cp >= 0xDC80 && cp <= 0xDCFF) {
    out.push_back(char(cp - 0xDC00));
    return;
  }
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

std::string encode(char32_t cp) {
  std::string s;
  append(s, cp);
  return s;
}

size_t charCount(std::string_view s) {
  size_t count = 0;
  for (size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    i += b < 0x80 ? 1 : charLength(s, i);
    ++count;
  }
  return count;
}

size_t byteOffset(std::string_view s, size_t index) {
  size_t pos = 0;
  while (index > 0 && pos < s.size()) {
    pos += charLength(s, pos);
    --index;
  }
  return pos;
}

size_t charIndex(std::string_view s, size_t offset) {
  size_t count = 0;
  for (size_t i = 0; i < s.size();) {
    size_t n = charLength(s, i);
    if (offset < i + n) return count;
    i += n;
    ++count;
  }
  return count;
}

std::string_view substr(std::string_view s, size_t start, size_t count) {
  size_t from = byteOffset(s, start);
  if (count == std::string_view::npos) return s.substr(from);
  size_t to = from;
  while (count > 0 && to < s.size()) {
    to += charLength(s, to);
    --count;
  }
  return s.substr(from, to - from);
}

size_t previous(std::string_view s, size_t pos) {
  if (pos == 0) return 0;
  if (pos > s.size()) pos = s.size();
  // A character is at most 4 bytes: try the longest valid sequence that ends exactly at pos.
  for (size_t back = 4; back >= 2; --back) {
    if (pos >= back && validLength(s, pos - back) == back) return pos - back;
  }
  return pos - 1;
}

bool isValid(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    size_t n = validLength(s, i);
    if (!n) return false;
    i += n;
  }
  return true;
}

}  // namespace rt::utf8

namespace rt {

std::string lowerCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = asciiLower(c);
  return r;
}

std::string upperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = asciiUpper(c);
  return r;
}

int compareText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(asciiLower(a[i]));
    unsigned char y = static_cast<unsigned char>(asciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

size_t TextHash::operator()(std::string_view s) const {
  size_t h = 14695981039346656037ull;
  for (char c : s) {
    h ^= static_cast<unsigned char>(asciiLower(c));
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace rt
