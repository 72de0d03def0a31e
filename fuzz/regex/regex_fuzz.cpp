// Compiles and runs arbitrary patterns over arbitrary subjects and checks what must always hold:
// every match lies inside the subject on character boundaries, successive matches move forward,
// the split pieces and the matches rebuild the subject, and a second run answers the same.
//
// Input: modifier byte, pattern length byte, pattern, template length byte, template, subject.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rt/utf8.h"
#include "regex/regexpr.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool onBoundary(std::string_view s, size_t pos) {
  return pos == s.size() || rt::utf8::byteOffset(s, rt::utf8::charIndex(s, pos)) == pos;
}

std::string take(std::string_view& in, size_t n) {
  n = n < in.size() ? n : in.size();
  std::string out(in.substr(0, n));
  in.remove_prefix(n);
  return out;
}

// All matches in order, as (start, length) byte pairs; empty on an error.
std::vector<std::pair<int64_t, int64_t>> matches(regex::TRegExpr& re, const std::string& subject) {
  std::vector<std::pair<int64_t, int64_t>> found;
  try {
    bool ok = re.Exec(subject);
    for (size_t n = 0; ok && n <= subject.size() + 1; ++n) {
      int64_t pos = re.GroupBytePos(0), len = re.GroupByteLen(0);
      check(pos >= 0 && len >= 0 && size_t(pos + len) <= subject.size());
      check(onBoundary(subject, size_t(pos)) && onBoundary(subject, size_t(pos + len)));
      check(found.empty() || pos >= found.back().first + found.back().second);
      check(re.LastGroup() >= 0 && re.LastGroup() <= 14);
      for (int g = 1; g <= re.LastGroup(); ++g) {
        int64_t gp = re.GroupBytePos(g), gl = re.GroupByteLen(g);
        check(gp == -1 || (gl >= 0 && size_t(gp + gl) <= subject.size()));
      }
      check(re.GroupLen(0) == int(rt::utf8::charCount(re.GroupText(0))));
      found.emplace_back(pos, len);
      ok = re.ExecNext();
    }
  } catch (const regex::ERegExpr&) {
    found.clear();
  }
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  if (in.size() < 2) return 0;
  uint32_t mods = uint8_t(in[0]) & 63;
  size_t patternLen = uint8_t(in[1]);
  in.remove_prefix(2);
  std::string pattern = take(in, patternLen);
  std::string templ = in.empty() ? std::string() : take(in, uint8_t(take(in, 1)[0]));
  std::string subject = take(in, 4096);

  regex::TRegExpr re;
  re.SetModifiers(mods);
  re.SetExpression(pattern);
  re.SetStepLimit(200000);
  try {
    re.CompileExpression();
  } catch (const regex::ERegExpr& e) {
    check(e.ErrorCode >= 100 && e.ErrorCode < 1000);
    return 0;
  }
  auto first = matches(re, subject);
  check(matches(re, subject) == first);

  try {
    if (re.Exec(subject)) re.ExpandTemplate(templ);
    std::vector<std::string> pieces;
    re.SplitText(subject, pieces);
    check(pieces.size() == first.size() + 1);
    std::string rebuilt;
    size_t prev = 0;
    for (size_t i = 0; i < first.size(); ++i) {
      check(pieces[i] == subject.substr(prev, size_t(first[i].first) - prev));
      rebuilt += pieces[i] + subject.substr(size_t(first[i].first), size_t(first[i].second));
      prev = size_t(first[i].first + first[i].second);
    }
    rebuilt += pieces.back();
    check(rebuilt == subject);
  } catch (const regex::ERegExpr&) {
  }
  return 0;
}
