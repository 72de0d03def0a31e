#include "regex/matcher.h"

#include <cstring>

#include "platform/rt/utf8.h"
#include "regex/errors.h"
#include "regex/failure.h"

namespace regex {

namespace {

enum FrameKind : uint32_t {
  // frames that resume matching
  fChoice,         // node = branch to try, a = position
  fRepeatGreedy,   // node = quantifier, a = current end, b = lowest end allowed
  fRepeatLazy,     // node = quantifier, a = current end, b = repetitions so far
  fLoopExit,       // node = loop node, a = position: leave the loop here
  fLoopIterate,    // node = loop node, a = position: run one more iteration
  // undo records
  fUndoPending,    // node = group, a = old pending start
  fUndoSlot,       // node = group, a = old start, b = old end
  fUndoLevel,      // a = old loop level
  fUndoLoop,       // node = level index, a = old count, b = old iteration start
  fUndoReg,        // node = register, a = old value
};

inline uint8_t lower(uint8_t b) { return uint8_t(rt::asciiLower(char(b))); }

}  // namespace

void Matcher::tooComplex() { fail(reeMatchTooComplex); }

void Matcher::push(uint32_t kind, uint32_t node, uint32_t a, uint32_t b) {
  if (stack_.size() >= stackLimit) tooComplex();
  stack_.push_back(Frame{kind, node, a, b});
  if (kind < fUndoPending) ++points_;
}

uint32_t Matcher::charLen(uint32_t pos) const {
  if (s_[pos] < 0x80) return 1;
  return uint32_t(rt::utf8::charLength(ctx_->subject, pos));
}

char32_t Matcher::decode(uint32_t pos, uint32_t& n) const {
  if (s_[pos] < 0x80) {
    n = 1;
    return s_[pos];
  }
  size_t len;
  char32_t c = rt::utf8::decode(ctx_->subject, pos, &len);
  n = uint32_t(len);
  return c;
}

char32_t Matcher::charBefore(uint32_t pos) const {
  if (s_[pos - 1] < 0x80) return s_[pos - 1];
  return rt::utf8::decode(ctx_->subject, rt::utf8::previous(ctx_->subject, pos));
}

// A position inside a valid multibyte sequence is no character boundary; a continuation byte that
// belongs to no such sequence is a character of its own.
bool Matcher::isBoundary(uint32_t pos) const {
  if (pos == 0 || pos >= len_ || (s_[pos] & 0xC0) != 0x80) return true;
  for (uint32_t k = 1; k <= 3 && k <= pos; ++k) {
    uint8_t b = s_[pos - k];
    if ((b & 0xC0) == 0x80) continue;
    return rt::utf8::charLength(ctx_->subject, pos - k) <= k;
  }
  return true;
}

// Bytes of the character at `pos` when the one-character operand matches it, else 0.
uint32_t Matcher::matchOne(const uint8_t* p, uint32_t pos) const {
  if (pos >= len_) return 0;
  const uint8_t* o = p + kHeaderSize;
  uint8_t b = s_[pos];
  uint32_t n;
  switch (p[0]) {
    case rxAny:
      return charLen(pos);
    case rxAnyButSeparator: {
      char32_t c = decode(pos, n);
      if (ctx_->separators->contains(c)) return 0;
      if (ctx_->hasPairedSeparator && c == ctx_->pairHead && pos + n < len_) {
        uint32_t m;
        if (decode(pos + n, m) == ctx_->pairTail) return 0;
      }
      return n;
    }
    case rxLiteral: {
      uint32_t len = readU32(o + 1);
      if (len > len_ - pos || std::memcmp(s_ + pos, o + 5, len) != 0) return 0;
      if ((o[0] & kLitEndCheck) && !isBoundary(pos + len)) return 0;
      return len;
    }
    case rxLiteralNoCase: {
      uint32_t len = readU32(o + 1);
      if (len > len_ - pos) return 0;
      for (uint32_t i = 0; i < len; ++i)
        if (lower(s_[pos + i]) != lower(o[5 + i])) return 0;
      if ((o[0] & kLitEndCheck) && !isBoundary(pos + len)) return 0;
      return len;
    }
    case rxDigit:
      return (b >= '0' && b <= '9') ? 1 : 0;
    case rxNotDigit:
      return (b >= '0' && b <= '9') ? 0 : charLen(pos);
    case rxAnyOfThree: {
      char32_t c = decode(pos, n);
      return (c == readU32(o) || c == readU32(o + 4) || c == readU32(o + 8)) ? n : 0;
    }
    case rxNoneOfThree: {
      char32_t c = decode(pos, n);
      return (c == readU32(o) || c == readU32(o + 4) || c == readU32(o + 8)) ? 0 : n;
    }
    case rxAnyOfSet: {
      if (b < 0x80) return ((o[b >> 3] >> (b & 7)) & 1) ? 1 : 0;
      if (o[16] & kSetAsciiOnly) return 0;
      char32_t c = decode(pos, n);
      uint32_t lo = 0, hi = readU32(o + 17);
      const uint8_t* r = o + 21;
      while (lo < hi) {  // first range whose upper end is >= c
        uint32_t mid = (lo + hi) / 2;
        if (readU32(r + 8 * mid + 4) < c) lo = mid + 1;
        else hi = mid;
      }
      return (lo < readU32(o + 17) && readU32(r + 8 * lo) <= c) ? n : 0;
    }
    default:
      fail(reeRegRepeatCalledInappropriately);
  }
}

// The recorded text of a back-reference's group; false when the group is unset.
bool Matcher::backRefText(const uint8_t* p, uint32_t& from, uint32_t& len) const {
  int g = p[kHeaderSize];
  if (g >= kSlotCount || start[g] == kUnset || end[g] == kUnset) return false;
  from = start[g];
  len = end[g] - start[g];
  return true;
}

// Bytes matched by a back-reference at `pos`, -1 when it does not match.
int64_t Matcher::matchBackRef(const uint8_t* p, uint32_t pos) const {
  uint32_t from, len;
  if (!backRefText(p, from, len) || len > len_ - pos) return -1;
  if (p[0] == rxBackRefNoCase) {
    for (uint32_t i = 0; i < len; ++i)
      if (lower(s_[pos + i]) != lower(s_[from + i])) return -1;
  } else if (std::memcmp(s_ + pos, s_ + from, len) != 0) {
    return -1;
  }
  if (!isBoundary(pos + len)) return -1;
  return len;
}

// Byte width of every repetition of a one-character operand when that is fixed, else 0.
uint32_t Matcher::fixedWidth(const uint8_t* p) const {
  const uint8_t* o = p + kHeaderSize;
  switch (p[0]) {
    case rxDigit: return 1;
    case rxLiteral:
    case rxLiteralNoCase: return readU32(o + 1);
    case rxAnyOfSet: return (o[16] & kSetAsciiOnly) ? 1 : 0;
    case rxAnyOfThree:
      return (readU32(o) < 128 && readU32(o + 4) < 128 && readU32(o + 8) < 128) ? 1 : 0;
    case rxBackRef:
    case rxBackRefNoCase: {
      uint32_t from, len;
      return backRefText(p, from, len) ? len : 0;
    }
    default: return 0;
  }
}

// Bytes taken by one more repetition of a quantified operand at `pos`, -1 when none matches.
int64_t Matcher::repeatOnce(const uint8_t* operand, uint32_t pos) const {
  if (operand[0] == rxBackRef || operand[0] == rxBackRefNoCase) return matchBackRef(operand, pos);
  uint32_t n = matchOne(operand, pos);
  return n ? int64_t(n) : -1;
}

uint32_t Matcher::stepBack(const uint8_t* operand, uint32_t pos) const {
  uint32_t w = fixedWidth(operand);
  if (w) return pos - w;
  return uint32_t(rt::utf8::previous(ctx_->subject, pos));
}

bool Matcher::lookAheadOk(uint16_t la, uint32_t pos) const {
  if (!(la & kLookAhead)) return true;
  if (pos >= len_) return false;
  uint8_t b = s_[pos];
  if (la & kLookAheadNoCase) b = lower(b);
  return b == uint8_t(la);
}

// Takes as many repetitions of the operand as possible, at least `min` and at most `max`, from
// `pos` (advanced to the end of the last one); `minPos` receives the end of the first `min`.
bool Matcher::scanRepeat(const uint8_t* p, uint32_t& pos, uint32_t min, uint32_t max,
                         uint32_t& minPos) const {
  uint8_t op = p[0];
  if (op == rxBackRef || op == rxBackRefNoCase) {
    uint32_t from, len;
    if (!backRefText(p, from, len)) {  // an unset group repeats no time
      minPos = pos;
      return min == 0;
    }
    if (len == 0) {  // an empty group repeats as often as asked without moving
      minPos = pos;
      return true;
    }
    uint32_t count = 0;
    for (; count < max; ++count) {
      if (count == min) minPos = pos;
      int64_t n = matchBackRef(p, pos);
      if (n < 0) break;
      pos += uint32_t(n);
    }
    if (count == min) minPos = pos;
    return count >= min;
  }
  uint32_t count = 0;
  for (; count < min; ++count) {
    uint32_t n = matchOne(p, pos);
    if (!n) return false;
    pos += n;
  }
  minPos = pos;
  uint32_t more = max - min;
  const uint8_t* o = p + kHeaderSize;
  switch (op) {
    case rxAny:
      if (more >= len_ - pos) {  // never fewer bytes than characters
        pos = len_;
        return true;
      }
      break;
    case rxDigit: {
      uint32_t stop = more < len_ - pos ? pos + more : len_;
      while (pos < stop && s_[pos] >= '0' && s_[pos] <= '9') ++pos;
      return true;
    }
    case rxAnyOfSet:
      if (o[16] & kSetAsciiOnly) {
        uint32_t stop = more < len_ - pos ? pos + more : len_;
        while (pos < stop && s_[pos] < 0x80 && ((o[s_[pos] >> 3] >> (s_[pos] & 7)) & 1)) ++pos;
        return true;
      }
      break;
    case rxLiteral:
      if (readU32(o + 1) == 1 && o[5] < 0x80) {
        uint32_t stop = more < len_ - pos ? pos + more : len_;
        while (pos < stop && s_[pos] == o[5]) ++pos;
        return true;
      }
      break;
    default:
      break;
  }
  for (uint32_t k = 0; k < more; ++k) {
    uint32_t n = matchOne(p, pos);
    if (!n) break;
    pos += n;
  }
  return true;
}

// False when the alternative behind `branch` cannot start at `pos` because it begins with a
// literal whose first byte is not there.
bool Matcher::couldStart(size_t branch, uint32_t pos) const {
  size_t n = branch + kHeaderSize;
  for (int hops = 0; hops < 4 && isOpen(prog_->op(n)); ++hops) n = prog_->next(n);
  uint8_t op = prog_->op(n);
  if (op != rxLiteral && op != rxLiteralNoCase) return true;
  if (pos >= len_) return false;
  uint8_t want = prog_->code[n + kHeaderSize + 5];
  return op == rxLiteral ? s_[pos] == want : lower(s_[pos]) == lower(want);
}

// Line starts: the subject's start, after a separator, after the paired separator; never between
// the two characters of the pair.
bool Matcher::lineStartAt(uint32_t pos) const {
  if (pos == 0) return true;
  char32_t prev = charBefore(pos);
  if (ctx_->hasPairedSeparator && prev == ctx_->pairTail && pos >= 2) {
    uint32_t before = uint32_t(rt::utf8::previous(ctx_->subject, pos));
    if (before > 0 && charBefore(before) == ctx_->pairHead) return true;
  }
  if (!ctx_->separators->contains(prev)) return false;
  if (ctx_->hasPairedSeparator && prev == ctx_->pairHead && pos < len_) {
    uint32_t n;
    if (decode(pos, n) == ctx_->pairTail) return false;
  }
  return true;
}

bool Matcher::lineEndAt(uint32_t pos) const {
  if (pos >= len_) return true;
  uint32_t n;
  char32_t cur = decode(pos, n);
  if (ctx_->hasPairedSeparator && cur == ctx_->pairHead && pos + n < len_) {
    uint32_t m;
    if (decode(pos + n, m) == ctx_->pairTail) return true;
  }
  if (!ctx_->separators->contains(cur)) return false;
  if (ctx_->hasPairedSeparator && cur == ctx_->pairTail && pos > 0 &&
      charBefore(pos) == ctx_->pairHead)
    return false;
  return true;
}

bool Matcher::search(const Program& prog, const MatchContext& ctx, uint32_t from) {
  prog_ = &prog;
  ctx_ = &ctx;
  s_ = reinterpret_cast<const uint8_t*>(ctx.subject.data());
  len_ = uint32_t(ctx.subject.size());
  steps_ = 0;
  budget_ = stepLimit + kStepsPerByte * (from < len_ ? len_ - from : 0);
  regs_.assign(prog.registerCount, kUnset);
  for (int i = 0; i < kSlotCount; ++i) start[i] = end[i] = kUnset;
  if (from > len_) return false;

  if (!prog.mustLiteral.empty()) {
    std::string_view rest = ctx.subject.substr(from);
    if (rest.find(prog.mustLiteral) == std::string_view::npos) return false;
  }
  if (prog.anchored) return attempt(from);
  if (prog.firstByte >= 0) {
    uint8_t fb = uint8_t(prog.firstByte);
    bool trail = (fb & 0xC0) == 0x80;
    for (uint32_t p = from; p < len_; ++p) {
      const void* hit = std::memchr(s_ + p, fb, len_ - p);
      if (!hit) break;
      p = uint32_t(static_cast<const uint8_t*>(hit) - s_);
      if ((!trail || isBoundary(p)) && attempt(p)) return true;
    }
    return false;
  }
  if (prog.startBytesAll) {
    for (uint32_t p = from;; p += charLen(p)) {
      if (attempt(p)) return true;
      if (p >= len_) return false;
    }
  }
  if (prog.startOnTrailByte) {
    for (uint32_t p = from; p < len_; p += charLen(p))
      if (prog.canStartWith(s_[p]) && attempt(p)) return true;
  } else {
    for (uint32_t p = from; p < len_; ++p)
      if (prog.canStartWith(s_[p]) && attempt(p)) return true;
  }
  return prog.startAtEnd && attempt(len_);
}

bool Matcher::attempt(uint32_t pos) {
  stack_.clear();
  points_ = 0;
  level_ = 0;
  for (int i = 1; i <= prog_->groupCount; ++i) start[i] = end[i] = pending_[i] = kUnset;
  const uint8_t* code = prog_->code.data();
  const uint32_t startPos = pos;
  size_t node = 1;
  const uint8_t* p;
  uint32_t n;

  for (;;) {
  dispatch:
    step();
    p = code + node;
    switch (p[0]) {
      case rxEnd:
        start[0] = startPos;
        end[0] = pos;
        return true;
      case rxInputStart:
        if (pos != 0) goto backtrack;
        break;
      case rxInputEnd:
        if (pos != len_) goto backtrack;
        break;
      case rxAny:
      case rxAnyButSeparator:
      case rxLiteral:
      case rxLiteralNoCase:
      case rxDigit:
      case rxNotDigit:
      case rxAnyOfThree:
      case rxNoneOfThree:
      case rxAnyOfSet:
        n = matchOne(p, pos);
        if (!n) goto backtrack;
        pos += n;
        break;
      case rxBranch: {
        size_t alt = prog_->next(node);
        if (alt && code[alt] == rxBranch) {
          while (alt && code[alt] == rxBranch && !couldStart(alt, pos)) alt = prog_->next(alt);
          if (alt && code[alt] == rxBranch) push(fChoice, uint32_t(alt), pos, 0);
        }
        node += kHeaderSize;
        goto dispatch;
      }
      case rxBack:
      case rxEmpty:
      case rxComment:
        break;
      case rxBackRef:
      case rxBackRefNoCase: {
        int64_t m = matchBackRef(p, pos);
        if (m < 0) goto backtrack;
        pos += uint32_t(m);
        break;
      }
      case rxLineStart:
        if (!lineStartAt(pos)) goto backtrack;
        break;
      case rxLineEnd:
        if (!lineEndAt(pos)) goto backtrack;
        break;
      case rxWordBoundary:
      case rxNotWordBoundary: {
        bool before = pos > 0 && isWordChar(charBefore(pos));
        bool after = false;
        if (pos < len_) after = isWordChar(decode(pos, n));
        if ((before != after) != (p[0] == rxWordBoundary)) goto backtrack;
        break;
      }
      case rxStar:
      case rxPlus:
      case rxRange: {
        uint32_t min, max;
        repeatBounds(p, min, max);
        const uint8_t* operand = p + repeatOperand(p[0]);
        uint32_t minPos;
        if (!scanRepeat(operand, pos, min, max, minPos)) goto backtrack;
        uint16_t la = readU16(p + repeatLookAheadAt(p[0]));
        while (!lookAheadOk(la, pos)) {
          if (pos <= minPos) goto backtrack;
          pos = stepBack(operand, pos);
        }
        if (pos > minPos) push(fRepeatGreedy, uint32_t(node), pos, minPos);
        break;
      }
      case rxStarLazy:
      case rxPlusLazy:
      case rxRangeLazy: {
        uint32_t min, max;
        repeatBounds(p, min, max);
        const uint8_t* operand = p + repeatOperand(p[0]);
        uint32_t minPos;
        if (!scanRepeat(operand, pos, min, min, minPos)) goto backtrack;
        bool emptyRef = (operand[0] == rxBackRef || operand[0] == rxBackRefNoCase) &&
                        fixedWidth(operand) == 0;
        if (emptyRef) break;  // further repetitions would not move
        uint32_t count = min;
        uint16_t la = readU16(p + repeatLookAheadAt(p[0]));
        while (!lookAheadOk(la, pos)) {
          if (count >= max) goto backtrack;
          int64_t m = repeatOnce(operand, pos);
          if (m <= 0) goto backtrack;
          pos += uint32_t(m);
          ++count;
          step();
        }
        if (count < max) push(fRepeatLazy, uint32_t(node), pos, count);
        break;
      }
      case rxLoopEntry:
        if (level_ >= uint32_t(kMaxLoopLevels)) fail(reeLoopStackExceeded);
        // The slot may still belong to a finished loop that a later failure comes back into.
        saveUndo(fUndoLoop, level_, loops_[level_].count, loops_[level_].iterStart);
        saveUndo(fUndoLevel, 0, level_, 0);
        loops_[level_] = LoopState{0, pos};
        ++level_;
        break;
      case rxLoop:
      case rxLoopLazy: {
        if (level_ == 0) fail(reeLoopWithoutEntry);
        uint32_t li = level_ - 1;
        LoopState& ls = loops_[li];
        uint32_t min = readU32(p + kHeaderSize), max = readU32(p + kHeaderSize + 4);
        size_t body = size_t(int64_t(node) + readI32(p + kHeaderSize + 8));
        uint32_t c = ls.count;
        // After an iteration that consumed nothing the remaining ones would all do the same: the
        // loop is done.
        if (c > 0 && pos == ls.iterStart) goto leaveLoop;
        if (c < min) {
          saveUndo(fUndoLoop, li, ls.count, ls.iterStart);
          ls = LoopState{c + 1, pos};
          node = body;
          goto dispatch;
        }
        if (p[0] == rxLoop) {
          if (c < max) {
            push(fLoopExit, uint32_t(node), pos, 0);
            saveUndo(fUndoLoop, li, ls.count, ls.iterStart);
            ls = LoopState{c + 1, pos};
            node = body;
            goto dispatch;
          }
        } else if (c < max) {
          push(fLoopIterate, uint32_t(node), pos, 0);
        }
        goto leaveLoop;
      }
      case rxIterMark: {
        uint32_t r = readU32(p + kHeaderSize);
        saveUndo(fUndoReg, r, regs_[r], 0);
        regs_[r] = pos;
        break;
      }
      case rxIterBack:
        if (regs_[readU32(p + kHeaderSize)] == pos) {  // an empty iteration ends the loop
          node = size_t(int64_t(node) + readI32(p + kHeaderSize + 4));
          goto dispatch;
        }
        break;
      default:
        if (isOpen(p[0])) {
          int g = p[0] - rxOpen + 1;
          saveUndo(fUndoPending, uint32_t(g), pending_[g], 0);
          pending_[g] = pos;
          break;
        }
        if (isClose(p[0])) {
          // start and end are committed together, so a back-reference inside the group still
          // sees the group's last complete text
          int g = p[0] - rxClose + 1;
          saveUndo(fUndoSlot, uint32_t(g), start[g], end[g]);
          start[g] = pending_[g];
          end[g] = pos;
          break;
        }
        fail(reeMatchPrimMemoryCorruption);
    }
    node = prog_->next(node);
    if (node == 0) fail(reeMatchPrimCorruptedPointers);
    continue;

  leaveLoop:
    saveUndo(fUndoLevel, 0, level_, 0);
    --level_;
    node = prog_->next(node);
    continue;

  backtrack:
    for (;;) {
      if (stack_.empty()) return false;
      Frame f = stack_.back();
      stack_.pop_back();
      switch (f.kind) {
        case fUndoPending: pending_[f.node] = f.a; continue;
        case fUndoSlot: start[f.node] = f.a; end[f.node] = f.b; continue;
        case fUndoLevel: level_ = f.a; continue;
        case fUndoLoop: loops_[f.node] = LoopState{f.a, f.b}; continue;
        case fUndoReg: regs_[f.node] = f.a; continue;
        default: break;
      }
      --points_;
      step();
      node = f.node;
      p = code + node;
      switch (f.kind) {
        case fChoice:
          pos = f.a;
          goto dispatch;
        case fRepeatGreedy: {
          const uint8_t* operand = p + repeatOperand(p[0]);
          uint16_t la = readU16(p + repeatLookAheadAt(p[0]));
          uint32_t minPos = f.b;
          pos = stepBack(operand, f.a);
          while (!lookAheadOk(la, pos)) {
            if (pos <= minPos) break;
            pos = stepBack(operand, pos);
          }
          if (!lookAheadOk(la, pos)) continue;
          if (pos > minPos) push(fRepeatGreedy, f.node, pos, minPos);
          node = prog_->next(node);
          goto dispatch;
        }
        case fRepeatLazy: {
          const uint8_t* operand = p + repeatOperand(p[0]);
          uint32_t min, max;
          repeatBounds(p, min, max);
          uint16_t la = readU16(p + repeatLookAheadAt(p[0]));
          pos = f.a;
          uint32_t count = f.b;
          bool ok = false;
          while (count < max) {
            int64_t m = repeatOnce(operand, pos);
            if (m <= 0) break;
            pos += uint32_t(m);
            ++count;
            if (lookAheadOk(la, pos)) {
              ok = true;
              break;
            }
            step();
          }
          if (!ok) continue;
          if (count < max) push(fRepeatLazy, f.node, pos, count);
          node = prog_->next(node);
          goto dispatch;
        }
        case fLoopExit:
          pos = f.a;
          goto leaveLoop;
        case fLoopIterate: {
          pos = f.a;
          uint32_t li = level_ - 1;
          LoopState& ls = loops_[li];
          saveUndo(fUndoLoop, li, ls.count, ls.iterStart);
          ls = LoopState{ls.count + 1, pos};
          node = size_t(int64_t(node) + readI32(p + kHeaderSize + 8));
          goto dispatch;
        }
        default:
          fail(reeMatchPrimMemoryCorruption);
      }
    }
  }
}

}  // namespace regex
