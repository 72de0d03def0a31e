// The tokenizer of form text. Tokens: identifiers, integers (decimal, or "$" and hex digits, with an
// optional "-"), floats (with an optional type suffix s, c or d), strings made of quoted pieces and
// "#n" character codes, and single characters. Errors carry the line: "<message> on line <n>".
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/stream.h"

namespace fw {

class TParser {
 public:
  enum : char { toEOF = 0, toSymbol = 1, toString = 2, toInteger = 3, toFloat = 4, toWString = 5 };

  // Reads the rest of the stream and positions on the first token.
  explicit TParser(TStream& stream);
  explicit TParser(std::string text);

  char Token() const { return token_; }
  char NextToken();
  int SourceLine() const { return tokenLine_; }

  // The token's text: the identifier, the string's content (UTF-8), the number as written.
  const std::string& TokenString() const { return tokenString_; }
  int64_t TokenInt() const { return tokenInt_; }
  double TokenFloat() const { return tokenFloat_; }
  // 's' single, 'c' currency, 'd' date, or 0.
  char FloatType() const { return floatType_; }

  bool TokenSymbolIs(const char* symbol) const;
  void CheckToken(char t);
  void CheckTokenSymbol(const char* symbol);
  // The identifier at the current token and any ".ident" parts after it ("Form1.Button1").
  std::string TokenComponentIdent();
  // At "{": reads hex digit pairs up to "}" and answers the bytes; the current token becomes "}".
  std::string HexToBinary();

  [[noreturn]] void Error(const std::string& message) const;
  [[noreturn]] void ErrorStr(const std::string& message) const { Error(message); }

 private:
  void skipBlanks();
  void readString();
  void readNumber();
  std::string text_;
  size_t pos_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  char token_ = toEOF;
  std::string tokenString_;
  int64_t tokenInt_ = 0;
  double tokenFloat_ = 0;
  char floatType_ = 0;
};

}  // namespace fw
