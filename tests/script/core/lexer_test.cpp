#include "script/core/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace engine;
using namespace std::string_literals;

namespace {

// One token as "<code>:<text>", with ":<op>" for operator tokens and "=<value>" for numbers.
std::string Describe(const TJLex& lex) {
  std::string s = std::to_string(lex.Token()) + ":" + lex.TokenText();
  if (lex.TokenOp()) s += ":" + std::to_string(lex.TokenOp());
  if (lex.Token() == tkInteger) s += "=" + std::to_string(lex.TokenInt());
  if (lex.Token() == tkFloat) s += "=" + std::to_string(lex.TokenDouble());
  return s;
}

std::vector<std::string> Lex(const std::string& source) {
  TJLex lex;
  lex.SetText(source);
  std::vector<std::string> out;
  while (lex.NextToken()) out.push_back(Describe(lex));
  if (lex.Unterminated()) out.push_back("unterminated:" + lex.TokenText());
  return out;
}

using Tokens = std::vector<std::string>;

struct LexCase {
  const char* name;
  std::string source;
  Tokens tokens;
};

void RunCases(const std::vector<LexCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Lex(c.source), c.tokens) << c.name << ": " << c.source;
}

}  // namespace

TEST(Lexer, SlashDividesAfterAnOperandAndStartsARegExpElsewhere) {
  RunCases({
      {"two divisions", "a/b/c", {"295:a", "310:/:47", "295:b", "310:/:47", "295:c"}},
      {"after )", "(x)/2", {"299:(", "295:x", "300:)", "310:/:47", "296:2=2"}},
      {"after ]", "a[1]/2", {"295:a", "303:[", "296:1=1", "304:]", "310:/:47", "296:2=2"}},
      {"divide-assign", "a /= 2", {"295:a", "313:/=:47", "296:2=2"}},
      {"literal after =", "r = /ab+c/gi", {"295:r", "316:=", "325:ab+c\0gi"s}},
      {"literal after this", "this /x/", {"268:this", "325:x\0"s}},
      {"literal after }", "} /x/m", {"302:}", "325:x\0m"s}},
      {"literal at start", "/a\\/b/", {"325:a/b\0"s}},
      {"flags stop at other letters", "/a/gix", {"325:a\0gi"s, "295:x"}},
  });
}

TEST(Lexer, RegExpLiteralsFoldSomeEscapesAndKeepOthers) {
  RunCases({
      {"folded", "/\\n\\t\\r\\f\\b/", {"325:\r\n\t\r\f\b\0"s}},
      {"kept", "/\\d+\\./", {"325:\\d+\\.\0"s}},
      {"multi-byte kept", "/\\é/", {"325:\\é\0"s}},
      {"unterminated", "x = /abc", {"295:x", "316:=", "unterminated:abc"}},
  });
}

TEST(Lexer, StringLiterals) {
  RunCases({
      {"single quotes are raw", "'a\\nb'", {"294:a\\nb"}},
      {"backslash-q drops both", "\"a\\qb\"", {"294:ab"}},
      {"newline is CR LF", "\"a\\nb\"", {"294:a\r\nb"}},
      {"escapes", "\"\\\\\\b\\f\\r\\t\\\"\"", {"294:\\\b\f\r\t\""}},
      {"other quote inside", "\"it's\" '\"'", {"294:it's", "294:\""}},
      {"empty", "\"\"''", {"294:", "294:"}},
      {"UTF-8 kept", "\"霧の灯台\"", {"294:霧の灯台"}},
      {"escaped multi-byte character drops whole", "\"a\\霧b\"", {"294:ab"}},
      {"invalid bytes kept", "\"\xFF\xFE\"", {"294:\xFF\xFE"}},
      {"line break inside", "\"a\nb\"", {"294:a\nb"}},
      {"unterminated", "x \"abc", {"295:x", "unterminated:abc"}},
      {"unterminated after backslash", "\"abc\\", {"unterminated:abc"}},
  });
}

TEST(Lexer, Numbers) {
  RunCases({
      {"decimal", "42", {"296:42=42"}},
      {"leading zero is decimal", "010", {"296:010=10"}},
      {"hex", "0x1F", {"296:0x1F=31"}},
      {"hex fills 32 bits", "0xFFFFFFFF", {"296:0xFFFFFFFF=-1"}},
      {"hex beyond 32 bits", "0x100000000", {"297:0x100000000=4294967296.000000"}},
      {"float", "1.5", {"297:1.5=1.500000"}},
      {"exponent", "1e3 2E-2 3e+1", {"297:1e3=1000.000000", "297:2E-2=0.020000", "297:3e+1=30.000000"}},
      {"dot then letter", "1.e5", {"296:1=1", "324:.", "295:e5"}},
      {"dot then name", "5.toString", {"296:5=5", "324:.", "295:toString"}},
      {"e not followed by digit", "2em", {"296:2=2", "295:em"}},
      {"too big for 32 bits", "12345678901", {"297:12345678901=12345678901.000000"}},
      {"nine and ten digits", "999999999 2147483647 2147483648",
       {"296:999999999=999999999", "296:2147483647=2147483647", "297:2147483648=2147483648.000000"}},
      {"leading zeros past nine digits", "000000000012", {"296:000000000012=12"}},
      {"bigger than 64 bits", "18446744073709551616", {"297:18446744073709551616=18446744073709551616.000000"}},
      {"no digits after 0x", "0x", {"502:0x"}},
      {"hex marker in the middle", "12x5", {"502:12x5"}},
      {"float overflow", "1e999", {"502:1e999"}},
      {"no leading-dot numbers", ".5", {"324:.", "296:5=5"}},
  });
}

TEST(Lexer, Operators) {
  RunCases({
      {"equality", "== != === !==", {"312:==:61", "312:!=:33", "312:===:51", "312:!==:50"}},
      {"relational", "< > <= >=", {"311:<:60", "311:>:62", "311:<=:40", "311:>=:41"}},
      {"shift", "<< >> >>>", {"309:<<:60", "309:>>:62", "309:>>>:51"}},
      {"shift assign", "<<= >>= >>>=", {"313:<<=:60", "313:>>=:62", "313:>>>=:51"}},
      {"compound", "+= -= *= %= &= |= ^=",
       {"313:+=:43", "313:-=:45", "313:*=:42", "313:%=:37", "313:&=:38", "313:|=:124", "313:^=:94"}},
      {"inc dec", "++ --", {"314:++:43", "314:--:45"}},
      {"unary", "! ~", {"315:!:33", "315:~:126"}},
      {"logical and bitwise", "|| && | ^ &", {"319:||", "320:&&", "321:|", "322:^", "323:&"}},
      {"punctuation", "( ) { } [ ] ; , . ? : = @",
       {"299:(", "300:)", "301:{", "302:}", "303:[", "304:]", "305:;", "306:,", "324:.", "317:?",
        "318::", "316:=", "327:@"}},
      {"arithmetic", "+ - * %", {"308:+:43", "308:-:45", "310:*:42", "310:%:37"}},
      {"meaningless characters", "# \\ ` x", {"295:x"}},
      {"longest match", "a+++b", {"295:a", "314:++:43", "308:+:43", "295:b"}},
      // With nothing between them, each operator still takes the longest form it can.
      {"glued", "a<=b>>=c!==d&&e||f|=g",
       {"295:a", "311:<=:40", "295:b", "313:>>=:62", "295:c", "312:!==:50", "295:d", "320:&&",
        "295:e", "319:||", "295:f", "313:|=:124", "295:g"}},
      {"glued punctuation", "f(a,b)[0].c;}",
       {"295:f", "299:(", "295:a", "306:,", "295:b", "300:)", "303:[", "296:0=0", "304:]", "324:.",
        "295:c", "305:;", "302:}"}},
      {"operators ending the text", "a>>", {"295:a", "309:>>:62"}},
      {"one-character operator ending the text", "a!", {"295:a", "315:!:33"}},
      {"compound ending the text", "x-=", {"295:x", "313:-=:45"}},
  });
}

TEST(Lexer, TextReadAsIfAfterAToken) {
  TJLex lex;
  lex.SetTextAfter("/a+/g", "", tkReturn);
  ASSERT_TRUE(lex.NextToken());
  EXPECT_EQ(Describe(lex), "325:a+\0g"s);
  EXPECT_EQ(lex.PrevToken(), tkReturn);
  lex.SetText("x\ny\n", "pasted");
  lex.InsertText("z");
  lex.SetTextAfter("/a/", "2", tkIdentifier);
  std::vector<std::string> out;
  while (lex.NextToken()) out.push_back(Describe(lex));
  EXPECT_EQ(out, (std::vector<std::string>{"310:/:47", "295:a", "310:/:47", "296:2=2"}));
  EXPECT_EQ(lex.TokenLine(), 1);
  // Nothing of the texts before is left open.
  EXPECT_EQ(lex.OpenSources(), (std::vector<std::string>{""}));
}

TEST(Lexer, IdentifiersAndKeywords) {
  RunCases({
      {"keywords", "var function if NaN default static global",
       {"257:var", "258:function", "260:if", "502:NaN", "326:default", "328:static", "329:global"}},
      {"case-sensitive", "Var IF nan", {"295:Var", "295:IF", "295:nan"}},
      {"keyword after dot is a name", "obj.if o.delete o.NaN", {"295:obj", "324:.", "295:if", "295:o", "324:.",
                                                                "295:delete", "295:o", "324:.", "295:NaN"}},
      {"dollar and underscore", "$a _b a$1", {"295:$a", "295:_b", "295:a$1"}},
      {"regexp statics", "RegExp.$& r.$\" r.$* r.$+ r.$` r.$_x",
       {"295:RegExp", "324:.", "295:lastMatch", "295:r", "324:.", "295:rightContext", "295:r", "324:.",
        "295:multiline", "295:r", "324:.", "295:lastParen", "295:r", "324:.", "295:leftContext", "295:r",
        "324:.", "295:input", "295:x"}},
      {"dollar form only after a dot", "$&", {"295:$", "323:&"}},
      {"non-ASCII outside strings is skipped", "a\xE3\x80\x80" "b 名前 c", {"295:a", "295:b", "295:c"}},
      {"byte order mark", "\xEF\xBB\xBFx", {"295:x"}},
  });
}

TEST(Lexer, CommentsAndBlankText) {
  RunCases({
      {"empty", "", {}},
      {"blank", " \t\r\n ", {}},
      {"line comment", "a // b c\nd", {"295:a", "295:d"}},
      {"block comment", "a /* b\n c */ d", {"295:a", "295:d"}},
      {"star slash ends it", "a /*/ b */ c", {"295:a", "295:c"}},
      {"unterminated block comment", "a /* b", {"295:a"}},
  });
}

TEST(Lexer, LinesCountLineFeedsInEveryLineEndStyle) {
  struct Case {
    const char* name;
    std::string source;
    std::vector<int> lines;  // TokenLine of each token
  };
  const Case cases[] = {
      {"LF", "a\nb\n\nc", {1, 2, 4}},
      {"CR LF", "a\r\nb\r\n\r\nc", {1, 2, 4}},
      {"peeked line feed not counted twice", "a\n+\n1\n.\n\"s\"\n=\n/r/\nx", {1, 2, 3, 4, 5, 6, 7, 8}},
      {"number then line feed", "1\n2.5\n3e1\nx", {1, 2, 3, 4}},
      {"string spanning lines", "\"a\nb\" c", {1, 2}},
      {"comments", "a // x\nb /* \n\n */ c", {1, 2, 4}},
  };
  for (const auto& c : cases) {
    TJLex lex;
    lex.SetText(c.source);
    std::vector<int> lines;
    while (lex.NextToken()) lines.push_back(lex.TokenLine());
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

TEST(Lexer, TraceLineForEveryToken) {
  TJLex lex;
  std::vector<std::string> trace;
  lex.OnDebugout = [&](const std::string& s) { trace.push_back(s); };
  lex.SetText("foo = 'x';");
  while (lex.NextToken()) {
  }
  EXPECT_EQ(trace, (std::vector<std::string>{"295( foo )", "316( = )", "294( x )", "305( ; )"}));
}

TEST(Lexer, PreviousTokenIsKept) {
  TJLex lex;
  lex.SetText("a ; // c\n b");
  ASSERT_TRUE(lex.NextToken());
  ASSERT_TRUE(lex.NextToken());
  ASSERT_TRUE(lex.NextToken());
  EXPECT_EQ(lex.Token(), tkIdentifier);
  EXPECT_EQ(lex.PrevToken(), tkSemicolon);
  EXPECT_FALSE(lex.NextToken());
  EXPECT_TRUE(lex.AtEnd());
}

TEST(Lexer, InsertedTextIsReadFirstWithItsOwnLines) {
  TJLex lex;
  lex.SetText("import a.*;\nafter\n", "main");
  std::vector<std::string> seen;
  while (lex.NextToken()) {
    seen.push_back(lex.TokenText() + "@" + std::to_string(lex.TokenLine()));
    if (lex.Token() == tkSemicolon && seen.size() == 5) {
      lex.InsertText("x\r\n\r\ny\r\n", "a.brs");
      EXPECT_EQ(lex.OpenSources(), (std::vector<std::string>{"main", "a.brs"}));
      EXPECT_FALSE(lex.AtEnd());
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"import@1", "a@1", ".@1", "*@1", ";@1", "x@1", "y@3", "after@2"}));
}

// Blanks at the end of a pasted text (or a pasted text of blanks only) lead back to the text
// around it, with its own line count.
TEST(Lexer, InsertedTextEndingInBlanksGoesBackToTheOuterText) {
  TJLex lex;
  lex.SetText("a;\n b ;\tz", "main");
  std::vector<std::string> seen;
  int inserts = 0;
  while (lex.NextToken()) {
    seen.push_back(lex.TokenText() + "@" + std::to_string(lex.TokenLine()));
    if (lex.Token() == tkSemicolon && inserts == 0) {
      lex.InsertText("c \t  ", "pad");
      ++inserts;
    } else if (lex.Token() == tkSemicolon && inserts == 1) {
      lex.InsertText(" \t ", "blank");
      ++inserts;
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"a@1", ";@1", "c@1", "b@2", ";@2", "z@2"}));
  EXPECT_TRUE(lex.AtEnd());
}

TEST(Lexer, InsertedTextCanNest) {
  TJLex lex;
  lex.SetText("a;\nz", "main");
  std::vector<std::string> seen;
  int inserts = 0;
  while (lex.NextToken()) {
    seen.push_back(lex.TokenText() + "@" + std::to_string(lex.TokenLine()));
    if (lex.Token() == tkSemicolon && inserts == 0) {
      lex.InsertText("b;\nc\n", "one");
      ++inserts;
    } else if (lex.Token() == tkSemicolon && inserts == 1) {
      lex.InsertText("\n\nd\n", "two");
      ++inserts;
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"a@1", ";@1", "b@1", ";@1", "d@3", "c@2", "z@2"}));
}
