// TRegExpr: a regular expression object. It holds a pattern with its modifiers, compiles it to
// p-code on first use (compiler.h), searches a subject with the backtracking matcher (matcher.h),
// and answers the match and its groups, expands replacement templates and splits texts.
//
// Texts are UTF-8 byte strings. A character is one UTF-8 sequence, or a single byte that starts
// none; "." and sets consume whole characters and case folding is ASCII. The positions of the
// classic interface (ExecPos, GroupPos, GroupLen) count characters from 1; the Byte variants give
// 0-based byte offsets for callers that slice the subject themselves. Subjects and patterns are
// taken by length: a NUL byte is an ordinary character.
//
// Every error is raised as ERegExpr through RaiseError. Runaway searches (unbounded backtracking,
// empty iterations without end) stop with reeMatchTooComplex.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/char_set.h"
#include "regex/compiler.h"
#include "regex/errors.h"
#include "regex/matcher.h"
#include "regex/program.h"

namespace regex {

class TRegExpr {
 public:
  TRegExpr();
  virtual ~TRegExpr();
  TRegExpr(const TRegExpr&) = delete;
  TRegExpr& operator=(const TRegExpr&) = delete;

  // --- pattern and modifiers ---
  const std::string& Expression() const { return expression_; }
  void SetExpression(std::string_view pattern);

  // Modifier index 1..6 = i, r, s, g, m, x; any other index raises error 1013.
  bool ReadModifier(int index);
  void WriteModifier(int index, bool on);
  uint32_t Modifiers() const { return modifiers_; }
  void SetModifiers(uint32_t modifiers) { modifiers_ = modifiers; }
  static bool ReadModifierLetters(std::string_view letters, uint32_t& modifiers) {
    return ParseModifierLetters(letters, modifiers);
  }

  const std::string& SpaceChars() const { return spaceChars_; }
  void SetSpaceChars(std::string_view chars);
  const std::string& WordChars() const { return wordChars_; }
  void SetWordChars(std::string_view chars);
  const std::string& LineSeparators() const { return lineSeparators_; }
  void SetLineSeparators(std::string_view chars);
  // Two different characters, or empty for none; anything else raises error 128.
  std::string LinePairedSeparator() const;
  void SetLinePairedSeparator(std::string_view pair);

  void CompileExpression();
  bool IsCompiled() const { return compiled_; }
  // The compiled p-code, one node per line (empty when nothing is compiled).
  std::string Dump() const;

  // --- errors ---
  virtual std::string ErrorText(int code) const;
  [[noreturn]] virtual void RaiseError(int code);
  int LastError() const { return lastError_; }

  // --- matching ---
  std::string_view InputString() const { return input_; }
  void SetInputString(std::string_view text);
  // The input without a copy: the engine reads `text` in place, so the caller keeps it alive and
  // unchanged while it asks for this match (until the next input).
  void BorrowInputString(std::string_view text);
  bool Exec(std::string_view text);
  // Exec on a borrowed input.
  bool ExecBorrowed(std::string_view text);
  // Searches from the character at 1-based `offset`.
  bool ExecPos(int offset = 1);
  // Searches again after the last match (one character further after an empty one).
  bool ExecNext();
  // Searches from a 0-based byte offset on a character boundary.
  bool ExecPosByte(size_t offset);
  // ExecNext that keeps the current match when there is no further one, or when the search
  // raises (the error passes on).
  bool ExecFurther();
  // Moves to the last match of the scan that ExecNext would go on with from the current match.
  void ExecToLast();

  int LastGroup() const;
  int GroupPos(int n) const;   // 1-based character position, -1 when unset
  int GroupLen(int n) const;   // characters, -1 when unset
  std::string GroupText(int n) const;
  int64_t GroupBytePos(int n) const;  // 0-based byte offset, -1 when unset
  int64_t GroupByteLen(int n) const;  // bytes, -1 when unset
  // Character index (0-based) of a byte offset into the input, and back; cheap when the calls
  // move forward through the text.
  size_t CharIndexOfByte(size_t byteOffset) const;
  size_t ByteOffsetOfChar(size_t charIndex) const;

  std::string ExpandTemplate(std::string_view templ);
  // Adds to `list` the pieces of `text` between the matches (empty pieces included).
  void SplitText(std::string_view text, std::vector<std::string>& list);

  // Work budget of one search (node steps, besides an allowance per subject byte), and the size
  // budget of the backtrack stack (entries).
  uint64_t StepLimit() const { return matcher_.stepLimit; }
  void SetStepLimit(uint64_t steps) { matcher_.stepLimit = steps; }
  void SetStackLimit(size_t entries) { matcher_.stackLimit = entries; }

 private:
  void discardProgram() { compiled_ = false; }
  void ensureCompiled();
  void compileProgram();
  bool searchBytes(size_t from);
  void clearSlots();
  bool slotSet(int n) const;
  size_t countChars(size_t from, size_t to) const;
  // The bytes of the pattern when it is one plain literal that can start only where no earlier
  // occurrence of it ends (no part of it is both its start and its end); else empty.
  std::string_view loneLiteral() const;

  std::string expression_;
  uint32_t modifiers_;
  uint32_t progModifiers_ = 0;
  bool compiled_ = false;
  Program program_;
  int lastError_ = 0;
  size_t compilePos_ = 0;  // characters consumed when the current compile error was found

  std::string spaceChars_, wordChars_, lineSeparators_;
  CharSet spaceSet_, wordSet_, separatorSet_;
  bool hasPair_ = true;
  bool standardSets_ = true;  // no set or separator changed: the compiled program may be shared
  char32_t pairHead_ = '\r', pairTail_ = '\n';

  std::string ownInput_;
  std::string_view input_;  // ownInput_, or a text the caller keeps
  bool hasInput_ = false;
  uint32_t slotStart_[kSlotCount];
  uint32_t slotEnd_[kSlotCount];
  Matcher matcher_;

  mutable size_t cacheByte_ = 0, cacheChar_ = 0;
};

// Whether `pattern` matches somewhere in `text` (a fresh TRegExpr with default modifiers).
bool MatchOnce(std::string_view pattern, std::string_view text);
// Clears `list`, then fills it with the pieces of `text` between the matches of `pattern`.
void SplitByPattern(std::string_view pattern, std::string_view text, std::vector<std::string>& list);

}  // namespace regex
