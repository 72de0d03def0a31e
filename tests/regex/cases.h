// The shared case table of the regular-expression tests.
//
// Each row: pattern, modifier letters applied on top of the defaults (as by ReadModifierLetters),
// subject, 1-based character offset for ExecPos, the expected result, and who can judge the row.
// Expected results: "-" for no match, "E<code>" for an ERegExpr, otherwise the whole match and
// each group up to the highest one set, as "position,length" in characters (positions 1-based),
// "." for a group that took no part.
// Rows marked Oracle::Pcre2 are also run through PCRE2 with the options that give it this
// dialect's meaning (dot-all by default, "$" only at the very end, CR/LF line breaks, "\Z" as its
// "\z"); rows marked Oracle::Own hold behaviour PCRE2 does not share.
#pragma once

#include <string_view>

namespace regex_test {

using namespace std::string_view_literals;

enum class Oracle { Pcre2, Own };

struct RegexCase {
  std::string_view pattern;
  std::string_view mods;
  std::string_view subject;
  int offset;
  std::string_view expect;
  Oracle oracle;
};

constexpr auto P = Oracle::Pcre2;
constexpr auto O = Oracle::Own;

// clang-format off
inline constexpr RegexCase kCases[] = {
  // literals, searching, offsets
  {"abc", "", "xxabcxx", 1, "3,3", P},
  {"ab", "", "xxabyab", 1, "3,2", P},
  {"ab", "", "xxabyab", 4, "6,2", P},
  {"ab", "", "xxabyab", 7, "-", P},
  {"a", "", "aaa", 2, "2,1", P},
  {"x*", "", "abc", 4, "4,0", P},
  {"x*", "", "abc", 5, "-", O},
  {"a|ab", "", "ab", 1, "1,1", P},
  {"b", "", "のab", 2, "3,1", P},
  {"の+", "", "xののy", 1, "2,2", P},
  {"aの+", "", "aののの", 1, "1,4", P},
  {"é+", "", "aééb", 1, "2,2", P},
  // any character, lines, anchors
  {"a.c", "", "a\nc", 1, "1,3", P},
  {"a.c", "-s", "a\nc", 1, "-", P},
  {"a.c", "-s", "a\rc", 1, "-", P},
  {"a.c", "-s", "abc", 1, "1,3", P},
  {"a.c", "", "aのc", 1, "1,3", P},
  {".", "", "の", 1, "1,1", P},
  {"^abc$", "", "abc", 1, "1,3", P},
  {"^b", "", "a\nb", 1, "-", P},
  {"^b", "m", "a\nb", 1, "3,1", P},
  {"^b", "m", "a\r\nb", 1, "4,1", P},
  {"^b", "m", "a\rb", 1, "3,1", P},
  {"a$", "", "a\n", 1, "-", P},
  {"a$", "m", "a\nb", 1, "1,1", P},
  {"a$", "m", "a\r\nb", 1, "1,1", P},
  {"^", "m", "a\n", 2, "3,0", P},
  {"^\\n", "m", "a\r\n", 1, "-", O},   // no line start between CR and LF
  {"\\r$", "m", "\r\n", 1, "-", O},    // no line end between CR and LF
  {"a.\\n", "-s", "a\r\n", 1, "-", O},
  {"$", "", "ab", 1, "3,0", P},
  {"^", "", "", 1, "1,0", P},
  {"a\\Z", "", "ba", 1, "2,1", P},
  {"a\\Z", "", "ba\n", 1, "-", P},
  {"\\Aa", "", "ba", 1, "-", P},
  {"\\bfoo\\b", "", "a foo b", 1, "3,3", P},
  {"\\bfoo\\b", "", "afoo b", 1, "-", P},
  {"\\Boo\\B", "", "xfooy", 1, "3,2", P},
  {"\\Boo\\B", "", "foo", 1, "-", P},
  // classes and sets
  {"\\d+", "", "ab123c", 1, "3,3", P},
  {"\\D+", "", "12ab3", 1, "3,2", P},
  {"\\s+", "", "a \t\r\nb", 1, "2,4", P},
  {"\\S+", "", "  ab ", 1, "3,2", P},
  {"\\w+", "", "--a_1--", 1, "3,3", P},
  {"\\w+", "", "aéb", 1, "1,1", P},
  {"\\W+", "", "ab--cd", 1, "3,2", P},
  {"[a-c]+", "", "xxabcd", 1, "3,3", P},
  {"[^a-c]+", "", "abxyzc", 1, "3,3", P},
  {"[\\d_]+", "", "a1_2b", 1, "2,3", P},
  {"[\\s,]+", "", "a , b", 1, "2,3", P},
  {"[]a]+", "", "x]a]", 1, "2,3", P},
  {"[a-]+", "", "x-a-", 1, "2,3", P},
  {"[a\\-z]+", "", "b-az", 1, "2,3", P},
  {"[a-c-e]+", "", "xb-ed", 1, "2,3", P},
  {"[a-\\d]+", "", "xa-1", 1, "2,3", O},
  {"[é-ë]+", "", "xéêëx", 1, "2,3", P},
  {"[^a]+", "", "aのbc", 1, "2,3", P},
  {"[のa]+", "", "xaのy", 1, "2,2", P},
  {"[\\b]", "", "b", 1, "1,1", O},
  {"[\\W\\d]+", "", "ab-1c", 1, "3,2", P},
  // case
  {"abc", "i", "xAbC", 1, "2,3", P},
  {"[a-c]+", "i", "xABCd", 1, "2,3", P},
  {"[^a]", "i", "Ab", 1, "2,1", P},
  {"(a)\\1", "i", "aA", 1, "1,2 1,1", P},
  {"(?i)abc", "", "xABC", 1, "2,3", P},
  {"(a(?i)b)c", "", "aBc", 1, "1,3 1,2", P},
  {"(a(?i)b)c", "", "aBC", 1, "-", P},
  {"(?i)a(?-i)b", "", "AB", 1, "-", P},
  {"(?i)a(?-i)b", "", "Ab", 1, "1,2", P},
  {"(?-s)a.c", "", "a\nc", 1, "-", P},
  {"(?m)^b", "", "a\nb", 1, "3,1", P},
  {"\\w+É", "i", "abcé", 1, "-", O},   // case folding is ASCII only
  // quantifiers
  {"a{2,3}", "", "xaaaa", 1, "2,3", P},
  {"a{2}", "", "aaa", 1, "1,2", P},
  {"a{2,}", "", "aaaa", 1, "1,4", P},
  {"(ab){2}", "", "ababab", 1, "1,4 3,2", P},
  {"(a|b)*c", "", "xxababc", 1, "3,5 6,1", P},
  {"(a|ab)(c|bcd)(d*)", "", "abcd", 1, "1,4 1,1 2,3 5,0", P},
  {"(a|b)+", "", "abab", 1, "1,4 4,1", P},
  {"(a)*", "", "aaa", 1, "1,3 3,1", P},
  {"a+?", "", "aaa", 1, "1,1", P},
  {"a*?b", "", "aab", 1, "1,3", P},
  {"a??b", "", "ab", 1, "1,2", P},
  {"<.+?>", "", "<a><b>", 1, "1,3", P},
  {"<.+>", "", "<a><b>", 1, "1,6", P},
  {"(a+?)(a*)", "", "aaa", 1, "1,3 1,1 2,2", P},
  {"(ab)+?", "", "abab", 1, "1,2 1,2", P},
  {"(ab){1,3}?c", "", "ababc", 1, "1,5 3,2", P},
  {"(ab)*?c", "", "ababc", 1, "1,5 3,2", P},
  {"(ab)??c", "", "abc", 1, "1,3 1,2", P},
  {"a{0,2}?b", "", "aab", 1, "1,3", P},
  {".*b", "", "aのbcb", 1, "1,5", P},
  {".*?b", "", "aのbcb", 1, "1,3", P},
  {"[^x]*の", "", "abのcのd", 1, "1,5", P},
  {"(\\d+)-(\\d+)", "", "tel 12-345", 1, "5,6 5,2 8,3", P},
  {"((ab){2}c){2}", "", "ababcababc", 1, "1,10 6,5 8,2", P},
  {"((a){2,3}b){2}", "", "aabaaab", 1, "1,7 4,4 6,1", P},
  {"((a){1,3}?b){2}", "", "aabab", 1, "1,5 4,2 4,1", P},
  {"(a|ab){2}c", "", "aabc", 1, "1,4 2,2", P},
  {"(?-g)a+", "", "aaa", 1, "1,1", O},
  {"a+", "-g", "aaa", 1, "1,1", O},
  {"a+?", "-g", "aaa", 1, "1,1", O},
  {"(ab)+", "-g", "abab", 1, "1,2 1,2", O},
  {"a{,3}", "", "xa{,3}", 1, "2,5", O},
  {"a{", "", "a{", 1, "1,2", O},
  {"{", "", "x{", 1, "2,1", O},
  {"a{1,2", "", "a{1,2", 1, "1,5", O},
  // groups and back-references
  {"(a)(b)?", "", "ab", 1, "1,2 1,1 2,1", P},
  {"(a)(b)?", "", "ac", 1, "1,1 1,1", P},
  {"(a)|(b)", "", "b", 1, "1,1 . 1,1", P},
  {"((a)(b))c", "", "abc", 1, "1,3 1,2 1,1 2,1", P},
  {"()", "", "x", 1, "1,0 1,0", P},
  {"(a+)b\\1", "", "aabaa", 1, "1,5 1,2", P},
  {"(ab)\\1*c", "", "ababc", 1, "1,5 1,2", P},
  {"(ab)\\1*c", "", "abababc", 1, "1,7 1,2", P},
  {"(ab)\\1??c", "", "ababc", 1, "1,5 1,2", P},
  {"(の)\\1+", "", "xののの", 1, "2,3 2,1", P},
  {"(a|b\\1)+", "", "aba", 1, "1,3 2,2", P},
  {"(a\\1)", "", "aa", 1, "-", P},
  {"(a)\\2", "", "aa", 1, "-", O},
  {"(a*)(\\1)*b", "", "b", 1, "1,1 1,0 1,0", P},   // an empty iteration ends the loop
  {"(a*)(\\1)+b", "", "b", 1, "1,1 1,0 1,0", P},
  {"(a*)(\\1){2,}", "", "x", 1, "1,0 1,0 1,0", P},
  {"(a*)(\\1)*?x", "", "ax", 1, "1,2 1,1", P},
  {"(a*)\\1*x", "", "x", 1, "1,1 1,0", P},
  {"(a*)\\1+?x", "", "x", 1, "1,1 1,0", P},
  {"(a|\\1b)*c", "", "aabc", 1, "1,4 2,2", P},
  {"(^)??b", "", "b", 1, "1,1", P},
  {"(^)??\\1b", "", "b", 1, "1,1 1,0", P},
  // extended syntax
  {"a b c", "x", "abc", 1, "1,3", P},
  {"a#comment\nb", "x", "ab", 1, "1,2", P},
  {"a b*", "x", "abbb", 1, "1,4", P},
  {"(?x) a b", "", "ab", 1, "1,2", P},
  {"[ a]+", "x", "x a", 1, "2,2", P},
  // comments and modifier groups
  {"a(?#note)b", "", "ab", 1, "1,2", P},
  // NUL is an ordinary character
  {"a\0b"sv, "", "xa\0b"sv, 1, "2,3", O},
  {".", "", "\0"sv, 1, "1,1", O},
  {"[^a]", "", "a\0"sv, 1, "2,1", O},
  {"\\x00", "", "a\0"sv, 1, "2,1", O},
  {"b", "", "a\0b"sv, 1, "3,1", O},
  // bytes that start no UTF-8 sequence are characters of their own
  {".", "", "\xFF", 1, "1,1", O},
  {"a.b", "", "a\xE3\x81" "b", 1, "-", O},
  {"a..b", "", "a\xE3\x81" "b", 1, "1,4", O},
  {"\xE3", "", "\xE3\x81\x81\xE3", 1, "2,1", O},   // never the lead byte of a valid character
  {"[\x81]", "", "\xE3\x81\x81\x81", 1, "2,1", O},
  // the empty pattern matches the empty text
  {"", "", "abc", 1, "1,0", O},
  {"", "", "abc", 2, "2,0", O},
  // Cyrillic ranges (modifier r, on by default)
  {"[а-я]+", "", "xёжx", 1, "2,2", O},
  {"[а-я]+", "-r", "xёжx", 1, "3,1", O},
  {"[А-Я]", "", "Ё", 1, "1,1", O},
  {"[а-Я]+", "", "ЁжЖё", 1, "1,4", O},
  {"[а-Я]", "-r", "a", 1, "E109", O},
  // compile errors
  {"x**", "", "", 1, "E107", O},
  {"a*??", "", "", 1, "E107", O},
  {"a{2}{3}", "", "", 1, "E107", O},
  {"*x", "", "", 1, "E115", O},
  {"a|*", "", "", 1, "E115", O},
  {"{2}", "", "", 1, "E115", O},
  {"(?i)*", "", "", 1, "E115", O},
  {"(a*)*", "", "", 1, "E106", O},
  {"(|a)+", "", "", 1, "E106", O},
  {"(a?)+", "", "", 1, "E106", O},
  {"^*", "", "", 1, "E106", O},
  {"\\b+", "", "", 1, "E106", O},
  {"()*", "", "", 1, "E106", O},
  {"(^)?", "", "b", 1, "1,0 1,0", P},
  {"a{3,1}", "", "", 1, "E124", O},
  {"a{123456789}", "", "", 1, "E122", O},
  {"[z-a]", "", "", 1, "E109", O},
  {"[abc", "", "", 1, "E113", O},
  {"\\x{123}", "", "", 1, "E112", O},
  {"\\xZZ", "", "", 1, "E111", O},
  {"\\x{}", "", "", 1, "E111", O},
  {"\\x4", "", "", 1, "E108", O},
  {"\\x{4", "", "", 1, "E108", O},
  {"(", "", "", 1, "E103", O},
  {"(a", "", "", 1, "E103", O},
  {")", "", "", 1, "E104", O},
  {"a)", "", "", 1, "E104", O},
  {"(?#x", "", "", 1, "E125", O},
  {"(?z)", "", "", 1, "E127", O},
  {"(?:a)", "", "", 1, "E127", O},
  {"(?=a)", "", "", 1, "E127", O},
  {"(?i", "", "", 1, "E127", O},
  {"\\", "", "", 1, "E116", O},
  {"a\\", "", "", 1, "E116", O},
  {"[a\\", "", "", 1, "E116", O},
  {"(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)", "", "aaaaaaaaaaaaaa", 1,
   "1,14 1,1 2,1 3,1 4,1 5,1 6,1 7,1 8,1 9,1 10,1 11,1 12,1 13,1 14,1", P},
  {"(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)", "", "", 1, "E102", O},
  // complex loops nest at most ten deep
  {"((((((((((a){1}){1}){1}){1}){1}){1}){1}){1}){1}){1}", "", "a", 1,
   "1,1 1,1 1,1 1,1 1,1 1,1 1,1 1,1 1,1 1,1 1,1", P},
  {"(((((((((((a){1}){1}){1}){1}){1}){1}){1}){1}){1}){1}){1}", "", "a", 1, "E1014", O},
};
// clang-format on

}  // namespace regex_test
