// Parsing: alternatives, branches, pieces and their quantifiers, atoms, escapes, literal runs and
// sets, emitting each node as it is recognised.
#include "regex/compiler_internal.h"

namespace regex {

size_t Compiler::parseReg(bool paren, int& flags) {
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

size_t Compiler::parseBranch(int& flags) {
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

size_t Compiler::parsePiece(int& flags) {
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

size_t Compiler::parseAtom(int& flags) {
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

bool Compiler::lineMode() const {
  return (mods_ & kModM) && (!set_.separators->empty() || set_.hasPairedSeparator);
}

// "(?#...)" comments and "(?imsxgr-imsxgr)" modifier groups.
size_t Compiler::parseSpecialGroup(int& flags) {
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

size_t Compiler::parseEscape(int& flags) {
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
char32_t Compiler::escapedChar() {
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

int Compiler::hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "\x" followed by exactly two hex digits, or by braces holding one or two.
char32_t Compiler::hexEscape() {
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

bool Compiler::special(char c) {
  return c == '^' || c == '$' || c == '.' || c == '[' || c == '(' || c == ')' || c == '|' ||
         c == '?' || c == '+' || c == '*' || c == '\\';
}

// A run of ordinary characters; when a quantifier follows a run of several, the run gives its
// last character back so that the quantifier applies to it alone.
size_t Compiler::parseLiteralRun(int& flags) {
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

// One member inside "[...]": a character, an escaped character or a class escape.
void Compiler::readSetMember(Member& m) {
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

void Compiler::addRange(CharSet& set, char32_t lo, char32_t hi) {
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

size_t Compiler::parseSet() {
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

}  // namespace regex
