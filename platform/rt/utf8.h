// UTF-8 text helpers. Strings are byte strings holding UTF-8; a "character" is one valid UTF-8
// sequence, and a byte that starts no valid sequence counts as one character of its own. Such a
// byte b has the code point 0xDC00 + b (0xDC80..0xDCFF), and encoding that code point gives the
// byte back, so binary strings survive a round trip through code points.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt::utf8 {

// Bytes taken by the character that starts at `pos` (1..4); 0 at or past the end.
size_t charLength(std::string_view s, size_t pos);

// Code point of the character at `pos`; `length` (if given) receives its byte length.
char32_t decode(std::string_view s, size_t pos, size_t* length = nullptr);

// Appends the UTF-8 form of `cp`; 0xDC80..0xDCFF append the raw byte, other surrogates and values
// past 0x10FFFF append U+FFFD.
void append(std::string& out, char32_t cp);
std::string encode(char32_t cp);

size_t charCount(std::string_view s);

// Byte offset of character `index` (0-based); s.size() when the text has fewer characters.
size_t byteOffset(std::string_view s, size_t index);

// Character index of the character containing byte `offset` (offset past the end gives the count).
size_t charIndex(std::string_view s, size_t offset);

// The characters [start, start + count) of `s`, clamped to the text.
std::string_view substr(std::string_view s, size_t start, size_t count = std::string_view::npos);

// Start of the character before `pos` (0 when pos is 0).
size_t previous(std::string_view s, size_t pos);

bool isValid(std::string_view s);

}  // namespace rt::utf8

namespace rt {

// Case folding is ASCII-only: UTF-8 lead and trail bytes are never ASCII, so they are never touched.
inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
inline char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
std::string lowerCase(std::string_view s);
std::string upperCase(std::string_view s);

// Byte-wise comparison ignoring ASCII case: <0, 0, >0.
int compareText(std::string_view a, std::string_view b);
inline bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareText(a, b) == 0;
}

// Hash and equality for unordered containers keyed case-insensitively.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const;
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return sameText(a, b); }
};

}  // namespace rt
