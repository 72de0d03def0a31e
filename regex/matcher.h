// Runs a program against a subject by backtracking.
//
// The matcher is a loop over the p-code with an explicit stack on the heap: a choice pushes the
// place to resume from, and every change of state (group slots, loop counters, iteration marks) pushes
// the old value when a choice below could still come back to it. Failing pops the stack until a
// choice resumes. So the C++ stack stays flat whatever the subject's length or the pattern's shape,
// and captures and loop state are exactly those of the path that succeeded.
//
// Work is bounded: every node step and every resumed choice counts against a step budget (a fixed
// part plus an allowance per byte of subject searched, so that long texts are not cut short), and
// the stack against a size budget; running out raises reeMatchTooComplex instead of hanging on patterns
// that backtrack without end. A loop iteration that consumes nothing (possible only through an
// empty back-reference or an optional group) ends the loop instead of spinning.
//
// Subjects are byte strings matched by length, so NUL is an ordinary character. Positions are byte
// offsets on character boundaries of the UTF-8 text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "regex/char_set.h"
#include "regex/program.h"

namespace regex {

constexpr uint32_t kUnset = 0xFFFFFFFF;
constexpr uint64_t kDefaultStepLimit = 100'000'000;
constexpr uint64_t kStepsPerByte = 32;
constexpr size_t kDefaultStackLimit = size_t(1) << 23;  // backtrack entries (16 bytes each)

// What the matcher needs besides the program: the subject and the character classes that are
// decided at match time.
struct MatchContext {
  std::string_view subject;
  const CharSet* wordChars = nullptr;
  const CharSet* separators = nullptr;
  bool hasPairedSeparator = false;
  char32_t pairHead = 0, pairTail = 0;
};

class Matcher {
 public:
  // Finds the leftmost match starting at byte offset `from` or later. On success slot 0 holds the
  // match and slots 1..14 the groups (kUnset where a group took no part). Raises Failure.
  bool search(const Program& prog, const MatchContext& ctx, uint32_t from);

  uint32_t start[kSlotCount];
  uint32_t end[kSlotCount];

  uint64_t stepLimit = kDefaultStepLimit;
  size_t stackLimit = kDefaultStackLimit;

 private:
  struct Frame {
    uint32_t kind, node, a, b;
  };
  struct LoopState {
    uint32_t count, iterStart;
  };

  bool attempt(uint32_t pos);

  uint32_t charLen(uint32_t pos) const;
  char32_t decode(uint32_t pos, uint32_t& n) const;
  char32_t charBefore(uint32_t pos) const;
  bool isBoundary(uint32_t pos) const;
  uint32_t matchOne(const uint8_t* node, uint32_t pos) const;
  int64_t matchBackRef(const uint8_t* node, uint32_t pos) const;
  bool backRefText(const uint8_t* node, uint32_t& from, uint32_t& len) const;
  uint32_t fixedWidth(const uint8_t* operand) const;
  int64_t repeatOnce(const uint8_t* operand, uint32_t pos) const;
  uint32_t stepBack(const uint8_t* operand, uint32_t pos) const;
  bool lookAheadOk(uint16_t la, uint32_t pos) const;
  bool scanRepeat(const uint8_t* operand, uint32_t& pos, uint32_t min, uint32_t max,
                  uint32_t& minPos) const;
  bool couldStart(size_t branch, uint32_t pos) const;
  bool lineStartAt(uint32_t pos) const;
  bool lineEndAt(uint32_t pos) const;
  bool isWordChar(char32_t c) const { return ctx_->wordChars->contains(c); }

  void push(uint32_t kind, uint32_t node, uint32_t a, uint32_t b);
  void saveUndo(uint32_t kind, uint32_t node, uint32_t a, uint32_t b) {
    if (points_ > 0) push(kind, node, a, b);
  }
  void step() {
    if (++steps_ > budget_) tooComplex();
  }
  [[noreturn]] void tooComplex();

  const Program* prog_ = nullptr;
  const MatchContext* ctx_ = nullptr;
  const uint8_t* s_ = nullptr;
  uint32_t len_ = 0;

  std::vector<Frame> stack_;
  size_t points_ = 0;  // frames on the stack that resume matching (not mere undo records)
  uint64_t steps_ = 0;
  uint64_t budget_ = 0;
  uint32_t pending_[kSlotCount];  // group starts not yet closed
  LoopState loops_[kMaxLoopLevels];
  uint32_t level_ = 0;
  std::vector<uint32_t> regs_;
};

}  // namespace regex
