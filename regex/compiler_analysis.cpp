// Analysis after parsing: the look-ahead byte of each quantifier, the start bytes, the first byte,
// anchoring, and a literal every match contains.
#include "regex/compiler_internal.h"

namespace regex {

void Compiler::analyse() {
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
void Compiler::fillLookAheads() {
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

// Start bytes of a one-character operand.
void Compiler::operandStart(size_t at) {
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
void Compiler::buildStartBytes() {
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

void Compiler::walkStart(size_t at, std::vector<bool>& seen, std::vector<size_t>& work) {
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

}  // namespace regex
