#include "regex/compiler.h"

#include <cstring>
#include <vector>

#include "platform/rt/utf8.h"
#include "regex/errors.h"
#include "regex/failure.h"

namespace regex {

bool ParseModifierLetters(std::string_view letters, uint32_t& mods) {
  bool on = true;
  for (char c : letters) {
    uint32_t bit;
    switch (rt::asciiLower(c)) {
      case '-': on = false; continue;
      case 'i': bit = kModI; break;
      case 'r': bit = kModR; break;
      case 's': bit = kModS; break;
      case 'g': bit = kModG; break;
      case 'm': bit = kModM; break;
      case 'x': bit = kModX; break;
      default: return false;
    }
    mods = on ? (mods | bit) : (mods & ~bit);
  }
  return true;
}

namespace {

// Flags a parsed piece reports to its caller.
constexpr int kHasWidth = 1;  // cannot match the empty string
constexpr int kSimple = 2;    // matches exactly one character
constexpr int kSpStart = 4;   // starts with * or ?
constexpr int kComment = 8;   // a comment or modifier group: nothing a quantifier could apply to
constexpr int kHasBackRef = 16;

constexpr size_t kMaxProgramSize = size_t(64) << 20;

// The Cyrillic alphabet, whose ё and Ё lie outside the runs а-я and А-Я.
constexpr char32_t kCyrLowerFirst = 0x430, kCyrLowerLast = 0x44F, kCyrYoLower = 0x451;
constexpr char32_t kCyrUpperFirst = 0x410, kCyrUpperLast = 0x42F, kCyrYoUpper = 0x401;

struct Quantifier {
  char kind = 0;  // '*', '+', '?' or '{'
  uint32_t min = 0, max = 0;
  bool lazy = false;
};

class Compiler {
 public:
  Compiler(std::string_view pattern, const CompileSettings& settings, Program& prog)
      : pat_(pattern), set_(settings), prog_(prog), code_(prog.code), mods_(settings.modifiers) {}

  void run() {
    code_.clear();
    code_.push_back(kProgramMarker);
    int flags;
    parseReg(false, flags);
    prog_.groupCount = groupCount_ - 1;
    prog_.registerCount = registers_;
    topSpStart_ = flags & kSpStart;
    analyse();
  }

 private:
  // --- reading the pattern ---
  bool atEnd() const { return pos_ >= pat_.size(); }
  char peek(size_t ahead = 0) const {
    return pos_ + ahead < pat_.size() ? pat_[pos_ + ahead] : '\0';
  }
  char32_t readChar() {
    size_t n;
    char32_t c = rt::utf8::decode(pat_, pos_, &n);
    pos_ += n;
    return c;
  }
  [[noreturn]] void error(int code) { fail(code, pos_); }

  bool extended() const { return mods_ & kModX; }
  static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

  // Under x: skips blanks and "#" comments up to the end of the line.
  void skipExtended() {
    if (!extended()) return;
    while (!atEnd()) {
      char c = peek();
      if (isBlank(c)) {
        ++pos_;
      } else if (c == '#') {
        while (!atEnd() && peek() != '\n' && peek() != '\r') ++pos_;
      } else {
        break;
      }
    }
  }

  // Reads "{n}", "{n,}" or "{n,m}" at `at`. False when the text there is no such quantifier (the "{"
  // is then an ordinary character); `end` receives the position after the closing brace.
  bool bracesAt(size_t at, uint32_t* min = nullptr, uint32_t* max = nullptr,
                size_t* end = nullptr) {
    if (at >= pat_.size() || pat_[at] != '{') return false;
    size_t p = at + 1;
    auto digits = [&](size_t& from) {
      size_t start = from;
      while (from < pat_.size() && pat_[from] >= '0' && pat_[from] <= '9') ++from;
      return from - start;
    };
    size_t minStart = p, minLen = digits(p);
    if (!minLen) return false;
    size_t maxStart = 0, maxLen = 0;
    bool comma = false;
    if (p < pat_.size() && pat_[p] == ',') {
      comma = true;
      maxStart = ++p;
      maxLen = digits(p);
    }
    if (p >= pat_.size() || pat_[p] != '}') return false;
    if (!min) return true;
    auto number = [&](size_t from, size_t len) {
      if (len > 8) {
        pos_ = from + len;
        error(reeBRACESArgTooBig);
      }
      uint32_t v = 0;
      for (size_t i = 0; i < len; ++i) v = v * 10 + uint32_t(pat_[from + i] - '0');
      if (v > kBraceInfinite) {
        pos_ = from + len;
        error(reeBRACESArgTooBig);
      }
      return v;
    };
    *min = number(minStart, minLen);
    *max = !comma ? *min : maxLen ? number(maxStart, maxLen) : kBraceInfinite;
    *end = p + 1;
    if (*max < *min) {
      pos_ = p;
      error(reeBracesMinParamGreaterMax);
    }
    return true;
  }

  bool atQuantifier() {
    char c = peek();
    return !atEnd() && (c == '*' || c == '+' || c == '?' || (c == '{' && bracesAt(pos_)));
  }

  // Consumes a quantifier and its lazy mark; false (nothing consumed) when none follows.
  bool readQuantifier(Quantifier& q) {
    if (!atQuantifier()) return false;
    q.kind = peek();
    if (q.kind == '{') {
      size_t end = pos_;
      bracesAt(pos_, &q.min, &q.max, &end);
      pos_ = end;
    } else {
      ++pos_;
      q.min = q.kind == '+' ? 1 : 0;
      q.max = q.kind == '?' ? 1 : kBraceInfinite;
    }
    q.lazy = peek() == '?' && !atEnd();
    if (q.lazy) ++pos_;
    return true;
  }

  // --- emitting ---
  void checkSize() {
    if (code_.size() > kMaxProgramSize) error(reeCompRegexpTooBig);
  }
  size_t emitNode(uint8_t op) {
    size_t at = code_.size();
    code_.push_back(op);
    code_.insert(code_.end(), 4, 0);
    checkSize();
    return at;
  }
  void emitU8(uint8_t v) { code_.push_back(v); }
  void emitU16(uint16_t v) {
    code_.resize(code_.size() + 2);
    writeU16(&code_[code_.size() - 2], v);
  }
  void emitU32(uint32_t v) {
    code_.resize(code_.size() + 4);
    writeU32(&code_[code_.size() - 4], v);
  }
  void emitBytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    code_.insert(code_.end(), b, b + n);
    checkSize();
  }
  // Inserts a node of `size` bytes (opcode `op`, the rest zero) at `at`, moving what follows; the
  // moved operand keeps its internal offsets because nothing before `at` points into it yet.
  void insertNode(uint8_t op, size_t at, size_t size) {
    code_.insert(code_.begin() + std::ptrdiff_t(at), size, 0);
    code_[at] = op;
    checkSize();
  }
  void setNext(size_t at, size_t target) {
    writeU32(&code_[at + 1], uint32_t(int32_t(int64_t(target) - int64_t(at))));
  }
  size_t nextOf(size_t at) const {
    int32_t off = readI32(&code_[at + 1]);
    return off == 0 ? 0 : size_t(int64_t(at) + off);
  }
  // Links the last node of the chain starting at `at` to `target`.
  void tail(size_t at, size_t target) {
    for (size_t n; (n = nextOf(at)) != 0;) at = n;
    setNext(at, target);
  }
  // The same on the operand chain of a branch; nothing for other nodes.
  void opTail(size_t at, size_t target) {
    if (code_[at] == rxBranch) tail(at + kHeaderSize, target);
  }

  // --- parsing ---
  size_t parseReg(bool paren, int& flags) {
    flags = kHasWidth;
    uint32_t savedMods = mods_;
    size_t ret = 0;
    bool haveRet = false;
    int group = 0;
    if (paren) {
      if (groupCount_ > kMaxGroups) error(reeCompParseRegTooManyBrackets);
      group = groupCount_++;
      ret = emitNode(uint8_t(rxOpen + group - 1));
      haveRet = true;
    }
    bool first = true;
    size_t lastLink = ret;  // the node whose chain the next alternative joins
    for (;;) {
      int f;
      size_t br = parseBranch(f);
      if (haveRet) {
        tail(lastLink, br);
      } else {
        ret = br;
        haveRet = true;
      }
      lastLink = br;
      if (!(f & kHasWidth)) flags &= ~kHasWidth;
      flags |= f & (kSpStart | kHasBackRef);
      if (!first) flags &= ~kSpStart;  // only a single alternative counts
      first = false;
      if (atEnd() || peek() != '|') break;
      ++pos_;
    }
    size_t ender = emitNode(paren ? uint8_t(rxClose + group - 1) : uint8_t(rxEnd));
    tail(lastLink, ender);
    for (size_t br = paren ? nextOf(ret) : ret; br != 0; br = nextOf(br)) {
      if (code_[br] != rxBranch) break;
      opTail(br, ender);
    }
    if (paren) {
      if (atEnd() || peek() != ')') error(reeCompParseRegUnmatchedBrackets);
      ++pos_;
      mods_ = savedMods;
    } else if (!atEnd()) {
      if (peek() == ')') error(reeCompParseRegUnmatchedBrackets2);
      error(reeCompParseRegJunkOnEnd);
    }
    return ret;
  }

  size_t parseBranch(int& flags) {
    flags = 0;
    size_t ret = emitNode(rxBranch);
    size_t chain = 0;
    bool any = false;
    for (;;) {
      skipExtended();
      if (atEnd() || peek() == '|' || peek() == ')') break;
      int f;
      size_t latest = parsePiece(f);
      flags |= f & (kHasWidth | kHasBackRef);
      if (!any) {
        flags |= f & kSpStart;
      } else {
        tail(chain, latest);
      }
      chain = latest;
      any = true;
    }
    if (!any) emitNode(rxEmpty);
    return ret;
  }

  size_t parsePiece(int& flags) {
    int f;
    size_t ret = parseAtom(f);
    skipExtended();
    Quantifier q;
    size_t quantPos = pos_;
    if (!readQuantifier(q)) {
      flags = f;
      return ret;
    }
    if (f & kComment) {
      pos_ = quantPos + 1;
      error(reeQPSBFollowsNothing);
    }
    if (!(mods_ & kModG)) q.lazy = true;
    if (q.kind != '?' && !(f & kHasWidth)) error(reePlusStarOperandCouldBeEmpty);
    flags = (q.min > 0 && (f & kHasWidth)) ? kHasWidth : 0;
    if (q.kind == '*' || q.kind == '?') flags |= kSpStart;
    flags |= f & kHasBackRef;

    if (f & kSimple) {
      if (!q.lazy && q.kind == '*') {
        insertRepeat(ret, rxStar, 0, 0);
      } else if (!q.lazy && q.kind == '+') {
        insertRepeat(ret, rxPlus, 0, 0);
      } else if (!q.lazy && q.kind == '?') {
        optional(ret);
      } else if (q.lazy && q.kind == '*') {
        insertRepeat(ret, rxStarLazy, 0, 0);
      } else if (q.lazy && q.kind == '+') {
        insertRepeat(ret, rxPlusLazy, 0, 0);
      } else {
        insertRepeat(ret, q.lazy ? rxRangeLazy : rxRange, q.min, q.max);
      }
    } else if (!q.lazy && q.kind == '*') {
      starComplex(ret, f & kHasBackRef);
    } else if (!q.lazy && q.kind == '+') {
      plusComplex(ret, f & kHasBackRef);
    } else if (!q.lazy && q.kind == '?') {
      optional(ret);
    } else {
      loop(ret, q.lazy, q.min, q.max);
    }
    skipExtended();
    if (atQuantifier()) error(reeNestedSQP);
    return ret;
  }

  void insertRepeat(size_t at, uint8_t op, uint32_t min, uint32_t max) {
    insertNode(op, at, repeatOperand(op));
    if (isRangeRepeat(op)) {
      writeU32(&code_[at + kHeaderSize], min);
      writeU32(&code_[at + kHeaderSize + 4], max);
    }
  }

  // O? greedy: a choice between O and nothing.
  void optional(size_t at) {
    insertNode(rxBranch, at, kHeaderSize);
    tail(at, emitNode(rxBranch));
    size_t nothing = emitNode(rxEmpty);
    tail(at, nothing);
    opTail(at, nothing);
  }

  // Marks the start of each iteration of an operand that may match empty (register r).
  size_t insertMark(size_t at) {
    insertNode(rxIterMark, at, kHeaderSize + 4);
    writeU32(&code_[at + kHeaderSize], registers_);
    setNext(at, at + kHeaderSize + 4);
    return registers_++;
  }
  size_t emitBack(bool marked, uint32_t reg) {
    size_t back = emitNode(marked ? rxIterBack : rxBack);
    if (marked) {
      emitU32(reg);
      emitU32(0);  // exit, set once the loop's way out exists
    }
    return back;
  }
  void setExit(size_t back, size_t exit) {
    if (code_[back] == rxIterBack)
      writeU32(&code_[back + kHeaderSize + 4], uint32_t(int32_t(int64_t(exit) - int64_t(back))));
  }

  // O* greedy: a choice between O followed by a jump back to the choice, and nothing.
  void starComplex(size_t at, bool guard) {
    uint32_t reg = guard ? uint32_t(insertMark(at)) : 0;
    insertNode(rxBranch, at, kHeaderSize);
    size_t back = emitBack(guard, reg);
    opTail(at, back);
    opTail(at, at);
    tail(at, emitNode(rxBranch));
    size_t nothing = emitNode(rxEmpty);
    tail(at, nothing);
    setExit(back, nothing);
  }

  // O+ greedy: O, then a choice between a jump back to O and nothing.
  void plusComplex(size_t at, bool guard) {
    uint32_t reg = guard ? uint32_t(insertMark(at)) : 0;
    size_t choice = emitNode(rxBranch);
    tail(at, choice);
    size_t back = emitBack(guard, reg);
    setNext(back, at);
    tail(choice, emitNode(rxBranch));
    size_t nothing = emitNode(rxEmpty);
    tail(at, nothing);
    setExit(back, nothing);
  }

  // Counted loop over a longer operand: rxLoopEntry O rxLoop; both the entry and O go on to the
  // loop node, whose body offset leads back to O.
  void loop(size_t at, bool lazy, uint32_t min, uint32_t max) {
    insertNode(rxLoopEntry, at, kHeaderSize);
    size_t body = at + kHeaderSize;
    size_t node = emitNode(lazy ? rxLoopLazy : rxLoop);
    emitU32(min);
    emitU32(max);
    emitU32(uint32_t(int32_t(int64_t(body) - int64_t(node))));
    setNext(at, node);
    tail(body, node);
    prog_.hasLoops = true;
  }

  size_t parseAtom(int& flags) {
    flags = 0;
    char c = peek();
    switch (c) {
      case '^':
        ++pos_;
        return emitNode(lineMode() ? rxLineStart : rxInputStart);
      case '$':
        ++pos_;
        return emitNode(lineMode() ? rxLineEnd : rxInputEnd);
      case '.':
        ++pos_;
        flags = kHasWidth | kSimple;
        return emitNode((mods_ & kModS) ? rxAny : rxAnyButSeparator);
      case '[': {
        ++pos_;
        flags = kHasWidth | kSimple;
        return parseSet();
      }
      case '(': {
        ++pos_;
        if (peek() == '?' && !atEnd()) return parseSpecialGroup(flags);
        int f;
        size_t ret = parseReg(true, f);
        flags = f & (kHasWidth | kSpStart | kHasBackRef);
        return ret;
      }
      case '|':
      case ')':
        error(reeRarseAtomInternalDisaster);  // the callers stop before these
      case '?':
      case '+':
      case '*':
        ++pos_;
        error(reeQPSBFollowsNothing);
      case '{':
        if (bracesAt(pos_)) {
          ++pos_;
          error(reeQPSBFollowsNothing);
        }
        return parseLiteralRun(flags);
      case '\\':
        return parseEscape(flags);
      default:
        return parseLiteralRun(flags);
    }
  }

  bool lineMode() const {
    return (mods_ & kModM) && (!set_.separators->empty() || set_.hasPairedSeparator);
  }

  // "(?#...)" comments and "(?imsxgr-imsxgr)" modifier groups.
  size_t parseSpecialGroup(int& flags) {
    ++pos_;  // the "?"
    flags = kComment;
    if (peek() == '#' && !atEnd()) {
      while (!atEnd() && peek() != ')') ++pos_;
      if (atEnd()) error(reeUnclosedComment);
      ++pos_;
      return emitNode(rxComment);
    }
    size_t start = pos_;
    while (!atEnd() && peek() != ')') ++pos_;
    if (atEnd()) error(reeUrecognizedModifier);
    uint32_t mods = mods_;
    if (!ParseModifierLetters(pat_.substr(start, pos_ - start), mods)) error(reeUrecognizedModifier);
    mods_ = mods;
    ++pos_;
    return emitNode(rxComment);
  }

  size_t parseEscape(int& flags) {
    ++pos_;  // the backslash
    if (atEnd()) error(reeTrailingBackSlash);
    char c = peek();
    switch (c) {
      case 'A': ++pos_; return emitNode(rxInputStart);
      case 'Z': ++pos_; return emitNode(rxInputEnd);
      case 'b': ++pos_; return emitNode(rxWordBoundary);
      case 'B': ++pos_; return emitNode(rxNotWordBoundary);
      case 'd': ++pos_; flags = kHasWidth | kSimple; return emitNode(rxDigit);
      case 'D': ++pos_; flags = kHasWidth | kSimple; return emitNode(rxNotDigit);
      case 's':
      case 'S':
      case 'w':
      case 'W': {
        ++pos_;
        flags = kHasWidth | kSimple;
        CharSet s;
        s.addSet(rt::asciiLower(c) == 's' ? *set_.spaceChars : *set_.wordChars);
        return emitSet(s, c == 'S' || c == 'W');
      }
      default:
        break;
    }
    if (c >= '1' && c <= '9') {
      ++pos_;
      flags = kHasWidth | kSimple | kHasBackRef;
      size_t at = emitNode((mods_ & kModI) ? rxBackRefNoCase : rxBackRef);
      emitU8(uint8_t(c - '0'));
      return at;
    }
    flags = kHasWidth | kSimple;
    std::string text;
    rt::utf8::append(text, escapedChar());
    return emitLiteral(text);
  }

  // The character an escape stands for (the backslash already consumed, a character follows).
  char32_t escapedChar() {
    char c = peek();
    switch (c) {
      case 'a': ++pos_; return 7;
      case 'e': ++pos_; return 27;
      case 'f': ++pos_; return 12;
      case 'n': ++pos_; return 10;
      case 'r': ++pos_; return 13;
      case 't': ++pos_; return 9;
      case 'x': ++pos_; return hexEscape();
      default: return readChar();
    }
  }

  static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  // "\x" followed by exactly two hex digits, or by braces holding one or two.
  char32_t hexEscape() {
    if (peek() == '{' && !atEnd()) {
      ++pos_;
      uint32_t v = 0;
      int digits = 0;
      while (!atEnd() && hexValue(peek()) >= 0) {
        v = v * 16 + uint32_t(hexValue(peek()));
        ++pos_;
        if (++digits > 2) error(reeHexCodeAfterBSlashXTooBig);
      }
      if (atEnd() || peek() != '}') error(digits ? reeBadHexDigit : reeNoHexCodeAfterBSlashX);
      if (!digits) error(reeNoHexCodeAfterBSlashX);
      ++pos_;
      return v;
    }
    if (atEnd() || hexValue(peek()) < 0) error(reeNoHexCodeAfterBSlashX);
    uint32_t v = uint32_t(hexValue(peek()));
    ++pos_;
    if (atEnd() || hexValue(peek()) < 0) error(reeBadHexDigit);
    v = v * 16 + uint32_t(hexValue(peek()));
    ++pos_;
    return v;
  }

  static bool special(char c) {
    return c == '^' || c == '$' || c == '.' || c == '[' || c == '(' || c == ')' || c == '|' ||
           c == '?' || c == '+' || c == '*' || c == '\\';
  }

  // A run of ordinary characters; when a quantifier follows a run of several, the run gives its
  // last character back so that the quantifier applies to it alone.
  size_t parseLiteralRun(int& flags) {
    runText_.clear();
    runStarts_.clear();
    for (;;) {
      if (extended()) {
        if (!atEnd() && isBlank(peek())) {
          ++pos_;
          continue;
        }
        if (!atEnd() && peek() == '#') break;
      }
      if (atEnd()) break;
      char c = peek();
      if (special(c) || (c == '{' && bracesAt(pos_))) break;
      runStarts_.push_back({pos_, runText_.size()});
      size_t n = rt::utf8::charLength(pat_, pos_);
      runText_.append(pat_.substr(pos_, n));
      pos_ += n;
    }
    size_t after = pos_;
    skipExtended();
    if (runStarts_.size() > 1 && atQuantifier()) {
      pos_ = runStarts_.back().patternPos;
      runText_.resize(runStarts_.back().textPos);
      runStarts_.pop_back();
    } else {
      pos_ = after;
    }
    flags = kHasWidth | (runStarts_.size() == 1 ? kSimple : 0);
    return emitLiteral(runText_);
  }

  size_t emitLiteral(const std::string& text) {
    bool noCase = false;
    if (mods_ & kModI)
      for (char c : text)
        if (rt::asciiLower(c) != rt::asciiUpper(c)) noCase = true;
    size_t at = emitNode(noCase ? rxLiteralNoCase : rxLiteral);
    size_t lastStart = rt::utf8::previous(text, text.size());
    char32_t last = rt::utf8::decode(text, lastStart);
    emitU8((last >= 0xDC80 && last <= 0xDCFF) ? kLitEndCheck : 0);
    emitU32(uint32_t(text.size()));
    emitBytes(text.data(), text.size());
    return at;
  }

  // --- sets ---
  enum class MemberKind { Char, Class };
  struct Member {
    MemberKind kind;
    char32_t ch;
    CharSet cls;
  };

  // One member inside "[...]": a character, an escaped character or a class escape.
  void readSetMember(Member& m) {
    m.kind = MemberKind::Char;
    if (peek() != '\\') {
      m.ch = readChar();
      return;
    }
    ++pos_;
    if (atEnd()) error(reeTrailingBackSlash);
    char c = peek();
    if (c == 'd' || c == 'D' || c == 's' || c == 'S' || c == 'w' || c == 'W') {
      ++pos_;
      m.kind = MemberKind::Class;
      m.cls = CharSet();
      char lower = rt::asciiLower(c);
      if (lower == 'd') m.cls.addRange('0', '9');
      else m.cls.addSet(lower == 's' ? *set_.spaceChars : *set_.wordChars);
      if (c != lower) m.cls.invert();
      return;
    }
    m.ch = escapedChar();
  }

  void addRange(CharSet& set, char32_t lo, char32_t hi) {
    bool cyrillic = mods_ & kModR;
    if (cyrillic && lo == kCyrLowerFirst && hi == kCyrUpperLast) {
      // lower-case first to upper-case last: both alphabets
      set.addRange(kCyrLowerFirst, kCyrLowerLast);
      set.add(kCyrYoLower);
      set.addRange(kCyrUpperFirst, kCyrUpperLast);
      set.add(kCyrYoUpper);
      return;
    }
    if (hi < lo) error(reeInvalidRange);
    set.addRange(lo, hi);
    if (cyrillic && lo == kCyrLowerFirst && hi == kCyrLowerLast) set.add(kCyrYoLower);
    if (cyrillic && lo == kCyrUpperFirst && hi == kCyrUpperLast) set.add(kCyrYoUpper);
  }

  size_t parseSet() {
    bool negate = false;
    if (peek() == '^' && !atEnd()) {
      negate = true;
      ++pos_;
    }
    CharSet chars, classes;
    bool first = true;
    Member m, end;
    for (;;) {
      if (atEnd()) error(reeUnmatchedSqBrackets);
      if (peek() == ']' && !first) {
        ++pos_;
        break;
      }
      first = false;
      readSetMember(m);
      if (m.kind == MemberKind::Class) {
        classes.addSet(m.cls);
        continue;
      }
      // "a-b" is a range unless the "-" is last; "a-\d" keeps a, the hyphen and the class.
      if (peek() == '-' && pos_ + 1 < pat_.size() && pat_[pos_ + 1] != ']') {
        ++pos_;
        readSetMember(end);
        if (end.kind == MemberKind::Class) {
          chars.add(m.ch);
          chars.add('-');
          classes.addSet(end.cls);
        } else {
          addRange(chars, m.ch, end.ch);
        }
        continue;
      }
      chars.add(m.ch);
    }
    if (mods_ & kModI) chars.addCasePartners();
    chars.addSet(classes);
    return emitSet(chars, negate);
  }

  // A set of at most three members becomes rxAnyOfThree / rxNoneOfThree, any other rxAnyOfSet
  // (with the complement worked out here for a negated set).
  size_t emitSet(CharSet& set, bool negate) {
    uint32_t n = set.count(4);
    if (n >= 1 && n <= 3) {
      std::vector<char32_t> members = set.members(3);
      while (members.size() < 3) members.push_back(members.back());
      size_t at = emitNode(negate ? rxNoneOfThree : rxAnyOfThree);
      for (char32_t c : members) emitU32(c);
      return at;
    }
    if (negate) set.invert();
    size_t at = emitNode(rxAnyOfSet);
    uint8_t map[16];
    std::memcpy(map, set.asciiMap(), 16);
    emitBytes(map, 16);
    emitU8(set.hasWide() ? 0 : kSetAsciiOnly);
    emitU32(uint32_t(set.wideRanges().size()));
    for (const CharRange& r : set.wideRanges()) {
      emitU32(r.lo);
      emitU32(r.hi);
    }
    return at;
  }

  // --- analysis ---
  void analyse() {
    fillLookAheads();
    buildStartBytes();
    size_t first = kHeaderSize + 1;  // operand of the first top-level branch
    bool single = code_[nextOf(1)] != rxBranch;
    if (!single) return;
    if (code_[first] == rxLiteral) prog_.firstByte = code_[first + kHeaderSize + 5];
    if (code_[first] == rxInputStart) prog_.anchored = true;
    if (topSpStart_) {
      size_t best = 0, bestLen = 0;
      for (size_t n = first; n != 0 && code_[n] != rxEnd; n = nextOf(n)) {
        if (code_[n] != rxLiteral) continue;
        size_t len = readU32(&code_[n + kHeaderSize + 1]);
        if (len >= bestLen) {
          best = n;
          bestLen = len;
        }
      }
      if (bestLen)
        prog_.mustLiteral.assign(reinterpret_cast<const char*>(&code_[best + kHeaderSize + 5]),
                                 bestLen);
    }
  }

  // A quantifier followed (through nodes that consume nothing and cannot fail) by a literal only
  // needs to stop where that literal's first byte is.
  void fillLookAheads() {
    for (size_t at = 1; at < code_.size(); at += prog_.nodeSize(at)) {
      uint8_t op = code_[at];
      if (!isSimpleRepeat(op) && !isRangeRepeat(op)) continue;
      size_t n = nextOf(at);
      for (int hops = 0; n != 0 && hops < 32; ++hops) {
        uint8_t nop = code_[n];
        if (!(isOpen(nop) || isClose(nop) || nop == rxComment || nop == rxEmpty)) break;
        n = nextOf(n);
      }
      uint16_t la = 0;
      if (n != 0 && (code_[n] == rxLiteral || code_[n] == rxLiteralNoCase)) {
        uint8_t b = code_[n + kHeaderSize + 5];
        la = kLookAhead | b;
        if (code_[n] == rxLiteralNoCase && rt::asciiLower(char(b)) != rt::asciiUpper(char(b)))
          la = kLookAhead | kLookAheadNoCase | uint8_t(rt::asciiLower(char(b)));
      }
      writeU16(&code_[at + repeatLookAheadAt(op)], la);
    }
  }

  void markByte(uint8_t b) { prog_.startBytes[b >> 6] |= uint64_t(1) << (b & 63); }
  void markAll() { prog_.startBytesAll = true; }

  // Start bytes of a one-character operand.
  void operandStart(size_t at) {
    const uint8_t* o = &code_[at + kHeaderSize];
    switch (code_[at]) {
      case rxLiteral:
        markByte(o[5]);
        break;
      case rxLiteralNoCase:
        markByte(uint8_t(rt::asciiLower(char(o[5]))));
        markByte(uint8_t(rt::asciiUpper(char(o[5]))));
        break;
      case rxDigit:
        for (char c = '0'; c <= '9'; ++c) markByte(uint8_t(c));
        break;
      case rxNotDigit:
        for (int b = 0; b < 256; ++b)
          if (b < '0' || b > '9') markByte(uint8_t(b));
        break;
      case rxAnyOfThree:
        for (int i = 0; i < 3; ++i) markByte(firstByteOf(readU32(o + 4 * i)));
        break;
      case rxNoneOfThree:
        // Only an ASCII member rules its byte out; other lead bytes start other characters too.
        for (int b = 0; b < 256; ++b) {
          bool member = false;
          for (int i = 0; i < 3; ++i) member |= readU32(o + 4 * i) == char32_t(b) && b < 128;
          if (!member) markByte(uint8_t(b));
        }
        break;
      case rxAnyOfSet: {
        CharSet s;
        for (char32_t c = 0; c < 128; ++c)
          if ((o[c >> 3] >> (c & 7)) & 1) s.add(c);
        uint32_t n = readU32(o + 17);
        for (uint32_t i = 0; i < n; ++i) s.addRange(readU32(o + 21 + 8 * i), readU32(o + 25 + 8 * i));
        s.addFirstBytes(prog_.startBytes);
        break;
      }
      default:  // any character, back-references
        markAll();
        break;
    }
  }

  // Walks every path from the first node up to the first node that consumes a character, with a
  // work list instead of recursion so that long chains of optional pieces cannot exhaust the stack.
  void buildStartBytes() {
    std::vector<bool> seen(code_.size());
    std::vector<size_t> work{1};
    while (!work.empty() && !prog_.startBytesAll) {
      size_t at = work.back();
      work.pop_back();
      walkStart(at, seen, work);
    }
    for (int b = 0x80; b <= 0xBF; ++b)
      if (prog_.canStartWith(uint8_t(b))) prog_.startOnTrailByte = true;
  }

  void walkStart(size_t at, std::vector<bool>& seen, std::vector<size_t>& work) {
    while (at != 0 && !prog_.startBytesAll) {
      if (seen[at]) return;
      seen[at] = true;
      uint8_t op = code_[at];
      switch (op) {
        case rxEnd:
        case rxAny:
        case rxAnyButSeparator:
        case rxBackRef:
        case rxBackRefNoCase:
          markAll();
          return;
        case rxInputEnd:
          prog_.startAtEnd = true;
          return;
        case rxLineEnd:
          prog_.startAtEnd = true;
          set_.separators->addFirstBytes(prog_.startBytes);
          if (set_.hasPairedSeparator) markByte(firstByteOf(set_.pairHead));
          return;
        case rxBranch:
          if (code_[nextOf(at)] == rxBranch)
            for (size_t b = nextOf(at); b != 0 && code_[b] == rxBranch; b = nextOf(b))
              work.push_back(b + kHeaderSize);
          at += kHeaderSize;
          continue;
        case rxLiteral:
        case rxLiteralNoCase:
        case rxDigit:
        case rxNotDigit:
        case rxAnyOfThree:
        case rxNoneOfThree:
        case rxAnyOfSet:
          operandStart(at);
          return;
        case rxStar:
        case rxStarLazy:
          operandStart(at + repeatOperand(op));
          break;
        case rxPlus:
        case rxPlusLazy:
          operandStart(at + repeatOperand(op));
          return;
        case rxRange:
        case rxRangeLazy:
          operandStart(at + repeatOperand(op));
          if (readU32(&code_[at + kHeaderSize]) > 0) return;
          break;
        case rxLoop:
        case rxLoopLazy:
          work.push_back(size_t(int64_t(at) + readI32(&code_[at + kHeaderSize + 8])));
          if (readU32(&code_[at + kHeaderSize]) > 0) return;
          break;
        case rxIterBack:
          return;  // an iteration that gets here has consumed something
        default:
          break;  // nodes that consume nothing
      }
      at = nextOf(at);
    }
  }

  std::string_view pat_;
  const CompileSettings& set_;
  Program& prog_;
  std::vector<uint8_t>& code_;
  size_t pos_ = 0;
  uint32_t mods_;
  int groupCount_ = 1;
  uint32_t registers_ = 0;
  bool topSpStart_ = false;
  std::string runText_;
  struct RunStart {
    size_t patternPos, textPos;
  };
  std::vector<RunStart> runStarts_;
};

}  // namespace

void CompilePattern(std::string_view pattern, const CompileSettings& settings, Program& out) {
  out = Program();
  Compiler(pattern, settings, out).run();
}

}  // namespace regex
