#include "platform/fw/parser.h"

#include <charconv>

#include "platform/fw/errors.h"
#include "platform/rt/numtext.h"
#include "platform/rt/utf8.h"

namespace fw {

static bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
static bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }
static bool isDigit(char c) { return c >= '0' && c <= '9'; }
static bool isHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
static int hexValue(char c) { return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

TParser::TParser(TStream& stream) : TParser(stream.ReadRest()) {}

TParser::TParser(std::string text) : text_(std::move(text)) {
  if (text_.size() >= 3 && text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
  NextToken();
}

void TParser::Error(const std::string& message) const {
  throw EParserError(format(msg::ParseError, {message, std::to_string(tokenLine_)}));
}

void TParser::skipBlanks() {
  while (pos_ < text_.size()) {
    char c = text_[pos_];
    if (c == '\n') {
      ++line_;
    } else if (c == '\r') {
      if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
      ++line_;
    } else if (uint8_t(c) > ' ') {
      return;
    }
    ++pos_;
  }
}

char TParser::NextToken() {
  skipBlanks();
  tokenLine_ = line_;
  tokenString_.clear();
  floatType_ = 0;
  if (pos_ >= text_.size()) return token_ = toEOF;
  char c = text_[pos_];
  if (isIdentStart(c)) {
    size_t start = pos_;
    while (pos_ < text_.size() && isIdentChar(text_[pos_])) ++pos_;
    tokenString_ = text_.substr(start, pos_ - start);
    return token_ = toSymbol;
  }
  if (c == '\'' || c == '#') {
    readString();
    return token_;
  }
  if (c == '$' || isDigit(c) || (c == '-' && pos_ + 1 < text_.size() && (isDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$'))) {
    readNumber();
    return token_;
  }
  ++pos_;
  tokenString_ = std::string(1, c);
  return token_ = c;
}

void TParser::readString() {
  std::string s;
  bool wide = false;
  for (;;) {
    if (pos_ >= text_.size()) break;
    char c = text_[pos_];
    if (c == '\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n') Error(msg::InvalidString);
        char d = text_[pos_++];
        if (d == '\'') {
          if (pos_ < text_.size() && text_[pos_] == '\'') {
            s += '\'';
            ++pos_;
            continue;
          }
          break;
        }
        s += d;
      }
    } else if (c == '#') {
      ++pos_;
      uint32_t code = 0;
      bool any = false;
      if (pos_ < text_.size() && text_[pos_] == '$') {
        ++pos_;
        while (pos_ < text_.size() && isHex(text_[pos_])) {
          code = code * 16 + uint32_t(hexValue(text_[pos_++]));
          any = true;
          if (code > 0x10FFFF) Error(msg::InvalidString);
        }
      } else {
        while (pos_ < text_.size() && isDigit(text_[pos_])) {
          code = code * 10 + uint32_t(text_[pos_++] - '0');
          any = true;
          if (code > 0x10FFFF) Error(msg::InvalidString);
        }
      }
      if (!any) Error(msg::InvalidString);
      if (code < 0x80) {
        s += char(code);
      } else {
        // Codes above ASCII are characters, kept as UTF-8; the string is then a wide string.
        wide = true;
        rt::utf8::append(s, code);
      }
    } else {
      break;
    }
  }
  tokenString_ = std::move(s);
  token_ = wide ? toWString : toString;
}

void TParser::readNumber() {
  size_t start = pos_;
  bool negative = false;
  if (text_[pos_] == '-') {
    negative = true;
    ++pos_;
  }
  if (pos_ < text_.size() && text_[pos_] == '$') {
    ++pos_;
    size_t digits = pos_;
    uint64_t v = 0;
    while (pos_ < text_.size() && isHex(text_[pos_])) {
      if (pos_ - digits >= 16) Error(msg::InvalidNumber);
      v = v * 16 + uint64_t(hexValue(text_[pos_++]));
    }
    if (pos_ == digits) Error(msg::InvalidNumber);
    // Up to eight digits are a 32-bit pattern ($FFFFFFFF is -1), as the writer's colours are.
    int64_t value = pos_ - digits <= 8 ? int64_t(int32_t(uint32_t(v))) : int64_t(v);
    tokenInt_ = negative ? -value : value;
    tokenString_ = text_.substr(start, pos_ - start);
    token_ = toInteger;
    return;
  }
  while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
  bool isFloat = false;
  if (pos_ + 1 < text_.size() && text_[pos_] == '.' && isDigit(text_[pos_ + 1])) {
    isFloat = true;
    ++pos_;
    while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
  }
  if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
    size_t e = pos_ + 1;
    if (e < text_.size() && (text_[e] == '+' || text_[e] == '-')) ++e;
    if (e < text_.size() && isDigit(text_[e])) {
      isFloat = true;
      pos_ = e;
      while (pos_ < text_.size() && isDigit(text_[pos_])) ++pos_;
    }
  }
  tokenString_ = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) {
    char s = char(text_[pos_] | 0x20);
    if ((s == 's' || s == 'c' || s == 'd') && (pos_ + 1 >= text_.size() || !isIdentChar(text_[pos_ + 1]))) {
      isFloat = true;
      floatType_ = s;
      ++pos_;
    }
  }
  if (isFloat) {
    if (!rt::TryStrToFloat(tokenString_, tokenFloat_)) Error(msg::InvalidNumber);
    token_ = toFloat;
  } else {
    int64_t v;
    auto r = std::from_chars(tokenString_.data(), tokenString_.data() + tokenString_.size(), v);
    if (r.ec != std::errc() || r.ptr != tokenString_.data() + tokenString_.size()) Error(msg::InvalidNumber);
    tokenInt_ = v;
    tokenFloat_ = double(v);
    token_ = toInteger;
  }
}

bool TParser::TokenSymbolIs(const char* symbol) const {
  return token_ == toSymbol && rt::sameText(tokenString_, symbol);
}

void TParser::CheckToken(char t) {
  if (token_ == t) return;
  switch (t) {
    case toSymbol: Error(msg::IdentifierExpected);
    case toString:
    case toWString: Error(msg::StringExpected);
    case toInteger:
    case toFloat: Error(msg::NumberExpected);
    default: Error(format(msg::CharExpected, {std::string(1, t)}));
  }
}

void TParser::CheckTokenSymbol(const char* symbol) {
  if (!TokenSymbolIs(symbol)) Error(format(msg::SymbolExpected, {symbol}));
}

std::string TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  std::string s = tokenString_;
  // Look ahead for ".ident" without consuming a token that is not part of the name.
  for (;;) {
    size_t save = pos_;
    int saveLine = line_;
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      skipBlanks();
      if (pos_ < text_.size() && isIdentStart(text_[pos_])) {
        size_t start = pos_;
        while (pos_ < text_.size() && isIdentChar(text_[pos_])) ++pos_;
        s += '.';
        s += text_.substr(start, pos_ - start);
        continue;
      }
      tokenLine_ = line_;
      Error(msg::IdentifierExpected);
    }
    pos_ = save;
    line_ = saveLine;
    break;
  }
  tokenString_ = s;
  return s;
}

std::string TParser::HexToBinary() {
  CheckToken('{');
  std::string out;
  int half = -1;
  for (;;) {
    if (pos_ >= text_.size()) {
      tokenLine_ = line_;
      Error(msg::InvalidBinary);
    }
    char c = text_[pos_];
    if (c == '}') {
      if (half >= 0) {
        tokenLine_ = line_;
        Error(msg::InvalidBinary);
      }
      ++pos_;
      tokenString_ = "}";
      token_ = '}';
      return out;
    }
    if (c == '\n' || c == '\r' || uint8_t(c) <= ' ') {
      skipBlanks();
      continue;
    }
    if (!isHex(c)) {
      tokenLine_ = line_;
      Error(msg::InvalidBinary);
    }
    ++pos_;
    if (half < 0) {
      half = hexValue(c);
    } else {
      out += char(half * 16 + hexValue(c));
      half = -1;
    }
  }
}

}  // namespace fw
