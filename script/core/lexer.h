// The lexer: turns script source text into tokens for the parser.
//
// Source text is UTF-8 bytes, read one character at a time through a small character reader (a
// character is one UTF-8 sequence; a byte that starts none counts as one character). All syntax is
// ASCII, so characters outside ASCII only matter inside string and regular-expression literals,
// where their bytes are kept as they are; anywhere else they are skipped like blanks.
//
// Text pasted in by an `import name.*;` is read as a nested source: its lines count from 1, and
// when it is used up the lexer returns to the text after the import with that text's own line count.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Token codes. Keywords come first, in the order of their codes; operator tokens carry the operator
// character in TJLex::TokenOp().
enum TJToken : int32_t {
  tkNone = 0,
  tkVar = 257,
  tkFunction = 258,
  tkIf = 260,
  tkElse = 261,
  tkWhile = 262,
  tkFor = 263,
  tkContinue = 264,
  tkBreak = 265,
  tkReturn = 266,
  tkWith = 267,
  tkThis = 268,
  tkNull = 269,
  tkTrue = 270,
  tkFalse = 271,
  tkNew = 272,
  tkDelete = 273,
  tkVoid = 274,
  tkTypeof = 275,
  tkTry = 276,
  tkCatch = 277,
  tkFinally = 278,
  tkThrow = 279,
  tkUndefined = 280,
  tkInfinity = 281,
  tkIn = 282,
  tkCase = 283,
  tkClass = 284,
  tkConst = 285,
  tkDebugger = 286,
  tkDo = 287,
  tkEnum = 288,
  tkExport = 289,
  tkExtends = 290,
  tkImport = 291,
  tkSuper = 292,
  tkSwitch = 293,
  tkString = 294,
  tkIdentifier = 295,
  tkInteger = 296,
  tkFloat = 297,
  tkLParen = 299,
  tkRParen = 300,
  tkLBrace = 301,
  tkRBrace = 302,
  tkLBracket = 303,
  tkRBracket = 304,
  tkSemicolon = 305,
  tkComma = 306,
  tkAdditive = 308,        // + 43, - 45
  tkShift = 309,           // << 60, >> 62, >>> 51
  tkMultiplicative = 310,  // * 42, / 47, % 37
  tkRelational = 311,      // < 60, > 62, <= 40, >= 41
  tkEquality = 312,        // == 61, != 33, === 51, !== 50
  tkCompoundAssign = 313,  // += 43 -= 45 *= 42 /= 47 %= 37 &= 38 |= 124 ^= 94 <<= 60 >>= 62 >>>= 51
  tkIncDec = 314,          // ++ 43, -- 45
  tkUnaryOp = 315,         // ! 33, ~ 126
  tkAssign = 316,
  tkQuestion = 317,
  tkColon = 318,
  tkOrOr = 319,
  tkAndAnd = 320,
  tkBitOr = 321,
  tkBitXor = 322,
  tkBitAnd = 323,
  tkDot = 324,
  tkRegExp = 325,  // text: pattern, NUL, flags
  tkDefault = 326,
  tkAt = 327,
  tkStatic = 328,
  tkGlobal = 329,
  tkNaN = 502,  // the word NaN, or a number whose text converts to nothing
};

// The operator characters of the combined operators.
enum : int32_t {
  opLessEqual = 40,     // <=
  opGreaterEqual = 41,  // >=
  opNotStrict = 50,     // !==
  opTriple = 51,        // === and >>> (and >>>=)
};

class TJLex {
 public:
  TJLex() = default;

  // Line 1, nothing to read, no token.
  void Reset();
  // Resets and takes `text` as the source. `name` names the source (a file name, or empty text).
  void SetText(std::string text, std::string name = {});
  // Resets and takes `text` followed by `tail` as the source, read as if `previous` had been the
  // token before it (it decides, for one, whether a leading "/" divides or begins a regular
  // expression).
  void SetTextAfter(std::string_view text, std::string_view tail, int32_t previous);
  // Reads `text` before the rest of the current source: a pasted file. Its lines count from 1.
  void InsertText(std::string text, std::string name = {});
  // Names of the sources being read, outermost first (the pasted files still open).
  std::vector<std::string> OpenSources() const;

  // Reads the next token; false when the text ends without one.
  bool NextToken();

  int32_t Token() const { return token_; }
  int32_t PrevToken() const { return prevToken_; }
  // The characters of the token (for string and regular-expression literals the folded contents).
  const std::string& TokenText() const { return text_; }
  int32_t TokenOp() const { return op_; }
  int32_t TokenInt() const { return int_; }
  double TokenDouble() const { return double_; }
  // The line the current token starts on (at the end of the text: the last line).
  int TokenLine() const { return tokenLine_; }
  // The line of the next unread character.
  int Line() const { return line_; }
  bool AtEnd() const;
  // The last read ran into the end of its text inside a string or regular-expression literal; the
  // characters read so far are the token text.
  bool Unterminated() const { return unterminated_; }

  // Token trace: "<code>( <text> )" for every token read.
  std::function<void(const std::string&)> OnDebugout;

 private:
  static constexpr char32_t kEnd = 0xFFFFFFFF;

  struct Source {
    std::string text;
    std::string name;
    size_t pos = 0;
    int resumeLine = 1;  // the line of the enclosing source to go back to
  };

  void ResetState();  // Reset but for the sources
  char32_t Get();
  void Unget();
  // Appends the bytes of the character just read to the token text.
  void TakeLast();
  // Notes the byte length of a character just read (0: a read at the end).
  void Remember(size_t length);
  // Reads `count` ASCII characters (no line end among them) of the current source at once.
  void Skip(size_t count);
  bool Match(char32_t c);  // reads c if it comes next
  void LeaveFinishedSources();

  void ReadOperator();
  void ReadString();
  void ReadRegExp();
  void ReadIdentifier();
  void ReadNumber();
  void SetNameToken();  // the token of the name in the token text: a keyword or an identifier
  void SetNumberToken(bool isFloat, bool isHex);  // the number in the token text
  void SkipLineComment();
  void SkipBlockComment();
  void SetOp(int32_t token, int32_t op) { token_ = token; op_ = op; }

  std::vector<Source> sources_;
  int line_ = 1;
  // Byte lengths of the last characters read (0: a read at the end), for un-reading: a ring of
  // four, the next entry at historyNext_ % 4.
  uint8_t history_[4] = {};
  unsigned historyNext_ = 0;
  unsigned historyCount_ = 0;

  int32_t token_ = 0;
  int32_t prevToken_ = 0;
  std::string text_;
  int32_t op_ = 0;
  int32_t int_ = 0;
  double double_ = 0;
  int tokenLine_ = 1;
  bool unterminated_ = false;
};

// True for the tokens after which "/" divides (a value ends there); anywhere else it starts a
// regular-expression literal.
bool EndsOperand(int32_t token);

}  // namespace engine
