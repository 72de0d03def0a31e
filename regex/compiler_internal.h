// The pattern compiler's own state and steps, shared by its files: reading the pattern and the
// quantifier syntax (compiler.cpp), parsing (compiler_parse.cpp), code generation
// (compiler_emit.cpp) and the analysis that fills in the program's search helpers
// (compiler_analysis.cpp). Nothing outside the compiler includes this.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/utf8.h"
#include "regex/compiler.h"
#include "regex/errors.h"
#include "regex/failure.h"

namespace regex {

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

  void run();

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

  bool bracesAt(size_t at, uint32_t* min = nullptr, uint32_t* max = nullptr, size_t* end = nullptr);
  bool atQuantifier();
  bool readQuantifier(Quantifier& q);

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

  // --- code generation ---
  void insertRepeat(size_t at, uint8_t op, uint32_t min, uint32_t max);
  void optional(size_t at);
  size_t insertMark(size_t at);
  size_t emitBack(bool marked, uint32_t reg);
  void setExit(size_t back, size_t exit);
  void starComplex(size_t at, bool guard);
  void plusComplex(size_t at, bool guard);
  void loop(size_t at, bool lazy, uint32_t min, uint32_t max);
  size_t emitLiteral(const std::string& text);
  size_t emitSet(CharSet& set, bool negate);

  // --- parsing ---
  size_t parseReg(bool paren, int& flags);
  size_t parseBranch(int& flags);
  size_t parsePiece(int& flags);
  size_t parseAtom(int& flags);
  bool lineMode() const;
  size_t parseSpecialGroup(int& flags);
  size_t parseEscape(int& flags);
  char32_t escapedChar();
  static int hexValue(char c);
  char32_t hexEscape();
  static bool special(char c);
  size_t parseLiteralRun(int& flags);

  // --- sets ---
  enum class MemberKind { Char, Class };
  struct Member {
    MemberKind kind;
    char32_t ch;
    CharSet cls;
  };
  void readSetMember(Member& m);
  void addRange(CharSet& set, char32_t lo, char32_t hi);
  size_t parseSet();

  // --- analysis ---
  void analyse();
  void fillLookAheads();
  void operandStart(size_t at);
  void buildStartBytes();
  void walkStart(size_t at, std::vector<bool>& seen, std::vector<size_t>& work);
  void markByte(uint8_t b) { prog_.startBytes[b >> 6] |= uint64_t(1) << (b & 63); }
  void markAll() { prog_.startBytesAll = true; }

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

}  // namespace regex
