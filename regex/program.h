// The p-code a pattern compiles to, and how to read and print it.
//
// A program is a byte string: the marker byte 216, then nodes. Every node is an opcode byte, a
// signed 32-bit offset from the node's own start to the next node (0 = none), and its operands.
// Alternatives are chains of rxBranch nodes whose next offsets link the alternatives and whose
// operand (the node right after the header) starts the alternative's own chain. Quantifiers over
// one-character operands (rxStar, rxPlus, rxRange and their lazy forms) carry the operand node
// inside them; quantifiers over longer operands are rewritten into branches and back jumps, or
// into rxLoopEntry / rxLoop pairs that count iterations.
//
// Operand layouts (after the 5-byte header; integers little-endian, unaligned):
//   rxLiteral, rxLiteralNoCase   flags u8 (kLitEndCheck), length u32, UTF-8 bytes
//   rxStar, rxPlus, ...Lazy      look-ahead u16, then the operand node
//   rxRange, rxRangeLazy         min u32, max u32, look-ahead u16, then the operand node
//   rxLoop, rxLoopLazy           min u32, max u32, body offset i32 (from this node)
//   rxAnyOfThree, rxNoneOfThree  three code points u32
//   rxAnyOfSet                   128-bit ASCII map, flags u8 (kSetAsciiOnly), count u32, count x
//                                (lo u32, hi u32) ranges of code points from 128 up
//   rxBackRef, rxBackRefNoCase   group number u8
//   rxIterMark                   register u32
//   rxIterBack                   register u32, exit offset i32 (from this node)
// The look-ahead of a quantifier is the first byte of a literal that must follow it (kLookAhead
// set, kLookAheadNoCase when either ASCII case will do); the matcher only stops where it can
// continue.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace regex {

enum Op : uint8_t {
  rxEnd = 0,
  rxInputStart = 1,
  rxInputEnd = 2,
  rxAny = 3,
  rxBranch = 6,
  rxBack = 7,
  rxLiteral = 8,
  rxEmpty = 9,
  rxStar = 10,
  rxPlus = 11,
  rxDigit = 12,
  rxNotDigit = 13,
  rxRange = 18,
  rxComment = 19,
  rxLiteralNoCase = 20,
  rxLoopEntry = 23,
  rxLoop = 24,
  rxAnyOfThree = 25,
  rxNoneOfThree = 26,
  rxAnyOfSet = 27,
  rxBackRef = 28,
  rxBackRefNoCase = 29,
  rxStarLazy = 30,
  rxPlusLazy = 31,
  rxRangeLazy = 32,
  rxLoopLazy = 33,
  rxLineStart = 34,
  rxLineEnd = 35,
  rxAnyButSeparator = 36,
  rxWordBoundary = 37,
  rxNotWordBoundary = 38,
  rxOpen = 40,   // rxOpen + n - 1 opens group n (1..14)
  rxClose = 55,  // rxClose + n - 1 closes group n
  // A repeated operand that may still match empty (it holds a back-reference) records where each
  // iteration began; after an iteration that consumed nothing the back jump leaves the loop through
  // its exit instead of repeating forever.
  rxIterMark = 70,
  rxIterBack = 71,
};

constexpr uint8_t kProgramMarker = 216;
constexpr int kMaxGroups = 14;          // groups 1..14; slot 0 is the whole match
constexpr int kSlotCount = kMaxGroups + 1;
constexpr int kMaxLoopLevels = 10;
constexpr uint32_t kBraceInfinite = 0x7FFFFFFE;  // a missing upper brace bound
constexpr uint32_t kRepeatInfinite = 0x7FFFFFFF; // the bound of * and +
constexpr size_t kHeaderSize = 5;

constexpr uint8_t kLitEndCheck = 1;    // the literal ends in a raw byte: its end must be a boundary
constexpr uint8_t kSetAsciiOnly = 1;   // the set has no member from 128 up
constexpr uint16_t kLookAhead = 0x100;
constexpr uint16_t kLookAheadNoCase = 0x200;

inline uint32_t readU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline int32_t readI32(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline uint16_t readU16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void writeU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void writeU16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

inline bool isOpen(uint8_t op) { return op >= rxOpen && op < rxOpen + kMaxGroups; }
inline bool isClose(uint8_t op) { return op >= rxClose && op < rxClose + kMaxGroups; }
inline bool isSimpleRepeat(uint8_t op) {
  return op == rxStar || op == rxPlus || op == rxStarLazy || op == rxPlusLazy;
}
inline bool isRangeRepeat(uint8_t op) { return op == rxRange || op == rxRangeLazy; }

// Offset of the operand node of a quantifier over a one-character operand.
inline size_t repeatOperand(uint8_t op) {
  return isRangeRepeat(op) ? kHeaderSize + 10 : kHeaderSize + 2;
}
// Bounds of a quantifier over a one-character operand.
inline void repeatBounds(const uint8_t* node, uint32_t& min, uint32_t& max) {
  switch (node[0]) {
    case rxStar:
    case rxStarLazy: min = 0; max = kRepeatInfinite; break;
    case rxPlus:
    case rxPlusLazy: min = 1; max = kRepeatInfinite; break;
    default: std::memcpy(&min, node + kHeaderSize, 4); std::memcpy(&max, node + kHeaderSize + 4, 4);
  }
}
inline size_t repeatLookAheadAt(uint8_t op) {
  return isRangeRepeat(op) ? kHeaderSize + 8 : kHeaderSize;
}

struct Program {
  std::vector<uint8_t> code;  // starts with kProgramMarker
  int groupCount = 0;         // groups 1..groupCount exist
  uint32_t registerCount = 0; // rxIterMark registers
  bool hasLoops = false;

  // Search helpers worked out after compiling.
  bool anchored = false;       // the only alternative starts with rxInputStart
  int firstByte = -1;          // every match starts with this byte, -1 = unknown
  std::string mustLiteral;     // every match contains this text
  uint64_t startBytes[4] = {0, 0, 0, 0};  // bytes at which a match can start
  bool startBytesAll = false;             // any byte may start a match
  bool startAtEnd = false;                // a match may start at the end of the subject
  bool startOnTrailByte = false;          // some start byte is 0x80..0xBF

  bool canStartWith(uint8_t b) const { return (startBytes[b >> 6] >> (b & 63)) & 1; }

  // Next node of the node at `at`, 0 when there is none.
  size_t next(size_t at) const {
    int32_t off = readI32(&code[at + 1]);
    return off == 0 ? 0 : size_t(int64_t(at) + off);
  }
  uint8_t op(size_t at) const { return code[at]; }

  // Bytes taken by the node at `at` itself (a quantifier's inner operand node not included).
  size_t nodeSize(size_t at) const;
};

// Readable listing of a program, one node per line: "offset: NAME operands (next)".
std::string DumpProgram(const Program& program);

// Name of an opcode ("rxStar", "rxOpen3"); "?" for codes outside the table.
std::string OpName(uint8_t op);

}  // namespace regex
