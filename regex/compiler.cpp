#include "regex/compiler.h"

#include "regex/compiler_internal.h"

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

void Compiler::run() {
  code_.clear();
  code_.push_back(kProgramMarker);
  int flags;
  parseReg(false, flags);
  prog_.groupCount = groupCount_ - 1;
  prog_.registerCount = registers_;
  topSpStart_ = flags & kSpStart;
  analyse();
}

// Reads "{n}", "{n,}" or "{n,m}" at `at`. False when the text there is no such quantifier (the "{"
// is then an ordinary character); `end` receives the position after the closing brace.
bool Compiler::bracesAt(size_t at, uint32_t* min, uint32_t* max, size_t* end) {
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

bool Compiler::atQuantifier() {
  char c = peek();
  return !atEnd() && (c == '*' || c == '+' || c == '?' || (c == '{' && bracesAt(pos_)));
}

// Consumes a quantifier and its lazy mark; false (nothing consumed) when none follows.
bool Compiler::readQuantifier(Quantifier& q) {
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

void CompilePattern(std::string_view pattern, const CompileSettings& settings, Program& out) {
  out = Program();
  Compiler(pattern, settings, out).run();
}

}  // namespace regex
