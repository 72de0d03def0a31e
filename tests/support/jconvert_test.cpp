#include "support/jconvert.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "support/base64.h"

using namespace support;

namespace {

const std::string kIn = "\x1b$B";
const std::string kOut = "\x1b(J";

// 漢字 and 日本 in the three encodings.
const std::string kKanjiSjis = "\x8a\xbf\x8e\x9a";
const std::string kKanjiEuc = "\xb4\xc1\xbb\xfa";
const std::string kKanjiJis = kIn + "\x34\x41\x3b\x7a";
const std::string kNihonSjis = "\x93\xfa\x96\x7b";

// The system converter, or "" when it has no conversion for the text.
class IconvOracle {
 public:
  IconvOracle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvOracle() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  std::string operator()(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[64];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
    if (r != static_cast<size_t>(-1)) r = iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    if (r == static_cast<size_t>(-1) || srcLeft) return "";
    return std::string(buffer, dst - buffer);
  }

 private:
  iconv_t cd_;
};

}  // namespace

TEST(JConvert, Detect) {
  struct Case {
    std::string text;
    int code;
  } cases[] = {
      {"", jcAscii},
      {"\x82", jcAscii},  // one byte: nothing is looked at on its own
      {"plain text", jcAscii},
      {"abc\x01", jcAscii},  // the last byte is never examined on its own
      {"ab\x01" "cd", jcBinary},
      {"ab\xff" "cd", jcBinary},
      {kKanjiJis, jcJis},
      {"\x1b$@\x34\x41", jcJisOld},
      {"\x1b(J abc", jcAscii},
      {"a\x1b$", jcAscii},  // an escape cut short at the end
      {kKanjiSjis, jcSjis},
      {kKanjiEuc, jcEuc},
      {"\xa4\xa2", jcEucOrSjis},  // あ in EUC-JP, or two half-width kana
      {"\xb6" "a", jcSjis},      // half-width kana followed by ASCII
      {"\xe0\x40", jcSjis},
      {"\xe0\xfd", jcEuc},
      {"\xf0\xa1x", jcEuc},
      {"\x8e\xb6x", jcEucOrSjis},
      {"\x8e\x40x", jcSjis},
      {"\xb4\xe0\x81x", jcSjis},  // undecided pair, then a following byte decides
      {"\xb4\xe0\xfdx", jcEuc},
      {"\xb4\xe0", jcEucOrSjis},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectJCode(c.text), c.code) << testing::PrintToString(c.text);

  // Bytes beyond the first 512 are not tested for binary before the scan reaches them.
  std::string late(600, 'a');
  late[550] = '\x02';
  EXPECT_EQ(DetectJCode(late), jcBinary);
  late.append(kKanjiSjis);
  late[550] = 'a';
  late.insert(520, kKanjiSjis);
  late[560] = '\x02';
  EXPECT_EQ(DetectJCode(late), jcSjis);
}

TEST(JConvert, EveryJisX0208CodeRoundTrips) {
  for (int j1 = 33; j1 <= 126; ++j1)
    for (int j2 = 33; j2 <= 126; ++j2) {
      std::string jis = kIn + char(j1) + char(j2);
      std::string euc{char(j1 | 0x80), char(j2 | 0x80)};
      std::string sjis = JisToSjis(jis);
      ASSERT_EQ(sjis.size(), 2u);
      ASSERT_TRUE(IsSjisLeadByte(static_cast<unsigned char>(sjis[0]))) << j1 << "," << j2;
      ASSERT_EQ(JisToEuc(jis), euc);
      ASSERT_EQ(SjisToJis(sjis), jis) << j1 << "," << j2;
      ASSERT_EQ(SjisToEuc(sjis), euc);
      ASSERT_EQ(EucToSjis(euc), sjis);
      ASSERT_EQ(EucToJis(euc), jis);
    }
}

TEST(JConvert, AgreesWithTheSystemConverter) {
  IconvOracle toSjis("SHIFT_JIS", "EUC-JP"), toJis("ISO-2022-JP", "EUC-JP");
  ASSERT_TRUE(toSjis.ok() && toJis.ok());
  int compared = 0;
  for (int j1 = 33; j1 <= 126; ++j1)
    for (int j2 = 33; j2 <= 126; ++j2) {
      std::string euc{char(j1 | 0x80), char(j2 | 0x80)};
      std::string sjis = toSjis(euc);
      if (sjis.empty()) continue;  // unassigned code
      ++compared;
      ASSERT_EQ(EucToSjis(euc), sjis) << j1 << "," << j2;
      std::string jis = toJis(euc);
      // The system converter closes with ESC ( B; ours leaves the text in kanji mode.
      ASSERT_EQ(EucToJis(euc) + "\x1b(B", jis) << j1 << "," << j2;
    }
  EXPECT_GT(compared, 6800);
}

TEST(JConvert, MixedTextShiftsInAndOut) {
  struct Case {
    std::string sjis, jis, euc;
  } cases[] = {
      {"a" + kKanjiSjis + "b", "a" + kKanjiJis + kOut + "b", "a" + kKanjiEuc + "b"},
      {kKanjiSjis + "\r\n" + kKanjiSjis, kKanjiJis + kOut + "\r\n" + kKanjiJis,
       kKanjiEuc + "\r\n" + kKanjiEuc},
      {"abc", "abc", "abc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SjisToJis(c.sjis), c.jis);
    EXPECT_EQ(EucToJis(c.euc), c.jis);
    EXPECT_EQ(JisToSjis(c.jis), c.sjis);
    EXPECT_EQ(JisToEuc(c.jis), c.euc);
    EXPECT_EQ(SjisToEuc(c.sjis), c.euc);
    EXPECT_EQ(EucToSjis(c.euc), c.sjis);
  }
}

TEST(JConvert, HalfWidthKana) {
  // ｶﾞｳﾞﾊﾟｰ｡ then ｱﾞ (no voiced form: the mark stands alone) and ﾎﾟ
  std::string sjis = "\xb6\xde\xb3\xde\xca\xdf\xb0\xa1\xb1\xde\xce\xdf";
  std::string jis = kIn + "\x25\x2c\x25\x74\x25\x51\x21\x3c\x21\x23\x25\x22\x21\x2b\x25\x5d";
  std::string euc;
  for (char c : sjis) euc += std::string("\x8e") + c;
  EXPECT_EQ(SjisToJis(sjis), jis);
  EXPECT_EQ(EucToJis(euc), jis);
  EXPECT_EQ(SjisToEuc(sjis), euc);
  EXPECT_EQ(EucToSjis(euc), sjis);
  // A kana at the very end and a lone 142 are safe.
  EXPECT_EQ(SjisToJis("a\xb6"), "a" + kIn + "\x25\x2b");
  EXPECT_EQ(EucToSjis("a\x8e"), "a\x8e");
}

TEST(JConvert, MalformedInputIsCopiedNotOverrun) {
  struct Case {
    std::string jis, sjis;
  } cases[] = {
      {"\x1b", "\x1b"},                     // lone escape
      {"a\x1b$", "a"},                      // shift cut short
      {"\x1b(", ""},                        //
      {kIn + "\x34", "\x34"},               // half a kanji
      {kIn + "\x34\n", "\x34\n"},           // a line break inside a pair
      {"\x1b$@\x34\x41", "\x8a\xbf"},       // third byte of the shift not examined
      {"\x1bxyz", "\x1bxyz"},               // unknown escape
  };
  for (const Case& c : cases) EXPECT_EQ(JisToSjis(c.jis), c.sjis) << testing::PrintToString(c.jis);
  // Lead bytes without a proper second byte stay single bytes.
  EXPECT_EQ(SjisToJis("\x8a"), "\x8a");
  EXPECT_EQ(SjisToEuc("\x8a\n"), "\x8a\n");
  EXPECT_EQ(EucToSjis("\xb4"), "\xb4");
  EXPECT_EQ(EucToJis("\xb4" "a"), "\xb4" "a");
}

TEST(JConvert, ConvertByDetectedCode) {
  struct Case {
    std::string text;
    int target;
    std::string result;
  } cases[] = {
      {kKanjiSjis, jcJis, kKanjiJis},
      {kKanjiSjis, jcEuc, kKanjiEuc},
      {kKanjiSjis, jcSjis, kKanjiSjis},
      {kKanjiEuc, jcJis, kKanjiJis},
      {kKanjiEuc, jcSjis, kKanjiSjis},
      {kKanjiJis, jcSjis, kKanjiSjis},
      {kKanjiJis, jcEuc, kKanjiEuc},
      {"\x1b$@\x34\x41", jcJis, "\x1b$@\x34\x41"},  // JIS stays as it is
      {kKanjiSjis, 7, kKanjiSjis},                  // unknown target
      {"\xa4\xa2", jcSjis, "\xa4\xa2"},             // undecided
      {"ascii", jcJis, "ascii"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertJCode(c.text, c.target), c.result) << testing::PrintToString(c.text) << c.target;
}

TEST(JConvert, MimeHeaders) {
  std::string nihonJis = kIn + "\x46\x7c\x4b\x5c";
  EXPECT_EQ(EncodeMimeHeader(kNihonSjis), "=?ISO-2022-JP?B?GyRCRnxLXA==?=");
  EXPECT_EQ(EncodeMimeHeader("Re: " + kNihonSjis + " and " + kKanjiSjis),
            "Re: =?ISO-2022-JP?B?GyRCRnxLXA==?= and =?ISO-2022-JP?B?" + EncodeBase64(kKanjiJis) + "?=");
  EXPECT_EQ(EncodeMimeHeader("plain"), "plain");
  EXPECT_EQ(EncodeMimeHeader("x\x93"), "x\x93");  // a lead byte at the end stays single

  struct Case {
    std::string header, decoded;
  } cases[] = {
      {"=?ISO-2022-JP?B?GyRCRnxLXA==?=", nihonJis + kOut},
      {"Re: =?iso-2022-jp?b?GyRCRnxLXA==?= x", "Re: " + nihonJis + kOut + " x"},
      {"=?ISO-2022-JP?B?GyRCRnxLXA==", nihonJis + kOut},  // no closing "?="
      {"=?ISO-2022-JP?B?GyRCRnx", "\x1b$BF|" + kOut},     // truncated Base64
      {"=?ISO-2022-JP?B", "=?ISO-2022-JP?B"},
      {"no words here", "no words here"},
      {"=?ISO-8859-1?Q?x?=", "=?ISO-8859-1?Q?x?="},
      // decoded bytes are not decoded again
      {"=?ISO-2022-JP?B?" + EncodeBase64("=?ISO-2022-JP?B?YQ==?=") + "?=",
       "=?ISO-2022-JP?B?YQ==?=" + kOut},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeMimeHeader(c.header), c.decoded) << c.header;
  EXPECT_EQ(JisToSjis(DecodeMimeHeader(EncodeMimeHeader("a" + kNihonSjis + "b"))),
            "a" + kNihonSjis + "b");
}
