// Typical searches over a 1 MB text, each finding every match in turn: our engine beside PCRE2's
// interpreter (no JIT) with the same options. Each pair is named <case>/ours and <case>/pcre2.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "regex/regexpr.h"

namespace {

// Made-up prose with names, dates, addresses, numbers and a little Japanese, about 1 MB.
const std::string& text() {
  static const std::string t = [] {
    static const char* const words[] = {
        "the", "of", "and", "a", "to", "in", "is", "was", "that", "it", "for", "on", "with", "as",
        "his", "he", "at", "by", "from", "which", "had", "were", "looking", "morning", "nothing",
        "evening", "something", "being", "said", "street", "window", "letter", "door", "London",
        "Baker", "Street", "case", "mind", "clue", "singular", "remarkable", "before", "after"};
    static const char* const names[] = {"Sherlock Holmes", "Watson", "Irene Adler", "Lestrade",
                                        "Mycroft", "Mrs. Hudson"};
    std::mt19937 rng(1887);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::string s;
    while (s.size() < (1u << 20)) {
      int kind = pick(100);
      if (kind < 4) {
        s += names[pick(6)];
      } else if (kind < 5) {
        s += std::to_string(1880 + pick(20)) + "-" + std::to_string(10 + pick(3)) + "-" +
             std::to_string(10 + pick(19));
      } else if (kind < 6) {
        s += std::string(words[pick(43)]) + "@" + words[pick(43)] + ".com";
      } else if (kind < 8) {
        s += std::to_string(pick(100000));
      } else if (kind < 9) {
        s += "霧の灯台";
      } else {
        s += words[pick(43)];
      }
      s += pick(12) == 0 ? ".\n" : " ";
    }
    return s;
  }();
  return t;
}

struct Case {
  const char* name;
  const char* pattern;
  uint32_t mods;  // on top of the defaults
  bool dotNoNewline;
};

constexpr uint32_t kM = regex::kModM, kI = regex::kModI;
const Case kCases[] = {
    {"literal", "Sherlock Holmes", 0, false},
    {"literal_absent", "Moriarty", 0, false},
    {"literal_nocase", "holmes", kI, false},
    {"alternation", "Sherlock|Holmes|Watson|Irene|Adler", 0, false},
    {"class_suffix", "[a-z]+ing", 0, false},
    {"word_class", "\\w+", 0, false},
    {"digits", "\\d+", 0, false},
    {"captures_date", "(\\d{4})-(\\d{2})-(\\d{2})", 0, false},
    {"captures_mail", "(\\w+)@(\\w+)\\.com", 0, false},
    {"line_with_name", "^.*Holmes.*$", kM, true},
    {"hiragana_run", "[ぁ-ん]+", 0, false},
};

void Ours(benchmark::State& state, const Case& c) {
  regex::TRegExpr re;
  re.SetModifiers(re.Modifiers() | c.mods);
  if (c.dotNoNewline) re.WriteModifier(3, false);
  re.SetExpression(c.pattern);
  re.SetInputString(text());
  int64_t count = 0;
  for (auto _ : state) {
    count = 0;
    for (bool found = re.ExecPos(1); found; found = re.ExecNext()) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.counters["matches"] = double(count);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text().size()));
}

void Pcre2(benchmark::State& state, const Case& c) {
  uint32_t options = PCRE2_UTF | PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX;
  if (!c.dotNoNewline) options |= PCRE2_DOTALL;
  if (c.mods & kM) options |= PCRE2_MULTILINE;
  if (c.mods & kI) options |= PCRE2_CASELESS;
  pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(cc, PCRE2_NEWLINE_ANYCRLF);
  int err;
  PCRE2_SIZE erroff;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(c.pattern), PCRE2_ZERO_TERMINATED,
                                   options, &err, &erroff, cc);
  pcre2_match_data* md = pcre2_match_data_create_from_pattern(code, nullptr);
  const std::string& t = text();
  auto subject = reinterpret_cast<PCRE2_SPTR>(t.data());
  int64_t count = 0;
  for (auto _ : state) {
    count = 0;
    PCRE2_SIZE from = 0;
    while (from <= t.size()) {
      // the text is checked for valid UTF-8 once, not at every search
      if (pcre2_match(code, subject, t.size(), from, count ? PCRE2_NO_UTF_CHECK : 0, md, nullptr) < 0)
        break;
      ++count;
      PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md);
      from = ov[1] > ov[0] ? ov[1] : ov[1] + 1;
    }
    benchmark::DoNotOptimize(count);
  }
  state.counters["matches"] = double(count);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
  pcre2_match_data_free(md);
  pcre2_code_free(code);
  pcre2_compile_context_free(cc);
}

int registerAll() {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string(c.name) + "/ours").c_str(), Ours, c)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string(c.name) + "/pcre2").c_str(), Pcre2, c)
        ->Unit(benchmark::kMillisecond);
  }
  return 0;
}
const int registered = registerAll();

}  // namespace

BENCHMARK_MAIN();
