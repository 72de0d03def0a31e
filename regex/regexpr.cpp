#include "regex/regexpr.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <unordered_map>

#include "platform/rt/utf8.h"
#include "regex/failure.h"

namespace regex {

namespace {

constexpr uint32_t kModifierBits[] = {kModI, kModR, kModS, kModG, kModM, kModX};
constexpr size_t kMaxSubject = 0xFFFFFFF0u;

// Length of the run of ASCII bytes that `s` starts with, looked at in steps of whole words (so it
// may stop up to seven bytes short of the run's end; the caller goes on byte by byte).
size_t asciiRun(const unsigned char* s, size_t size) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  size_t n = 0;
  uint64_t w[4];
  while (size - n >= sizeof w) {
    std::memcpy(w, s + n, sizeof w);
    if ((w[0] | w[1] | w[2] | w[3]) & kHigh) break;
    n += sizeof w;
  }
  while (size - n >= 8) {
    std::memcpy(w, s + n, 8);
    if (w[0] & kHigh) break;
    n += 8;
  }
  return n;
}

// Programs compiled with the standard character sets, by modifiers and pattern: scripts make a
// new RegExp for every evaluation of a literal and every replace that calls back, so the same few
// patterns compile again and again. The cache is per thread and bounded (emptied when full).
constexpr size_t kCachedPrograms = 256;
constexpr size_t kMaxCachedPattern = 4096;

std::unordered_map<std::string, Program>& ProgramCache() {
  thread_local std::unordered_map<std::string, Program> cache;
  return cache;
}

std::string CacheKey(uint32_t modifiers, std::string_view pattern) {
  std::string key(reinterpret_cast<const char*>(&modifiers), sizeof modifiers);
  key.append(pattern);
  return key;
}

}  // namespace

namespace {

constexpr const char* kSpaceChars = " \t\n\r\f";
constexpr const char* kWordChars = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_";
constexpr const char* kLineSeparators = "\r\n";

// The standard sets, built once: every new expression starts with copies.
const CharSet& StandardSet(const char* chars) {
  static const CharSet space = [] { CharSet s; s.addText(kSpaceChars); return s; }();
  static const CharSet word = [] { CharSet s; s.addText(kWordChars); return s; }();
  static const CharSet separators = [] { CharSet s; s.addText(kLineSeparators); return s; }();
  return chars == kSpaceChars ? space : chars == kWordChars ? word : separators;
}

}  // namespace

TRegExpr::TRegExpr()
    : modifiers_(kModR | kModS | kModG),
      spaceChars_(kSpaceChars),
      wordChars_(kWordChars),
      lineSeparators_(kLineSeparators),
      spaceSet_(StandardSet(kSpaceChars)),
      wordSet_(StandardSet(kWordChars)),
      separatorSet_(StandardSet(kLineSeparators)) {
  clearSlots();
}

TRegExpr::~TRegExpr() = default;

void TRegExpr::SetExpression(std::string_view pattern) {
  if (pattern != expression_ || !compiled_) {
    discardProgram();
    expression_.assign(pattern);
  }
}

bool TRegExpr::ReadModifier(int index) {
  if (index < 1 || index > 6) RaiseError(reeModifierUnsupported);
  return modifiers_ & kModifierBits[index - 1];
}

void TRegExpr::WriteModifier(int index, bool on) {
  if (index < 1 || index > 6) RaiseError(reeModifierUnsupported);
  uint32_t bit = kModifierBits[index - 1];
  modifiers_ = on ? (modifiers_ | bit) : (modifiers_ & ~bit);
}

void TRegExpr::SetSpaceChars(std::string_view chars) {
  standardSets_ = false;
  spaceChars_.assign(chars);
  spaceSet_ = CharSet();
  spaceSet_.addText(chars);
  discardProgram();
}

void TRegExpr::SetWordChars(std::string_view chars) {
  standardSets_ = false;
  wordChars_.assign(chars);
  wordSet_ = CharSet();
  wordSet_.addText(chars);
  discardProgram();
}

void TRegExpr::SetLineSeparators(std::string_view chars) {
  standardSets_ = false;
  lineSeparators_.assign(chars);
  separatorSet_ = CharSet();
  separatorSet_.addText(chars);
  discardProgram();
}

std::string TRegExpr::LinePairedSeparator() const {
  std::string s;
  if (hasPair_) {
    rt::utf8::append(s, pairHead_);
    rt::utf8::append(s, pairTail_);
  }
  return s;
}

void TRegExpr::SetLinePairedSeparator(std::string_view pair) {
  standardSets_ = false;
  if (pair.empty()) {
    hasPair_ = false;
  } else {
    if (rt::utf8::charCount(pair) != 2) RaiseError(reeBadLinePairedSeparator);
    size_t n;
    char32_t head = rt::utf8::decode(pair, 0, &n);
    char32_t tail = rt::utf8::decode(pair, n);
    if (head == tail) RaiseError(reeBadLinePairedSeparator);
    hasPair_ = true;
    pairHead_ = head;
    pairTail_ = tail;
  }
  discardProgram();
}

std::string TRegExpr::ErrorText(int code) const { return regex::ErrorText(code); }

void TRegExpr::RaiseError(int code) {
  lastError_ = code;
  std::string message = ErrorText(code);
  int pos = int(compilePos_);
  if (code < 1000) message += " (pos " + std::to_string(pos) + ")";
  throw ERegExpr(std::move(message), code, pos);
}

void TRegExpr::compileProgram() {
  discardProgram();
  progModifiers_ = modifiers_;
  CompileSettings settings;
  settings.modifiers = modifiers_;
  settings.spaceChars = &spaceSet_;
  settings.wordChars = &wordSet_;
  settings.separators = &separatorSet_;
  settings.hasPairedSeparator = hasPair_;
  settings.pairHead = pairHead_;
  bool cacheable = standardSets_ && expression_.size() <= kMaxCachedPattern;
  std::string key;
  if (cacheable) {
    key = CacheKey(modifiers_, expression_);
    auto& cache = ProgramCache();
    if (auto it = cache.find(key); it != cache.end()) {
      program_ = it->second;
      compiled_ = true;
      return;
    }
  }
  try {
    CompilePattern(expression_, settings, program_);
  } catch (const Failure& f) {
    program_ = Program();
    compilePos_ = rt::utf8::charCount(std::string_view(expression_).substr(0, f.patternPos));
    struct Reset {
      size_t& pos;
      ~Reset() { pos = 0; }
    } reset{compilePos_};
    RaiseError(f.code);
  }
  compiled_ = true;
  if (cacheable) {
    auto& cache = ProgramCache();
    if (cache.size() >= kCachedPrograms) cache.clear();
    cache.emplace(std::move(key), program_);
  }
}

// An empty pattern compiles too: it matches the empty text everywhere.
void TRegExpr::CompileExpression() { compileProgram(); }

void TRegExpr::ensureCompiled() {
  if (modifiers_ != progModifiers_) discardProgram();
  if (!compiled_) CompileExpression();
  if (program_.code.empty() || program_.code[0] != kProgramMarker) RaiseError(reeCorruptedProgram);
}

std::string TRegExpr::Dump() const { return compiled_ ? DumpProgram(program_) : std::string(); }

// --- matching ---

void TRegExpr::clearSlots() {
  for (int i = 0; i < kSlotCount; ++i) slotStart_[i] = slotEnd_[i] = kUnset;
}

bool TRegExpr::slotSet(int n) const {
  return hasInput_ && n >= 0 && n < kSlotCount && slotStart_[n] != kUnset && slotEnd_[n] != kUnset;
}

void TRegExpr::SetInputString(std::string_view text) {
  ownInput_.assign(text);
  BorrowInputString(ownInput_);
}

void TRegExpr::BorrowInputString(std::string_view text) {
  clearSlots();
  input_ = text;
  hasInput_ = true;
  cacheByte_ = cacheChar_ = 0;
}

bool TRegExpr::Exec(std::string_view text) {
  SetInputString(text);
  return ExecPos(1);
}

bool TRegExpr::ExecBorrowed(std::string_view text) {
  BorrowInputString(text);
  return ExecPos(1);
}

bool TRegExpr::searchBytes(size_t from) {
  clearSlots();
  ensureCompiled();
  if (!hasInput_) RaiseError(reeNoInputStringSpecified);
  if (from > input_.size()) return false;
  if (input_.size() > kMaxSubject) RaiseError(reeMatchTooComplex);
  MatchContext ctx;
  ctx.subject = input_;
  ctx.wordChars = &wordSet_;
  ctx.separators = &separatorSet_;
  ctx.hasPairedSeparator = hasPair_;
  ctx.pairHead = pairHead_;
  ctx.pairTail = pairTail_;
  bool found = false;
  try {
    found = matcher_.search(program_, ctx, uint32_t(from));
  } catch (const Failure& f) {
    RaiseError(f.code);
  }
  if (found) {
    for (int i = 0; i < kSlotCount; ++i) {
      slotStart_[i] = matcher_.start[i];
      slotEnd_[i] = matcher_.end[i];
    }
  }
  return found;
}

bool TRegExpr::ExecPos(int offset) {
  clearSlots();
  ensureCompiled();
  if (!hasInput_) RaiseError(reeNoInputStringSpecified);
  if (offset <= 0) RaiseError(reeOffsetMustBeGreaterThen0);
  size_t index = size_t(offset - 1);
  size_t from = ByteOffsetOfChar(index);
  if (cacheChar_ < index) return false;  // past the end of the input plus one
  return searchBytes(from);
}

bool TRegExpr::ExecPosByte(size_t offset) { return searchBytes(offset); }

bool TRegExpr::ExecNext() {
  if (!slotSet(0)) RaiseError(reeExecNextWithoutExec);
  size_t from = slotEnd_[0];
  if (slotStart_[0] == slotEnd_[0]) from += from < input_.size() ? rt::utf8::charLength(input_, from) : 1;
  return searchBytes(from);
}

bool TRegExpr::ExecFurther() {
  uint32_t starts[kSlotCount], ends[kSlotCount];
  std::copy(std::begin(slotStart_), std::end(slotStart_), starts);
  std::copy(std::begin(slotEnd_), std::end(slotEnd_), ends);
  auto restore = [&] {
    std::copy(std::begin(starts), std::end(starts), slotStart_);
    std::copy(std::begin(ends), std::end(ends), slotEnd_);
  };
  bool found;
  try {
    found = ExecNext();
  } catch (...) {
    restore();
    throw;
  }
  if (!found) restore();
  return found;
}

void TRegExpr::ExecToLast() {
  if (!slotSet(0)) RaiseError(reeExecNextWithoutExec);
  std::string_view literal = loneLiteral();
  if (!literal.empty()) {
    // Occurrences of such a literal never overlap: the scan ends on the last one.
    size_t last = input_.rfind(literal);
    if (last != std::string_view::npos && last > slotStart_[0]) {
      slotStart_[0] = uint32_t(last);
      slotEnd_[0] = uint32_t(last + literal.size());
    }
    return;
  }
  while (ExecFurther()) {
  }
}

std::string_view TRegExpr::loneLiteral() const {
  const std::vector<uint8_t>& code = program_.code;
  size_t node = 1;
  // A pattern of one alternative starts with a branch whose own chain holds the literal.
  if (code.size() > node + kHeaderSize && code[node] == rxBranch) {
    size_t next = program_.next(node);
    if (next == 0 || next >= code.size() || code[next] != rxEnd) return {};
    node += kHeaderSize;
  }
  size_t operand = node + kHeaderSize;
  if (code.size() < operand + 5 || code[node] != rxLiteral || code[operand] != 0) return {};
  size_t length = readU32(&code[operand + 1]);
  size_t after = program_.next(node);
  if (after == 0 || after >= code.size() || code[after] != rxEnd || code.size() < operand + 5 + length) return {};
  std::string_view text(reinterpret_cast<const char*>(&code[operand + 5]), length);
  if (text.empty() || (static_cast<unsigned char>(text[0]) & 0xC0) == 0x80) return {};
  for (size_t n = 1; n < text.size(); ++n)
    if (text.substr(0, n) == text.substr(text.size() - n)) return {};
  return text;
}

int TRegExpr::LastGroup() const {
  if (!hasInput_) return -1;
  for (int n = kMaxGroups; n >= 1; --n)
    if (slotSet(n)) return n;
  return 0;
}

size_t TRegExpr::countChars(size_t from, size_t to) const {
  size_t count = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(input_.data());
  while (from < to) {
    size_t ascii = asciiRun(s + from, to - from);
    from += ascii;
    count += ascii;
    if (from >= to) break;
    from += s[from] < 0x80 ? 1 : rt::utf8::charLength(input_, from);
    ++count;
  }
  return count;
}

size_t TRegExpr::CharIndexOfByte(size_t byteOffset) const {
  if (byteOffset > input_.size()) byteOffset = input_.size();
  if (byteOffset >= cacheByte_) {
    cacheChar_ += countChars(cacheByte_, byteOffset);
  } else if (cacheByte_ - byteOffset < byteOffset) {
    cacheChar_ -= countChars(byteOffset, cacheByte_);
  } else {
    cacheChar_ = countChars(0, byteOffset);
  }
  cacheByte_ = byteOffset;
  return cacheChar_;
}

size_t TRegExpr::ByteOffsetOfChar(size_t charIndex) const {
  if (charIndex < cacheChar_) cacheByte_ = cacheChar_ = 0;
  const auto* s = reinterpret_cast<const unsigned char*>(input_.data());
  if (cacheChar_ < charIndex) {
    size_t ascii = asciiRun(s + cacheByte_, std::min(charIndex - cacheChar_, input_.size() - cacheByte_));
    cacheByte_ += ascii;
    cacheChar_ += ascii;
  }
  while (cacheChar_ < charIndex && cacheByte_ < input_.size()) {
    cacheByte_ += s[cacheByte_] < 0x80 ? 1 : rt::utf8::charLength(input_, cacheByte_);
    ++cacheChar_;
  }
  return cacheByte_;
}

int TRegExpr::GroupPos(int n) const {
  if (!slotSet(n)) return -1;
  return int(CharIndexOfByte(slotStart_[n])) + 1;
}

int TRegExpr::GroupLen(int n) const {
  if (!slotSet(n)) return -1;
  return int(countChars(slotStart_[n], slotEnd_[n]));
}

std::string TRegExpr::GroupText(int n) const {
  if (!slotSet(n)) return std::string();
  return std::string(input_.substr(slotStart_[n], slotEnd_[n] - slotStart_[n]));
}

int64_t TRegExpr::GroupBytePos(int n) const { return slotSet(n) ? int64_t(slotStart_[n]) : -1; }

int64_t TRegExpr::GroupByteLen(int n) const {
  return slotSet(n) ? int64_t(slotEnd_[n]) - int64_t(slotStart_[n]) : -1;
}

// "$n", "${n}", "$&" and "${&}" stand for a slot's text (empty past group 14 or when unset); any
// other "$" is itself. A backslash makes the next character literal.
std::string TRegExpr::ExpandTemplate(std::string_view t) {
  ensureCompiled();
  if (!hasInput_) RaiseError(reeNoInputStringSpecified);
  std::string out;
  out.reserve(t.size());
  size_t i = 0;
  while (i < t.size()) {
    char c = t[i];
    if (c == '$') {
      size_t j = i + 1;
      bool brace = j < t.size() && t[j] == '{';
      if (brace) ++j;
      long slot = -1;
      if (j < t.size() && t[j] == '&') {
        slot = 0;
        ++j;
      } else if (j < t.size() && t[j] >= '0' && t[j] <= '9') {
        slot = 0;
        for (; j < t.size() && t[j] >= '0' && t[j] <= '9'; ++j)
          slot = slot > kMaxGroups ? slot : slot * 10 + (t[j] - '0');  // saturates past 14
      }
      bool closed = !brace || (j < t.size() && t[j] == '}');
      if (slot >= 0 && closed) {
        if (brace) ++j;
        if (slot <= kMaxGroups && slotSet(int(slot)))
          out.append(input_.substr(slotStart_[slot], slotEnd_[slot] - slotStart_[slot]));
        i = j;
        continue;
      }
      out += '$';
      ++i;
      continue;
    }
    if (c == '\\' && i + 1 < t.size()) {
      size_t n = rt::utf8::charLength(t, i + 1);
      out.append(t.substr(i + 1, n));
      i += 1 + n;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

void TRegExpr::SplitText(std::string_view text, std::vector<std::string>& list) {
  bool found = Exec(text);
  size_t prev = 0;
  while (found) {
    list.emplace_back(input_.substr(prev, slotStart_[0] - prev));
    prev = slotEnd_[0];
    found = ExecNext();
  }
  list.emplace_back(input_.substr(prev));
}

bool MatchOnce(std::string_view pattern, std::string_view text) {
  TRegExpr re;
  re.SetExpression(pattern);
  return re.Exec(text);
}

void SplitByPattern(std::string_view pattern, std::string_view text,
                    std::vector<std::string>& list) {
  list.clear();
  TRegExpr re;
  re.SetExpression(pattern);
  re.SplitText(text, list);
}

}  // namespace regex
