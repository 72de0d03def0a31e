#include "script/stdlib/text_routines.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rt/utf8.h"

#include "script/stdlib/regexp_object.h"
#include "script/stdlib/string_object.h"

using namespace stdlib;

namespace {

// Two three-byte characters, a stray byte (a character of its own) and an ASCII letter.
const std::string kMixed = "日本\xff" "a";

std::vector<std::string> texts(const engine::TJValueList& list) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < list.Count(); ++i) out.emplace_back(list[i].vString());
  return out;
}

}  // namespace

TEST(TextRoutines, CharacterRoutinesCountUtf8SequencesAndStrayBytes) {
  EXPECT_EQ(MBLength(kMixed), 4);
  EXPECT_EQ(MBLength(""), 0);
  EXPECT_EQ(MBCharAt(kMixed, 2), "本");
  EXPECT_EQ(MBCharAt(kMixed, 3), "\xff");
  EXPECT_EQ(MBCharAt(kMixed, 0), "");
  EXPECT_EQ(MBCharAt(kMixed, 5), "");
  EXPECT_EQ(MBCopy(kMixed, 2, 2), "本\xff");
  EXPECT_EQ(MBCopy(kMixed, -3, 1), "日");   // a start <= 0 counts as 1
  EXPECT_EQ(MBCopy(kMixed, 5, 1), "");
  EXPECT_EQ(MBCopy(kMixed, 1, 0), "");
  EXPECT_EQ(MBCopy(kMixed, 3, 100), "\xff" "a");
  EXPECT_EQ(MBReverse(kMixed), "a\xff" "本日");
  // A truncated sequence at the end is one character per byte, kept in order when reversed.
  EXPECT_EQ(MBReverse("a\xe6\x97"), "\x97\xe6" "a");
  EXPECT_EQ(MBLength("a\xe6\x97"), 3);
}

TEST(TextRoutines, InsertDeleteAndSetCharHoldToTheText) {
  std::string t = "日本語";
  MBInsert("x", t, 2);
  EXPECT_EQ(t, "日x本語");
  MBInsert("<", t, -5);
  EXPECT_EQ(t, "<日x本語");
  MBInsert(">", t, 6);  // one past the last character appends
  EXPECT_EQ(t, "<日x本語>");
  MBInsert("?", t, 8);  // further out: nothing
  EXPECT_EQ(t, "<日x本語>");
  MBDelete(t, 3, 2);
  EXPECT_EQ(t, "<日語>");
  MBDelete(t, 3, 100);
  EXPECT_EQ(t, "<日");
  MBDelete(t, 0, 1);
  MBDelete(t, 1, 0);
  MBDelete(t, 9, 1);
  EXPECT_EQ(t, "<日");
  MBSetCharAt("本語", t, 2);
  EXPECT_EQ(t, "<本語");
  MBSetCharAt("", t, 1);
  EXPECT_EQ(t, "本語");
}

TEST(TextRoutines, SliceCountsNegativePositionsFromTheEnd) {
  const std::string t = "あいうえお";
  EXPECT_EQ(MBSlice(t, 2, 4), "いう");
  EXPECT_EQ(MBSlice(t, -1, 6), "えお");   // 0-based -2
  EXPECT_EQ(MBSlice(t, 1, 0), "あいうえ");  // 0-based end -1
  EXPECT_EQ(MBSlice(t, -10, 3), "あい");   // still <= 0: the first character
  EXPECT_EQ(MBSlice(t, 4, 2), "");
  EXPECT_EQ(MBSlice(t, 6, 9), "");

  std::string s = t;
  MBReplaceSlice("XY", s, 2, 4);
  EXPECT_EQ(s, "あXYえお");
  MBReplaceSlice("", s, -1, 0);  // the last two characters but one: 0-based -2 .. -1
  EXPECT_EQ(s, "あXYお");
  // Ranges outside the text are held to it instead of touching memory before or after it.
  MBReplaceSlice("[", s, -100, 1);
  EXPECT_EQ(s, "[あXYお");
  MBReplaceSlice("]", s, 100, 200);
  EXPECT_EQ(s, "[あXYお]");
  MBReplaceSlice("-", s, 3, 2);  // an end before the start deletes nothing
  EXPECT_EQ(s, "[あ-XYお]");
}

TEST(TextRoutines, SearchesFindWholeCharactersOnly) {
  const std::string t = "あいあいa";
  EXPECT_EQ(MBPos("い", t, 0), 2);
  EXPECT_EQ(MBPos("い", t, -7), 2);  // a start below 2 searches the whole text and adds nothing
  EXPECT_EQ(MBPos("い", t, 3), 4);
  EXPECT_EQ(MBPos("い", t, 5), 0);
  EXPECT_EQ(MBPos("a", t, 5), 5);
  EXPECT_EQ(MBPos("a", t, 6), 0);
  EXPECT_EQ(MBPos("", t, 1), 0);
  EXPECT_EQ(MBLastPos("い", t, 0), 4);
  EXPECT_EQ(MBLastPos("い", t, 3), 2);
  EXPECT_EQ(MBLastPos("い", t, 1), 0);
  EXPECT_EQ(MBLastPos("あい", t, 3), 3);
  EXPECT_EQ(MBLastPos("", t, 0), 0);
  // "い" is E3 81 84; its tail bytes alone, or a byte of it, are characters the text does not have.
  EXPECT_EQ(MBPos("\x81\x84", t, 0), 0);
  EXPECT_EQ(MBLastPos("\xe3", t, 0), 0);
  EXPECT_EQ(MBPos("\xe3", "a\xe3" "b", 0), 2);

  EXPECT_EQ(PosFrom("b", "abcb", 0), 2);
  EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
  EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
  EXPECT_EQ(PosFrom("", "abcb", 0), 0);
  EXPECT_EQ(LastPos("b", "abcb", 0), 4);
  EXPECT_EQ(LastPos("b", "abcb", 3), 2);
  EXPECT_EQ(LastPos("b", "abcb", 9), 4);
  EXPECT_EQ(LastPos("abcbx", "abcb", 0), 0);
}

TEST(TextRoutines, WidthConversionsRoundTripAndJoinVoicedMarks) {
  EXPECT_EQ(MapToFullWidth("Az09 !~\\"), "Ａｚ０９　！～＼");
  EXPECT_EQ(MapToHalfWidth("Ａｚ０９　！～＼"), "Az09 !~\\");
  EXPECT_EQ(MapToFullWidth("ｶﾞﾊﾟﾊﾞﾎﾟｳﾞｱﾞ"), "ガパバポヴア゛");  // ア takes no voiced mark
  EXPECT_EQ(MapToHalfWidth("ガパバポヴア゛"), "ｶﾞﾊﾟﾊﾞﾎﾟｳﾞｱﾞ");
  EXPECT_EQ(MapToFullWidth("｡｢｣､･ｦｧｯｰﾝ"), "。「」、・ヲァッーン");
  EXPECT_EQ(MapToHalfWidth("。「」、・ヲァッーン"), "｡｢｣､･ｦｧｯｰﾝ");
  EXPECT_EQ(MapToFullWidth("¥"), "￥");
  // Every half-width katakana survives the round trip.
  for (char32_t c = 0xFF61; c <= 0xFF9F; ++c) {
    std::string half;
    rt::utf8::append(half, c);
    EXPECT_EQ(MapToHalfWidth(MapToFullWidth(half)), half) << uint32_t(c);
  }
  // Text without a partner passes through, stray bytes included.
  EXPECT_EQ(MapToFullWidth("漢字\xff"), "漢字\xff");
  EXPECT_EQ(MapToHalfWidth("漢字ひら\xff"), "漢字ひら\xff");
}

TEST(TextRoutines, KanaConversionsSwapHiraganaAndKatakana) {
  EXPECT_EQ(MapToHiragana("アイウヴヵヶヽヾー漢ｱ"), "あいうゔゕゖゝゞー漢ｱ");
  EXPECT_EQ(MapToKatakana("あいうゔゕゖゝゞー漢"), "アイウヴヵヶヽヾー漢");
  EXPECT_EQ(MapToKatakana(MapToHiragana("ァヶ")), "ァヶ");
}

TEST(StringConversions, JapaneseCodesFromOurTextAndBack) {
  const std::string nihon = "日本";
  EXPECT_EQ(ConvertTextCode(nihon, 5), "\x93\xfa\x96\x7b");
  EXPECT_EQ(ConvertTextCode(nihon, 4), "\xc6\xfc\xcb\xdc");
  EXPECT_EQ(ConvertTextCode(nihon, 2), "\x1b$BF|K\\");
  EXPECT_EQ(ConvertTextCode("ascii", 5), "ascii");
  // A text already in Shift_JIS is detected as such.
  EXPECT_EQ(ConvertTextCode("\x93\xfa\x96\x7b", 4), "\xc6\xfc\xcb\xdc");
  EXPECT_EQ(TextToUtf8("\x93\xfa\x96\x7b"), nihon);
  EXPECT_EQ(TextToUtf8("\x1b$BF|K\\\x1b(J"), nihon);
  EXPECT_EQ(TextToUtf8(nihon), nihon);
  EXPECT_EQ(TextToUtf8("plain"), "plain");
}

TEST(StringConversions, WideTextKeepsEveryCodeUnit) {
  EXPECT_EQ(TextToWide("A"), std::string("A\0", 2));
  EXPECT_EQ(TextToWide("aあ"), std::string("a\0\x42\x30", 4));
  EXPECT_EQ(TextToWide("\xf0\x9f\x98\x80"), std::string("\x3d\xd8\x00\xde", 4));
  EXPECT_EQ(TextToWide("\xff"), std::string("\xff\xdc", 2));
  EXPECT_EQ(TextToWide(""), "");
}

TEST(StringConversions, LocaleCompareIgnoresCaseBeforeItOrdersIt) {
  EXPECT_EQ(LocaleCompareText("a", "A"), -1);
  EXPECT_EQ(LocaleCompareText("A", "a"), 1);
  EXPECT_EQ(LocaleCompareText("Ab", "ab"), 1);
  EXPECT_EQ(LocaleCompareText("ab", "AC"), -1);  // letters decide before case
  EXPECT_EQ(LocaleCompareText("B", "a"), 1);
  EXPECT_EQ(LocaleCompareText("same", "same"), 0);
  EXPECT_EQ(LocaleCompareText("", "a"), -1);
  EXPECT_EQ(LocaleCompareText("あ", "い"), -1);
  EXPECT_EQ(LocaleCompareText("z", "あ"), -1);
}

TEST(RegExpSupport, ExecCollectsEveryMatchWhenGlobal) {
  TJRegExp re;
  re.SetSource("b");
  engine::TJValueList list;
  ASSERT_TRUE(re.Exec("日bcb", &list));
  EXPECT_EQ(texts(list), std::vector<std::string>{"b"});
  EXPECT_EQ(re.index, 1);
  EXPECT_EQ(re.lastIndex, 2);
  re.global = true;
  ASSERT_TRUE(re.Exec("日bcb", &list));
  EXPECT_EQ(texts(list), (std::vector<std::string>{"b", "b"}));
  EXPECT_EQ(re.index, 3);
  EXPECT_EQ(re.lastIndex, 4);
  EXPECT_EQ(re.LeftContext(), "日bc");
  EXPECT_EQ(re.RightContext(), "");
  // A failed search leaves the state of the last match.
  EXPECT_FALSE(re.Exec("xyz", &list));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(re.index, 3);
  EXPECT_EQ(re.Input(), "xyz");
  // An invalid pattern is no match, not an error.
  re.SetSource("(b");
  EXPECT_FALSE(re.Exec("b", &list));
  EXPECT_FALSE(re.Test("b"));
}

TEST(RegExpSupport, SplitCutsToTheLimit) {
  TJRegExp re;
  re.SetSource(",");
  engine::TJValueList list;
  EXPECT_TRUE(re.Split("a,b,c", list, 2));
  EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(re.Split("a,b,c", list, -1));
  EXPECT_EQ(texts(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(re.Split("a,b,c", list, 0));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(re.Split(",a,", list, 9));
  EXPECT_EQ(texts(list), (std::vector<std::string>{"", "a", ""}));
  re.SetSource("[");
  EXPECT_FALSE(re.Split("a[b", list, 9));
  EXPECT_EQ(list.Count(), 0);
}

TEST(RegExpSupport, ReplaceCallbackMayUseTheSameRegExpAgain) {
  TJRegExp re;
  re.SetSource("(\\d)");
  re.global = true;
  std::vector<std::string> seen;
  TJRegExp::ReplaceCallback callback = [&](TJRegExp& self) {
    seen.push_back(self.Group(1) + "@" + std::to_string(self.index));
    // Inner uses of the same object: a search, a template replace, a new pattern.
    engine::TJValueList inner;
    self.Exec("99", &inner);
    std::string nested = self.Replace("7", "<$1>", nullptr);
    self.SetSource("x");
    return nested;
  };
  // The first call changes the pattern; the running replace keeps its own, the inner ones do not.
  EXPECT_EQ(re.Replace("a1b2c3", "", &callback), "a<7>b7c7");
  EXPECT_EQ(seen, (std::vector<std::string>{"1@1", "2@3", "3@5"}));
  // Without a callback the template is expanded; an invalid pattern gives what was built.
  re.SetSource("b");
  EXPECT_EQ(re.Replace("abcb", "[$&]", nullptr), "a[b]c[b]");
  re.SetSource("(");
  EXPECT_EQ(re.Replace("abc", "x", nullptr), "");
}
