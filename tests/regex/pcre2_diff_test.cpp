// PCRE2 as an oracle: the rows of the case table it can judge, and a generated set of patterns
// from the subset both dialects share, compared match by match (including the searches that follow
// a match). PCRE2 runs in UTF mode with the options that give it this engine's defaults: dot-all,
// "$" only at the very end, CR, LF and CR LF as line breaks, "^" also after a final line break.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/rt/utf8.h"
#include "tests/regex/case_runner.h"

namespace regex_test {
namespace {

// "\Z" is "\z" there.
std::string pcrePattern(std::string_view p) {
  std::string out;
  for (size_t i = 0; i < p.size(); ++i) {
    out += p[i];
    if (p[i] == '\\' && i + 1 < p.size()) {
      ++i;
      out += p[i] == 'Z' ? 'z' : p[i];
    }
  }
  return out;
}

class Pcre2 {
 public:
  Pcre2(std::string_view pattern, uint32_t mods) {
    uint32_t options = PCRE2_UTF | PCRE2_ALT_CIRCUMFLEX | PCRE2_DOLLAR_ENDONLY;
    if (mods & regex::kModS) options |= PCRE2_DOTALL;
    if (mods & regex::kModI) options |= PCRE2_CASELESS;
    if (mods & regex::kModM) options |= PCRE2_MULTILINE;
    if (mods & regex::kModX) options |= PCRE2_EXTENDED;
    context_ = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context_, PCRE2_NEWLINE_ANYCRLF);
    std::string p = pcrePattern(pattern);
    int err;
    PCRE2_SIZE offset;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(p.data()), p.size(), options, &err, &offset,
                          context_);
    if (code_) data_ = pcre2_match_data_create_from_pattern(code_, nullptr);
  }
  ~Pcre2() {
    pcre2_match_data_free(data_);
    pcre2_code_free(code_);
    pcre2_compile_context_free(context_);
  }
  bool compiled() const { return code_ != nullptr; }

  // Searches from a byte offset; the result in the table's notation, "-" for no match, "?" when
  // PCRE2 gives up.
  std::string match(std::string_view subject, size_t from, size_t* endByte = nullptr,
                    bool* empty = nullptr) {
    int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), from,
                         0, data_, nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) return "-";
    if (rc <= 0) return "?";
    PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data_);
    std::string out;
    for (int n = 0; n < rc; ++n) {
      if (n) out += ' ';
      if (ov[2 * n] == PCRE2_UNSET) {
        out += '.';
        continue;
      }
      size_t pos = rt::utf8::charIndex(subject, ov[2 * n]) + 1;
      size_t len = rt::utf8::charCount(subject.substr(ov[2 * n], ov[2 * n + 1] - ov[2 * n]));
      out += std::to_string(pos) + "," + std::to_string(len);
    }
    if (endByte) *endByte = ov[1];
    if (empty) *empty = ov[0] == ov[1];
    return out;
  }

 private:
  pcre2_compile_context* context_ = nullptr;
  pcre2_code* code_ = nullptr;
  pcre2_match_data* data_ = nullptr;
};

uint32_t modifiersOf(std::string_view letters) {
  regex::TRegExpr re;
  uint32_t mods = re.Modifiers();
  regex::TRegExpr::ReadModifierLetters(letters, mods);
  return mods;
}

TEST(RegexPcre2, TableRowsAgreeWithPcre2) {
  int judged = 0;
  for (const RegexCase& c : kCases) {
    if (c.oracle != Oracle::Pcre2) continue;
    Pcre2 pcre(c.pattern, modifiersOf(c.mods));
    ASSERT_TRUE(pcre.compiled()) << c.pattern;
    size_t from = rt::utf8::byteOffset(c.subject, size_t(c.offset - 1));
    EXPECT_EQ(runCase(c), pcre.match(c.subject, from)) << "/" << c.pattern << "/" << c.mods;
    ++judged;
  }
  EXPECT_GT(judged, 100);
}

// Patterns from a small grammar that both dialects read alike: no quantifier on anything that can
// match empty, back-references only to groups already closed and never followed by a digit, no
// vertical tab, no CR (so no CR LF pair to split), case-insensitive text only in ASCII.
class Generator {
 public:
  explicit Generator(uint32_t start) : rng_(start) {}

  std::string pattern() {
    groups_ = 0;
    closed_.clear();
    bool nullable;
    return alternation(0, nullable);
  }

  std::string subject() {
    static const char* const pieces[] = {"a", "b", "c", " ", "\n", "-", "1", "の", "é", "B"};
    std::string s;
    for (int n = pick(9); n > 0; --n) s += pieces[pick(10)];
    return s;
  }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  std::string alternation(int depth, bool& nullable) {
    std::string out = sequence(depth, nullable);
    while (pick(5) == 0) {
      bool n2;
      out += "|" + sequence(depth, n2);
      nullable = nullable || n2;
    }
    return out;
  }

  std::string sequence(int depth, bool& nullable) {
    nullable = true;
    std::string out;
    for (int n = 1 + pick(4); n > 0; --n) {
      bool n2;
      out += piece(depth, n2);
      nullable = nullable && n2;
    }
    return out;
  }

  std::string piece(int depth, bool& nullable) {
    bool quantifiable = true, hasRef = false;
    std::string atom = this->atom(depth, nullable, quantifiable, hasRef);
    if (!quantifiable || hasRef || pick(3) != 0) return atom;
    static const char* const any[] = {"?", "??"};
    static const char* const solid[] = {"*", "+", "*?", "+?", "{2}", "{1,2}", "{0,2}?", "{2,}"};
    if (nullable) return atom + any[pick(2)];
    const char* q = solid[pick(8)];
    if (q[0] == '*' || q[0] == '?' || std::string(q).find("{0") == 0) nullable = true;
    return atom + q;
  }

  std::string atom(int depth, bool& nullable, bool& quantifiable, bool& hasRef) {
    nullable = false;
    switch (pick(12)) {
      case 0:
      case 1:
      case 2: {
        static const char* const lits[] = {"a", "b", "c", "の", "é", " ", "\\n", "\\-"};
        return lits[pick(8)];
      }
      case 3: return ".";
      case 4: {
        static const char* const sets[] = {"[ab]", "[^a]", "[a-c]", "[^\\s]", "[のa]", "[b-]",
                                           "\\d", "\\w", "\\s", "\\D", "\\W", "\\S"};
        return sets[pick(12)];
      }
      case 5: {
        nullable = true;
        quantifiable = false;
        static const char* const anchors[] = {"^", "$", "\\b", "\\B"};
        return anchors[pick(4)];
      }
      case 6:
        if (!closed_.empty() && pick(2) == 0) {
          hasRef = true;
          return "\\" + std::to_string(closed_[size_t(pick(int(closed_.size())))]);
        }
        return "a";
      default:
        if (depth >= 3 || groups_ >= 9) return "b";
        int g = ++groups_;
        std::string inner = alternation(depth + 1, nullable);
        hasRef = inner.find('\\') != std::string::npos &&
                 inner.find_first_of("123456789", inner.find('\\')) != std::string::npos;
        closed_.push_back(g);
        return "(" + inner + ")";
    }
  }

  std::mt19937 rng_;
  int groups_ = 0;
  std::vector<int> closed_;
};

std::string ours(regex::TRegExpr& re, const std::string& subject, bool& gaveUp) {
  std::string out;
  gaveUp = false;
  try {
    bool found = re.Exec(subject);
    for (int n = 0; found && n < 20; ++n) {
      out += "[" + describeMatch(re) + "]";
      found = re.ExecNext();
    }
  } catch (const regex::ERegExpr& e) {
    gaveUp = e.ErrorCode == regex::reeMatchTooComplex;
    out = "E" + std::to_string(e.ErrorCode);
  }
  return out;
}

std::string theirs(Pcre2& pcre, const std::string& subject, bool& gaveUp) {
  std::string out;
  gaveUp = false;
  size_t from = 0;
  for (int n = 0; n < 20 && from <= subject.size(); ++n) {
    size_t end;
    bool empty;
    std::string m = pcre.match(subject, from, &end, &empty);
    if (m == "?") gaveUp = true;
    if (m == "-" || m == "?") break;
    out += "[" + m + "]";
    from = empty ? end + std::max<size_t>(1, rt::utf8::charLength(subject, end)) : end;
  }
  return out;
}

TEST(RegexPcre2, GeneratedPatternsAgreeWithPcre2) {
  Generator gen(20240611);
  const uint32_t modChoices[] = {0, regex::kModI, regex::kModM, regex::kModI | regex::kModM};
  int compared = 0, failures = 0;
  for (int i = 0; i < 3000 && failures < 10; ++i) {
    std::string pattern = gen.pattern();
    uint32_t mods = (regex::kModR | regex::kModS | regex::kModG) | modChoices[gen.pick(4)];
    if (gen.pick(4) == 0) mods &= ~uint32_t(regex::kModS);
    Pcre2 pcre(pattern, mods);
    if (!pcre.compiled()) {
      ADD_FAILURE() << "PCRE2 refuses generated pattern /" << pattern << "/";
      ++failures;
      continue;
    }
    regex::TRegExpr re;
    re.SetModifiers(mods);
    re.SetExpression(pattern);
    re.SetStepLimit(1000000);
    for (int s = 0; s < 6; ++s) {
      std::string subject = gen.subject();
      bool ourLimit, theirLimit;
      std::string a = ours(re, subject, ourLimit);
      std::string b = theirs(pcre, subject, theirLimit);
      if (ourLimit || theirLimit) continue;
      ++compared;
      if (a != b) {
        ++failures;
        ADD_FAILURE() << "/" << pattern << "/ mods " << mods << " on \"" << subject << "\": ours "
                      << a << ", PCRE2 " << b;
      }
    }
  }
  EXPECT_GT(compared, 15000);
}

}  // namespace
}  // namespace regex_test
