// Code generation: repeats, optional pieces, loops (with iteration marks where an operand may match
// empty), literals and sets.
#include "regex/compiler_internal.h"

#include <cstring>

namespace regex {

void Compiler::insertRepeat(size_t at, uint8_t op, uint32_t min, uint32_t max) {
  insertNode(op, at, repeatOperand(op));
  if (isRangeRepeat(op)) {
    writeU32(&code_[at + kHeaderSize], min);
    writeU32(&code_[at + kHeaderSize + 4], max);
  }
}

// O? greedy: a choice between O and nothing.
void Compiler::optional(size_t at) {
  insertNode(rxBranch, at, kHeaderSize);
  tail(at, emitNode(rxBranch));
  size_t nothing = emitNode(rxEmpty);
  tail(at, nothing);
  opTail(at, nothing);
}

// Marks the start of each iteration of an operand that may match empty (register r).
size_t Compiler::insertMark(size_t at) {
  insertNode(rxIterMark, at, kHeaderSize + 4);
  writeU32(&code_[at + kHeaderSize], registers_);
  setNext(at, at + kHeaderSize + 4);
  return registers_++;
}

size_t Compiler::emitBack(bool marked, uint32_t reg) {
  size_t back = emitNode(marked ? rxIterBack : rxBack);
  if (marked) {
    emitU32(reg);
    emitU32(0);  // exit, set once the loop's way out exists
  }
  return back;
}

void Compiler::setExit(size_t back, size_t exit) {
  if (code_[back] == rxIterBack)
    writeU32(&code_[back + kHeaderSize + 4], uint32_t(int32_t(int64_t(exit) - int64_t(back))));
}

// O* greedy: a choice between O followed by a jump back to the choice, and nothing.
void Compiler::starComplex(size_t at, bool guard) {
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
void Compiler::plusComplex(size_t at, bool guard) {
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
void Compiler::loop(size_t at, bool lazy, uint32_t min, uint32_t max) {
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

size_t Compiler::emitLiteral(const std::string& text) {
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

// A set of at most three members becomes rxAnyOfThree / rxNoneOfThree, any other rxAnyOfSet
// (with the complement worked out here for a negated set).
size_t Compiler::emitSet(CharSet& set, bool negate) {
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

}  // namespace regex
