#include "script/core/parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "script/core/exceptions.h"
#include "tests/script/core/tree_dump.h"

using namespace engine;

namespace {

// The program's statements as S-expressions, or "error: <message> @<line>" for a syntax error.
std::string ParseText(TJParser& parser, const std::string& source, bool lines = false) {
  parser.Source = source;
  try {
    if (!parser.Parse()) return "<nothing>";
    return DumpStatements(parser.Root()->First, lines);
  } catch (const EJSyntaxError& e) {
    return "error: " + e.message() + " @" + std::to_string(e.Line);
  } catch (const EJThrow& e) {
    return "exception: " + e.ErrorType + " => " + e.message();
  }
}

std::string ParseText(const std::string& source, bool lines = false) {
  TJParser parser;
  return ParseText(parser, source, lines);
}

struct ParseCase {
  const char* source;
  const char* tree;
};

void RunCases(const std::vector<ParseCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(ParseText(c.source), c.tree) << c.source;
}

}  // namespace

TEST(Parser, OperatorPrecedenceAndAssociativity) {
  RunCases({
      {"a + b * c;", "(+ a (* b c))"},
      {"a - b - c;", "(- (- a b) c)"},
      {"a = b = c;", "(= a (= b c))"},
      {"a += b -= 2;", "(+= a (-= b 2))"},
      {"a || b && c | d ^ e & f;", "(|| a (&& b (| c (^ d (& e f)))))"},
      {"a == b < c << d + e % f;", "(== a (< b (<< c (+ d (% e f)))))"},
      {"a ? b : c ? d : e;", "(? a b (? c d e))"},
      {"a, b = 1, c;", "(, (, a (= b 1)) c)"},
      {"x = a !== b === c != d;", "(= x (!= (=== (!== a b) c) d))"},
      {"a <= b >= c > d;", "(> (>= (<= a b) c) d)"},
      {"a >> b >>> c;", "(>>> (>> a b) c)"},
      {"a / b;", "(/ a b)"},
      {"x *= 2; x /= 2; x %= 2; x <<= 1; x >>= 1; x >>>= 1; x &= 1; x |= 1; x ^= 1;",
       "(*= x 2) (/= x 2) (%= x 2) (<<= x 1) (>>= x 1) (>>>= x 1) (&= x 1) (|= x 1) (^= x 1)"},
      {"(a + b) * c;", "(* (+ a b) c)"},
      // Looser operators after tighter ones, and tighter ones inside a looser right operand.
      {"a * b + c << d < e == f & g ^ h | i && j || k;",
       "(|| (&& (| (^ (& (== (< (<< (+ (* a b) c) d) e) f) g) h) i) j) k)"},
      {"a + b * c - d / e % f;", "(- (+ a (* b c)) (% (/ d e) f))"},
      {"a || b * c && d - e == f;", "(|| a (&& (* b c) (== (- d e) f)))"},
      {"a & b == c | d;", "(| (& a (== b c)) d)"},
  });
}

TEST(Parser, UnaryAndPostfixForms) {
  RunCases({
      {"-a; +a; !a; ~a;", "(u- a) (u+ a) (! a) (~ a)"},
      {"++a; --a; a++; a--;", "(pre++ a) (pre-- a) (post++ a) (post-- a)"},
      {"- -a;", "(u- (u- a))"},
      {"f(1, 2)(3);", "(call (call f 1 2) 3)"},
      {"a[1]; a[1, 2]; a(1];", "(call a 1) (call a 1 2) (call a 1)"},
      {"o.p; o.p.q;", "(. o p) (. (. o p) q)"},
      {"o.m(1); o.m[2]; o.m();", "(method o m 1) (method o m 2) (method o m)"},
      {"o.if; o.new(1);", "(. o if) (method o new 1)"},
      {"o.p++;", "(post++ (. o p))"},
      {"f().g;", "(. (call f) g)"},
  });
}

TEST(Parser, PrimaryExpressions) {
  RunCases({
      {"x = 'a'; y = 1.5; z = null; t = true; f = false; n = NaN;",
       "(= x \"a\") (= y 1.5d) (= z null) (= t true) (= f false) (= n NaN)"},
      {"r = /ab+/gi;", "(= r /ab+/gi)"},
      {"a = [1, b, 'c'];", "(= a (array 1 b \"c\"))"},
      {"a = []; b = [5];", "(= a (array)) (= b (array 5))"},
      {"o = {a: 1, 'b': 2, 3: x, c};", "(= o (object (prop a 1) (prop \"b\" 2) (prop 3 x) (prop c -)))"},
      {"o = {};", "(= o (object))"},
      {"x = new Foo; y = new Bar(1, 2);", "(= x (new Foo)) (= y (new Bar 1 2))"},
      {"new Foo().go();", "(method (new Foo) go)"},
      {"this.x = super.y;", "(= (. this x) (super. y))"},
      {"super;", "this"},
      {"typeof a + 1;", "(typeof (+ a 1))"},
      {"typeof(a) + 1;", "(+ (typeof a) 1)"},
      {"void 0; delete o.x;", "(void 0) (delete (. o x))"},
      {"f = function(a, b) { return a; };", "(= f (function - (a b) (return a)))"},
      {"g = function h() {};", "(= g (= h (function h ())))"},
      {"x = function() { return arguments; };", "(= x (function - () uses-arguments (return arguments)))"},
  });
}

TEST(Parser, ConstantsFoldAsTheyAreBuilt) {
  RunCases({
      {"x = 1 + 2 * 3;", "(= x 7d)"},
      {"x = -5;", "(= x -5)"},
      {"x = -1.5;", "(= x -1.5d)"},
      {"x = 'a' + 1;", "(= x \"a1\")"},
      {"x = 7 % 2 | 8;", "(= x 9)"},
      {"x = 1 < 2;", "(= x true)"},
      {"x = 1 == '1' && 0 || 2;", "(= x true)"},
      {"x = ~0;", "(= x -1)"},
      {"x = 1 / 0;", "(= x inf)"},
      {"x = a + 1 + 2;", "(= x (+ (+ a 1) 2))"},
      {"x = !true;", "(= x (! true))"},
      {"x = NaN + 1;", "exception: ETypeError => vtNaN - vtInteger"},
  });
}

TEST(Parser, Statements) {
  RunCases({
      {";", ";"},
      {"{ a; b; }", "(block a b)"},
      {"{}", "(block)"},
      {"if (a) b; else c;", "(if a b c)"},
      {"if (a) { b; }", "(if a (block b))"},
      {"if (a) if (b) c; else d;", "(if a (if b c d))"},
      {"while (a) b;", "(while a b)"},
      {"do a; while (b);", "(do a b)"},
      {"for (i = 0; i < 3; i++) x;", "(for (= i 0) (< i 3) (post++ i) x)"},
      {"for (;;) break;", "(for - - - break)"},
      {"for (var i = 0, j = 1; ; ) continue;", "(for (var (, (= i 0) (= j 1))) - - continue)"},
      {"for (k in o) x;", "(for-in k o x)"},
      {"for (var k in o.list) x;", "(for-in (var k) (. o list) x)"},
      {"return; return a + 1;", "(return) (return (+ a 1))"},
      {"throw; throw 'x';", "(throw) (throw \"x\")"},
      {"var a, b = 1; static s; global g = 2;", "(var a (b = 1)) (static s) (global (g = 2))"},
      {"with (o) { x; }", "(with o (block x))"},
      {"try { a; } catch (e) { b; }", "(try (block a) (catch e (block b)))"},
      {"try a; catch () b; finally c;", "(try a (catch - b) (finally c))"},
      {"try a; catch b;", "(try a (catch - b))"},
      {"try a; finally c;", "(try a (finally c))"},
      {"switch (x) { case 1: a; b; case 2: default: c; }",
       "(switch x (case 1 a b) (case 2) (default c))"},
      {"function f(a, b) { return a + b; }", "(function f (a b) (return (+ a b)))"},
      {"function () {}", "(function - ())"},
  });
}

TEST(Parser, BreakAndContinueTakeTheirSemicolon) {
  RunCases({
      {"while (a) { if (c) break; else d; }", "(while a (block (if c break d)))"},
      {"while (a) if (c) continue; else d;", "(while a (if c continue d))"},
      {"do { a; } while (b); c;", "(do (block a) b) c"},
  });
}

TEST(Parser, Classes) {
  RunCases({
      {"class A { var x = 1, y; z; w = 2; function A(v) { x = v; } static s; global g; }",
       "(class A - (var (x = 1) y) z (w = 2) (function A (v) (= x v)) (static s) (global g))"},
      {"class B extends A { }", "(class B A)"},
      {"class C(A) { function m() {} }", "(class C A (function m ()))"},
      {"class D { }\nnew D;", "(class D -) (new D)"},
  });
}

TEST(Parser, Directives) {
  RunCases({
      {"@set @VERSION7 = true; for (x in a) ;", "; ; (for-in-values x a ;)"},
      {"@set @VERSION7 = 0\nfor (x in a) ;", "; (for-in x a ;)"},
      {"a || b; @set @SHORT_CIRCUIT = 0\na || b; a && b;", "(|| a b) ; (||both a b) (&&both a b)"},
      {"@set @SHORT_CIRCUIT = 1\na && b;", "; (&& a b)"},
      {"@set @X = 'text'", "error: Text(  ) @1"},
      {"@get @X = 1", "error: Text( get ) @1"},
  });
}

TEST(Parser, StatementLinesAreTheirFirstTokenLine) {
  TJParser parser;
  EXPECT_EQ(ParseText(parser, "a;\nif (b)\n{\n  c;\n}\nelse\n  d;\n\nvar x\n = 1,\n y;", true),
            "a@1 (if b (block c@4)@3 d@7)@2 (var (x = 1)@9 y@11)@9");
  EXPECT_EQ(ParseText(parser, "a;\r\nb;\r\n\r\nc;", true), "a@1 b@2 c@4");
  EXPECT_EQ(ParseText(parser, "function f()\n{\n return 1;\n}\nx;", true), "(function f () (return 1)@3)@1 x@5");
}

TEST(Parser, SyntaxErrorTextsAndLines) {
  struct Case {
    const char* source;
    const char* error;
  };
  const Case cases[] = {
      {"if a then b;", "error: Text( a ) @1"},
      {"x = 1;\ntry { a; }\nb;", "error: not found catch-statement: Text( b ) @3"},
      {"x = 1", "error: Text(  ) @1"},
      {"x = (1;", "error: Text( ; ) @1"},
      {"a;\n\nb c;", "error: Text( c ) @3"},
      {"a;\r\n\r\nb c;", "error: Text( c ) @3"},
      {"switch (x) { }", "error: Text( } ) @1"},
      {"switch (x) { default: a; default: b; }", "error: Text( default ) @1"},
      {"var 1;", "error: Text( 1 ) @1"},
      {"x = [1,,2];", "error: Text( , ) @1"},
      {"o = {class: 1};", "error: Text( class ) @1"},
      {"undefined;", "error: Text( undefined ) @1"},
      {"const x = 1;", "error: Text( const ) @1"},
      {"x = 'abc", "error: Text( abc ) @1"},
      {"x = /abc", "error: Text( abc ) @1"},
      {"{ class A {} }", "error: Text( class ) @1"},
      {"function f() { import x; }", "error: Text( import ) @1"},
      {"for (x in ) a;", "error: Text( ) ) @1"},
      {"a\n++b;", "error: Text( b ) @2"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseText(c.source), c.error) << c.source;
}

TEST(Parser, ATokenThatBeginsNoStatementIsAnErrorEvenAtTopLevel) {
  EXPECT_EQ(ParseText("a;\n}\nb;"), "error: Text( } ) @2");
  EXPECT_EQ(ParseText("}"), "error: Text( } ) @1");
  EXPECT_EQ(ParseText("a; else b;"), "error: Text( else ) @1");
  EXPECT_EQ(ParseText(""), "<nothing>");
  EXPECT_EQ(ParseText("  // only a comment\n"), "<nothing>");
}

TEST(Parser, DeepNestingIsASyntaxErrorNotACrash) {
  const int deep = 100000;
  EXPECT_EQ(ParseText("x = " + std::string(deep, '(') + "1" + std::string(deep, ')') + ";").rfind("error: too deeply nested", 0), 0u);
  EXPECT_EQ(ParseText("x = " + std::string(deep, '[') + std::string(deep, ']') + ";").rfind("error: too deeply nested", 0), 0u);
  EXPECT_EQ(ParseText(std::string(deep, '{') + std::string(deep, '}')).rfind("error: too deeply nested", 0), 0u);
  EXPECT_EQ(ParseText("x = " + std::string(deep, '-') + "y;").rfind("error: too deeply nested", 0), 0u);
  std::string chain = "x = a";
  for (int i = 0; i < deep; ++i) chain += "+a";
  EXPECT_EQ(ParseText(chain + ";").rfind("error: too deeply nested", 0), 0u);
  std::string ifs;
  for (int i = 0; i < deep; ++i) ifs += "if (a) ";
  EXPECT_EQ(ParseText(ifs + "b;").rfind("error: too deeply nested", 0), 0u);
  // Ordinary depths parse.
  EXPECT_EQ(ParseText("x = " + std::string(200, '(') + "1" + std::string(200, ')') + ";"), "(= x 1)");
}

TEST(Parser, CodeStringsBecomeFunctionExpressionsInTreesOfTheirOwn) {
  TJParser parser;
  parser.Source = "a;";
  ASSERT_TRUE(parser.Parse());
  TJExpr* e = nullptr;
  std::unique_ptr<TJSyntaxTree> tree = parser.ParseCode("x + 1", e);
  ASSERT_TRUE(tree);
  EXPECT_EQ(DumpExpr(e), "(function - () (return (+ x 1)))");
  EXPECT_EQ(e->Func->Third, nullptr);
  EXPECT_TRUE(e->Func->Flags & sfCodeString);
  // Functions inside the code are marked as the code's own.
  TJExpr* nested = nullptr;
  std::unique_ptr<TJSyntaxTree> second = parser.ParseCode("function (a) { return a; }", nested);
  int marked = 0;
  second->Statements.ForEach([&](TJStatement& s) { marked += (s.Flags & sfCodeString) != 0; });
  EXPECT_EQ(marked, 2);
  tree.reset();  // the first code's tree goes; the second and the program stay
  EXPECT_EQ(DumpExpr(nested), "(function - () (return (function - (a) (return a))))");
  EXPECT_EQ(DumpExpr(parser.ParseCode("", e).get() ? e : nullptr), "(function - () (return))");
  EXPECT_THROW(parser.ParseCode("1 +", e), EJSyntaxError);
  EXPECT_THROW(parser.ParseCode("1 ;}; evil(); function(){", e), EJSyntaxError);
  EXPECT_THROW(parser.ParseCode("var x = 1", e), EJSyntaxError);
  // The program's tree is still there, and takes no records of the codes.
  EXPECT_EQ(DumpStatements(parser.Root()->First), "a");
  EXPECT_EQ(parser.Statements().Count(), 2u);
}

namespace {

// A code string's function with statement lines, or "error: <message> @<line>".
std::string CodeText(TJParser& parser, const std::string& text) {
  try {
    TJExpr* e = nullptr;
    std::unique_ptr<TJSyntaxTree> tree = parser.ParseCode(text, e);
    return DumpStatements(e->Func, true);
  } catch (const EJSyntaxError& e) {
    return "error: " + e.message() + " @" + std::to_string(e.Line);
  }
}

}  // namespace

// A code string is read as "function(){return T ;}": untraced, the opening is taken as read, and
// the result must be what reading the whole text gives (a traced parse reads it, tokens and all).
TEST(Parser, CodeStringsGiveWhatTheirWholeWrappedTextGives) {
  const std::string deep = std::string(998, '(') + "1" + std::string(998, ')');
  const std::string tooDeep = std::string(999, '(') + "1" + std::string(999, ')');
  const std::vector<std::string> texts = {
      "1 + 2 * x", "", "  ", "\n\nx +\n y", "/a+/g.test(s)", "a / b / c", "x; y = 2; z",
      "1 ;} x", "}", ")", ";", "1 +", "x = ", "'abc", "\n'abc", "/abc", "var x = 1", "return 5",
      "function (a, b) { return a + b; }", "function f(a) {\n return arguments.length + a;\n}",
      "(function (n) { return n; })(3)", "a ? b : c", "o.$&", "{a: 1}", "[1, 2", "@set @X = 1",
      "x\n++y", "1 ;}; evil(); function(){", "class A {}", deep, tooDeep,
  };
  std::vector<std::string> traced;
  for (const std::string& text : texts) {
    TJParser direct;
    TJParser reference;
    reference.Lexer().OnDebugout = [&](const std::string& token) { traced.push_back(token); };
    EXPECT_EQ(CodeText(direct, text), CodeText(reference, text)) << text;
  }
  // The reference did read the opening: the trace starts with "function".
  ASSERT_FALSE(traced.empty());
  EXPECT_EQ(traced.front(), "258( function )");
  // Results as a script sees them.
  TJParser parser;
  EXPECT_EQ(CodeText(parser, "\n1 +"), "error: Text( ; ) @2");
  EXPECT_EQ(CodeText(parser, "/b/"), "(function - () (return /b/)@1)@1");
  EXPECT_EQ(CodeText(parser, "a;\nb;"), "(function - () (return a)@1 b@2 ;@2)@1");
  EXPECT_EQ(CodeText(parser, deep), "(function - () (return 1)@1)@1");
  EXPECT_EQ(CodeText(parser, tooDeep).rfind("error: too deeply nested", 0), 0u);
}

// Import files live in a scratch folder made for each test.
class ParserImport : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("parser_import_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "lib");
    parser_.LibraryPath().push_back((dir_ / "lib").string());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& relative, const std::string& text) {
    std::ofstream(dir_ / relative, std::ios::binary) << text;
  }
  std::filesystem::path dir_;
  TJParser parser_;
};

TEST_F(ParserImport, ModuleImportsStandWhereTheImportStood) {
  Write("lib/util.brs", "var x = 1;\nfunction f() {}\n");
  EXPECT_EQ(ParseText(parser_, "a;\nimport util;\nb;", true),
            "a@1 (module util (var (x = 1)@1)@1 (function f ())@2)@1 b@3");
}

TEST_F(ParserImport, PastedTextIsReadInPlaceWithItsOwnLines) {
  Write("lib/part.brs", "p;\n\nq;");
  EXPECT_EQ(ParseText(parser_, "a;\nimport part.*;\nb;", true), "a@1 ;@2 p@1 q@3 b@3");
}

TEST_F(ParserImport, PastedTextSharesDirectivesButModulesHaveTheirOwn) {
  Write("lib/short.brs", "@set @SHORT_CIRCUIT = 0\n");
  Write("lib/mod.brs", "a || b;\n");
  EXPECT_EQ(ParseText(parser_, "import short.*; a || b; import mod;"),
            "; ; (||both a b) (module mod (|| a b))");
}

TEST_F(ParserImport, FindsFilesByExactNameThenIgnoringCase) {
  Write("lib/Tools.brs", "t;");
  std::string path;
  EXPECT_TRUE(parser_.FindImportFile("tools.brs", path));
  EXPECT_EQ(path, (dir_ / "lib" / "Tools.brs").string());
  EXPECT_FALSE(parser_.FindImportFile("missing.brs", path));
  Write("here.brs", "h;");
  EXPECT_TRUE(parser_.FindImportFile((dir_ / "here.brs").string(), path));
  EXPECT_EQ(ParseText(parser_, "import tools;"), "(module tools t)");
}

TEST_F(ParserImport, ImportErrors) {
  Write("lib/bad.brs", "ok;\nx = ;\n");
  Write("lib/self.brs", "import self.*;\n");
  Write("lib/ping.brs", "import pong;\n");
  Write("lib/pong.brs", "import ping;\n");
  Write("lib/loop.brs", "import loop;\n");
  EXPECT_EQ(ParseText(parser_, "import lib;"), "error: file not found: lib.brs: Text( ; ) @1");
  EXPECT_EQ(ParseText(parser_, "\nimport nope.*;"), "error: file not found: nope.brs: Text( ; ) @2");
  EXPECT_EQ(ParseText(parser_, "import bad;"), "error: Text( ; ) @2");
  EXPECT_EQ(ParseText(parser_, "import self.*;"), "error: circular import: self.brs: Text( ; ) @1");
  EXPECT_EQ(ParseText(parser_, "import ping;"), "error: circular import: ping.brs: Text( ; ) @1");
  EXPECT_EQ(ParseText(parser_, "import loop;"), "error: circular import: loop.brs: Text( ; ) @1");
  EXPECT_EQ(ParseText(parser_, "import util x;"), "error: Text( x ) @1");
  EXPECT_EQ(ParseText(parser_, "import util.y;"), "error: Text( y ) @1");
}

TEST_F(ParserImport, TheSameFilePastedTwiceInARowIsNoCycle) {
  Write("lib/twice.brs", "t;\n");
  EXPECT_EQ(ParseText(parser_, "import twice.*; import twice.*;"), "; t ; t");
}
