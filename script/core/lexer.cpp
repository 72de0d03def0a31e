#include "script/core/lexer.h"

#include <string>
#include <unordered_map>

#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"

namespace engine {

namespace {

// Keywords are few and short: their length and outer letters spread them well enough.
struct KeywordHash {
  size_t operator()(std::string_view w) const {
    return w.empty() ? 0 : w.size() * 131 + size_t(uint8_t(w[0])) * 7 + uint8_t(w.back());
  }
};

const std::unordered_map<std::string_view, int32_t, KeywordHash>& Keywords() {
  static const std::unordered_map<std::string_view, int32_t, KeywordHash> table = {
      {"var", tkVar},         {"function", tkFunction}, {"if", tkIf},
      {"else", tkElse},       {"while", tkWhile},       {"for", tkFor},
      {"continue", tkContinue}, {"break", tkBreak},     {"return", tkReturn},
      {"with", tkWith},       {"this", tkThis},         {"null", tkNull},
      {"true", tkTrue},       {"false", tkFalse},       {"new", tkNew},
      {"delete", tkDelete},   {"void", tkVoid},         {"typeof", tkTypeof},
      {"try", tkTry},         {"catch", tkCatch},       {"finally", tkFinally},
      {"throw", tkThrow},     {"undefined", tkUndefined}, {"infinity", tkInfinity},
      {"in", tkIn},           {"case", tkCase},         {"class", tkClass},
      {"const", tkConst},     {"debugger", tkDebugger}, {"do", tkDo},
      {"enum", tkEnum},       {"export", tkExport},     {"extends", tkExtends},
      {"import", tkImport},   {"super", tkSuper},       {"switch", tkSwitch},
      {"default", tkDefault}, {"static", tkStatic},     {"global", tkGlobal},
      {"NaN", tkNaN},
  };
  return table;
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char32_t c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsIdentStart(char32_t c) { return IsLetter(c) || c == '_' || c == '$'; }
bool IsIdentPart(char32_t c) { return IsIdentStart(c) || IsDigit(c); }

bool IsOperatorChar(char32_t c) {
  switch (c) {
    case '!': case '#': case '%': case '&': case '(': case ')': case '*': case '+':
    case ',': case '-': case '.': case '/': case ':': case ';': case '<': case '=':
    case '>': case '?': case '@': case '[': case '\\': case ']': case '^': case '`':
    case '{': case '|': case '}': case '~':
      return true;
    default:
      return false;
  }
}

// The token of a character that is a token by itself whatever follows it (0 for any other).
int32_t SingleCharToken(unsigned char c) {
  switch (c) {
    case '(': return tkLParen;
    case ')': return tkRParen;
    case ',': return tkComma;
    case '.': return tkDot;
    case ':': return tkColon;
    case ';': return tkSemicolon;
    case '?': return tkQuestion;
    case '@': return tkAt;
    case '[': return tkLBracket;
    case ']': return tkRBracket;
    case '{': return tkLBrace;
    case '}': return tkRBrace;
    default: return 0;
  }
}

// The member names of the regular-expression object's static properties, by the character after
// "$" (RegExp.$& and friends).
const char* DollarMember(char32_t c) {
  switch (c) {
    case '"': return "rightContext";
    case '&': return "lastMatch";
    case '*': return "multiline";
    case '+': return "lastParen";
    case '`': return "leftContext";
    case '_': return "input";
    default: return nullptr;
  }
}

}  // namespace

bool EndsOperand(int32_t token) {
  switch (token) {
    case tkNull: case tkTrue: case tkFalse: case tkUndefined: case tkInfinity:
    case tkString: case tkIdentifier: case tkInteger: case tkFloat: case tkRParen:
    case tkRBracket: case tkRegExp: case tkNaN:
      return true;
    default:
      return false;
  }
}

void TJLex::Reset() {
  sources_.clear();
  ResetState();
}

void TJLex::ResetState() {
  line_ = 1;
  historyCount_ = 0;
  token_ = prevToken_ = 0;
  text_.clear();
  op_ = int_ = 0;
  double_ = 0;
  tokenLine_ = 1;
  unterminated_ = false;
}

void TJLex::SetText(std::string text, std::string name) {
  Reset();
  sources_.push_back(Source{std::move(text), std::move(name), 0, 1});
}

void TJLex::SetTextAfter(std::string_view text, std::string_view tail, int32_t previous) {
  // The one source of the last text is filled again (its buffer reused).
  if (sources_.size() != 1) {
    sources_.clear();
    sources_.emplace_back();
  }
  Source& s = sources_.front();
  s.text.assign(text).append(tail);
  s.name.clear();
  s.pos = 0;
  s.resumeLine = 1;
  ResetState();
  token_ = previous;
}

void TJLex::InsertText(std::string text, std::string name) {
  if (text.empty()) return;
  sources_.push_back(Source{std::move(text), std::move(name), 0, line_});
  line_ = 1;
  historyCount_ = 0;
}

std::vector<std::string> TJLex::OpenSources() const {
  std::vector<std::string> names;
  for (const Source& s : sources_) names.push_back(s.name);
  return names;
}

bool TJLex::AtEnd() const {
  for (const Source& s : sources_)
    if (s.pos < s.text.size()) return false;
  return true;
}

char32_t TJLex::Get() {
  size_t length = 0;
  char32_t c = kEnd;
  if (!sources_.empty()) {
    Source& s = sources_.back();
    if (s.pos < s.text.size()) {
      unsigned char b = static_cast<unsigned char>(s.text[s.pos]);
      if (b < 0x80) {
        c = b;
        length = 1;
      } else {
        c = rt::utf8::decode(s.text, s.pos, &length);
      }
      s.pos += length;
      if (c == '\n') ++line_;
    }
  }
  Remember(length);
  return c;
}

void TJLex::Remember(size_t length) {
  history_[historyNext_++ & 3] = uint8_t(length);
  if (historyCount_ < 4) ++historyCount_;
}

void TJLex::Skip(size_t count) {
  sources_.back().pos += count;
  if (count >= 4) {
    history_[0] = history_[1] = history_[2] = history_[3] = 1;
    historyCount_ = 4;
    return;
  }
  for (size_t i = 0; i < count; ++i) Remember(1);
}

void TJLex::Unget() {
  if (historyCount_ == 0) return;
  --historyCount_;
  size_t length = history_[--historyNext_ & 3];
  if (length == 0) return;
  Source& s = sources_.back();
  s.pos -= length;
  if (s.text[s.pos] == '\n') --line_;
}

void TJLex::TakeLast() {
  size_t length = historyCount_ ? history_[(historyNext_ - 1) & 3] : 0;
  if (length == 0) return;
  const Source& s = sources_.back();
  if (length == 1)
    text_ += s.text[s.pos - 1];
  else
    text_.append(s.text.data() + s.pos - length, length);
}

// Only ever asked for ASCII characters: the next byte is looked at, and read when it is `c`.
bool TJLex::Match(char32_t c) {
  Source& s = sources_.back();
  if (s.pos >= s.text.size() || static_cast<unsigned char>(s.text[s.pos]) != c) return false;
  ++s.pos;
  Remember(1);
  text_ += char(c);
  return true;
}

void TJLex::LeaveFinishedSources() {
  while (sources_.size() > 1 && sources_.back().pos >= sources_.back().text.size()) {
    line_ = sources_.back().resumeLine;
    sources_.pop_back();
    historyCount_ = 0;
  }
}

bool TJLex::NextToken() {
  prevToken_ = token_;
  token_ = 0;
  op_ = 0;
  int_ = 0;
  double_ = 0;
  unterminated_ = false;
  text_.clear();
  for (;;) {
    LeaveFinishedSources();
    tokenLine_ = line_;
    if (sources_.empty()) break;
    Source& s = sources_.back();
    // Spaces and tabs are passed over in one go.
    while (s.pos < s.text.size() && (s.text[s.pos] == ' ' || s.text[s.pos] == '\t')) ++s.pos;
    if (s.pos >= s.text.size()) {
      if (sources_.size() > 1) continue;  // a pasted text ends: back to the text around it
      break;
    }
    // The first character decides what is read (looked at, not read yet).
    unsigned char c = static_cast<unsigned char>(s.text[s.pos]);
    if (int32_t single = SingleCharToken(c)) {
      text_ += char(c);
      Skip(1);
      token_ = single;
      break;
    } else if (c < 0x80 && IsOperatorChar(c)) {
      ReadOperator();
    } else if (c == '"' || c == '\'') {
      ReadString();
    } else if (IsIdentStart(c)) {
      ReadIdentifier();
    } else if (IsDigit(c)) {
      ReadNumber();
    } else {
      Get();  // other blanks, control characters, anything outside ASCII (the full-width space too)
      continue;
    }
    if (token_ != 0 || unterminated_) break;
    text_.clear();
  }
  if (token_ != 0 && OnDebugout) OnDebugout(std::to_string(token_) + "( " + text_ + " )");
  return token_ != 0;
}

// The operators of more than one possible character (the single ones are taken by NextToken).
void TJLex::ReadOperator() {
  char32_t c = Get();
  TakeLast();
  switch (c) {
    case '!':
      if (Match('='))
        SetOp(tkEquality, Match('=') ? int32_t(opNotStrict) : int32_t('!'));
      else
        SetOp(tkUnaryOp, '!');
      break;
    case '%': SetOp(Match('=') ? tkCompoundAssign : tkMultiplicative, '%'); break;
    case '&':
      if (Match('&')) SetOp(tkAndAnd, 0);
      else if (Match('=')) SetOp(tkCompoundAssign, '&');
      else SetOp(tkBitAnd, 0);
      break;
    case '*': SetOp(Match('=') ? tkCompoundAssign : tkMultiplicative, '*'); break;
    case '+':
    case '-':
      if (Match(c)) SetOp(tkIncDec, int32_t(c));
      else if (Match('=')) SetOp(tkCompoundAssign, int32_t(c));
      else SetOp(tkAdditive, int32_t(c));
      break;
    case '/': {
      char32_t next = Get();
      if (next == '/') {
        SkipLineComment();
      } else if (next == '*') {
        SkipBlockComment();
      } else {
        Unget();
        if (EndsOperand(prevToken_)) {
          SetOp(Match('=') ? tkCompoundAssign : tkMultiplicative, '/');
        } else {
          text_.clear();
          ReadRegExp();
        }
      }
      break;
    }
    case '<':
      if (Match('<')) SetOp(Match('=') ? tkCompoundAssign : tkShift, '<');
      else if (Match('=')) SetOp(tkRelational, opLessEqual);
      else SetOp(tkRelational, '<');
      break;
    case '=':
      if (Match('=')) SetOp(tkEquality, Match('=') ? int32_t(opTriple) : int32_t('='));
      else SetOp(tkAssign, 0);
      break;
    case '>':
      if (Match('>')) {
        if (Match('>')) SetOp(Match('=') ? tkCompoundAssign : tkShift, opTriple);
        else SetOp(Match('=') ? tkCompoundAssign : tkShift, '>');
      } else if (Match('=')) {
        SetOp(tkRelational, opGreaterEqual);
      } else {
        SetOp(tkRelational, '>');
      }
      break;
    case '^': if (Match('=')) SetOp(tkCompoundAssign, '^');
      else SetOp(tkBitXor, 0);
      break;
    case '|':
      if (Match('|')) SetOp(tkOrOr, 0);
      else if (Match('=')) SetOp(tkCompoundAssign, '|');
      else SetOp(tkBitOr, 0);
      break;
    case '~': SetOp(tkUnaryOp, '~'); break;
    default:
      break;  // "#", "\" and "`" mean nothing
  }
}

void TJLex::SkipLineComment() {
  for (char32_t c = Get(); c != kEnd && c != '\n'; c = Get()) {
  }
}

void TJLex::SkipBlockComment() {
  char32_t previous = 0;
  for (char32_t c = Get(); c != kEnd; c = Get()) {
    if (previous == '*' && c == '/') return;
    previous = c;
  }
}

void TJLex::ReadString() {
  char32_t quote = Get();
  for (;;) {
    char32_t c = Get();
    if (c == kEnd) {
      unterminated_ = true;
      return;
    }
    if (c == quote) break;
    if (c == '\\' && quote == '"') {
      char32_t e = Get();
      switch (e) {
        case '\\': text_ += '\\'; break;
        case 'b': text_ += '\b'; break;
        case 'f': text_ += '\f'; break;
        case 'n': text_ += "\r\n"; break;
        case 'r': text_ += '\r'; break;
        case 't': text_ += '\t'; break;
        case '"': text_ += '"'; break;
        case kEnd:
          unterminated_ = true;
          return;
        default:
          break;  // an unknown escape drops both characters
      }
      continue;
    }
    TakeLast();
  }
  token_ = tkString;
}

void TJLex::ReadRegExp() {
  for (;;) {
    char32_t c = Get();
    if (c == kEnd) {
      unterminated_ = true;
      return;
    }
    if (c == '/') break;
    if (c == '\\') {
      char32_t e = Get();
      switch (e) {
        case '/': text_ += '/'; break;
        case 'b': text_ += '\b'; break;
        case 'f': text_ += '\f'; break;
        case 'n': text_ += "\r\n"; break;
        case 'r': text_ += '\r'; break;
        case 't': text_ += '\t'; break;
        case kEnd: break;
        default:
          text_ += '\\';
          TakeLast();
          break;
      }
      continue;
    }
    TakeLast();
  }
  text_ += '\0';
  for (;;) {
    char32_t f = Get();
    if (f == 'g' || f == 'i' || f == 'm') {
      TakeLast();
    } else {
      Unget();
      break;
    }
  }
  token_ = tkRegExp;
}

void TJLex::ReadIdentifier() {
  const Source& s = sources_.back();
  if (s.text[s.pos] != '$' || prevToken_ != tkDot) {
    // Names are ASCII: the name is cut from the source in one piece.
    size_t end = s.pos + 1;
    while (end < s.text.size() && IsIdentPart(static_cast<unsigned char>(s.text[end]))) ++end;
    text_.assign(s.text, s.pos, end - s.pos);
    Skip(end - s.pos);
    SetNameToken();
    return;
  }
  char32_t first = Get();
  TakeLast();
  if (first == '$' && prevToken_ == tkDot) {
    char32_t second = Get();
    if (const char* member = DollarMember(second)) {
      text_ = member;
      token_ = tkIdentifier;
      return;
    }
    Unget();
  }
  for (;;) {
    char32_t c = Get();
    if (!IsIdentPart(c)) {
      Unget();
      break;
    }
    TakeLast();
  }
  SetNameToken();
}

void TJLex::SetNameToken() {
  token_ = tkIdentifier;
  if (prevToken_ != tkDot) {
    const auto& keywords = Keywords();
    auto it = keywords.find(text_);
    if (it != keywords.end()) token_ = it->second;
  }
}

void TJLex::ReadNumber() {
  bool isFloat = false;
  bool isHex = false;
  {
    // A plain run of digits (the common case) is cut from the source in one piece.
    const Source& s = sources_.back();
    size_t end = s.pos;
    while (end < s.text.size() && IsDigit(static_cast<unsigned char>(s.text[end]))) ++end;
    char after = end < s.text.size() ? s.text[end] : ' ';
    if (after != '.' && after != 'e' && after != 'E' && after != 'x' && after != 'X') {
      size_t digits = end - s.pos;
      text_.assign(s.text, s.pos, digits);
      Skip(digits);
      if (digits > 9) {
        SetNumberToken(false, false);
        return;
      }
      // Up to nine digits always fit 32 bits.
      int32_t value = 0;
      for (char d : text_) value = value * 10 + (d - '0');
      token_ = tkInteger;
      int_ = value;
      return;
    }
  }
  for (;;) {
    char32_t c = Get();
    if (IsDigit(c)) {
      TakeLast();
    } else if (c == '.') {
      char32_t next = Get();
      if (IsDigit(next)) {
        isFloat = true;
        text_ += '.';
        TakeLast();
      } else {
        Unget();
        Unget();
        break;
      }
    } else if (c == 'E' || c == 'e') {
      char32_t next = Get();
      if (next == '+' || next == '-' || IsDigit(next)) {
        isFloat = true;
        text_ += char(c);
        TakeLast();
      } else {
        Unget();
        Unget();
        break;
      }
    } else if (c == 'X' || c == 'x') {
      isHex = true;
      TakeLast();
      for (;;) {
        char32_t h = Get();
        if (!IsHexDigit(h)) {
          Unget();
          break;
        }
        TakeLast();
      }
      break;
    } else {
      Unget();
      break;
    }
  }
  SetNumberToken(isFloat, isHex);
}

void TJLex::SetNumberToken(bool isFloat, bool isHex) {
  double d = 0;
  if (isFloat) {
    if (rt::TryStrToFloat(text_, d)) {
      token_ = tkFloat;
      double_ = d;
    } else {
      token_ = tkNaN;
    }
    return;
  }
  // Integer text: 32 bits, else 64 bits kept as a float, else whatever the float conversion makes
  // of it. "0x" introduces hexadecimal digits, which may fill all 32 bits.
  std::string digits = text_;
  if (isHex && digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    digits = "$" + digits.substr(2);
  int32_t i = 0;
  int64_t i64 = 0;
  if (rt::TryStrToInt(digits, i)) {
    token_ = tkInteger;
    int_ = i;
  } else if (rt::TryStrToInt64(digits, i64)) {
    token_ = tkFloat;
    double_ = double(i64);
  } else if (rt::TryStrToFloat(text_, d)) {
    token_ = tkFloat;
    double_ = d;
  } else {
    token_ = tkNaN;
  }
}

}  // namespace engine
