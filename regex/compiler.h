// Pattern text to p-code.
//
// A recursive-descent parser in the classic style: ParseReg (alternatives, groups) -> ParseBranch
// (one alternative) -> ParsePiece (an atom and its quantifier) -> ParseAtom. Nodes are emitted as the
// parser goes; a quantifier is inserted in front of its operand once the operand is known, and the
// chains are linked by walking next offsets to their ends. The nesting of the recursion is bounded by
// the group limit, never by the pattern's length.
//
// Characters are UTF-8 sequences: a literal, a set member or a range end is one whole character,
// and a byte that starts no valid sequence is a character of its own (code point 0xDC00 + byte).
// Pattern syntax is ASCII, so a multibyte character never reads as syntax. Case folding is ASCII.
//
// After parsing, a short analysis fills in the search helpers of the program: the look-ahead byte of
// each quantifier, the start bytes, the first byte, anchoring, and a literal every match contains.
#pragma once

#include <cstdint>
#include <string_view>

#include "regex/char_set.h"
#include "regex/program.h"

namespace regex {

enum Modifier : uint32_t {
  kModI = 1,   // ignore case
  kModR = 2,   // Cyrillic ranges in sets
  kModS = 4,   // "." matches line separators too
  kModG = 8,   // quantifiers are greedy
  kModM = 16,  // "^" and "$" work on lines
  kModX = 32,  // extended syntax
};

// Reads modifier letters ("i", "-m", "Ix-s") into `mods`: "-" turns the following letters off; a
// character that is no modifier letter answers false and stops (letters before it are applied).
bool ParseModifierLetters(std::string_view letters, uint32_t& mods);

struct CompileSettings {
  uint32_t modifiers = 0;
  const CharSet* spaceChars = nullptr;
  const CharSet* wordChars = nullptr;
  const CharSet* separators = nullptr;  // line separators
  bool hasPairedSeparator = false;
  char32_t pairHead = 0;                // first character of the paired separator
};

// Compiles `pattern` into `out`; raises Failure (with the pattern bytes consumed) on a bad pattern.
void CompilePattern(std::string_view pattern, const CompileSettings& settings, Program& out);

}  // namespace regex
