// Lookahead never reads past the text: a byte beyond the end reads as 0, and a lead byte without a
// proper second byte is treated as a single byte.
#include "support/jconvert.h"

#include <cstdint>

#include "support/base64.h"

namespace support {

namespace {

using u8 = unsigned char;

constexpr char kKanjiIn[] = "\x1b$B";
constexpr char kKanjiOut[] = "\x1b(J";

// Full-width JIS codes of the half-width katakana 0xA1..0xDF: symbols on row 1, kana on row 5.
constexpr uint16_t kHalfKana[63] = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529,
    0x2563, 0x2565, 0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B,
    0x252D, 0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541,
    0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555,
    0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C};

constexpr u8 kVoiced = 0xDE, kSemiVoiced = 0xDF;

bool isHalfKana(u8 b) { return b >= 0xA1 && b <= 0xDF; }
bool isSjisTrail(u8 b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool isEucByte(u8 b) { return b >= 0xA1 && b <= 0xFE; }
bool isJisByte(u8 b) { return b >= 33 && b <= 126; }

// Full-width JIS code of half-width kana `k`, joined with a following mark when `mark` allows it
// (`joined` tells whether the mark was used).
uint16_t fullWidthKana(u8 k, u8 mark, bool& joined) {
  uint16_t code = kHalfKana[k - 0xA1];
  joined = false;
  bool kaToTo = k >= 0xB6 && k <= 0xC4, haToHo = k >= 0xCA && k <= 0xCE;
  if (mark == kVoiced) {
    if (kaToTo || haToHo) {
      code += 1;
      joined = true;
    } else if (k == 0xB3) {  // ウ with a voiced mark is ヴ
      code = 0x2574;
      joined = true;
    }
  } else if (mark == kSemiVoiced && haToHo) {
    code += 2;
    joined = true;
  }
  return code;
}

// The published JIS X 0208 <-> Shift_JIS arithmetic, on bytes.
void jisToSjisPair(u8 j1, u8 j2, std::string& out) {
  u8 s1 = u8((j1 + 1) / 2 + (j1 > 94 ? 176 : 112));
  u8 s2;
  if (j1 % 2 == 0)
    s2 = u8(j2 + 126);
  else
    s2 = u8(j2 < 96 ? j2 + 31 : j2 + 32);
  out += char(s1);
  out += char(s2);
}

void sjisToJisPair(u8 s1, u8 s2, u8& j1, u8& j2) {
  int base = s1 < 160 ? 112 : 176;
  if (s2 < 159) {
    j1 = u8(2 * (s1 - base) - 1);
    j2 = u8(s2 < 128 ? s2 - 31 : s2 - 32);
  } else {
    j1 = u8(2 * (s1 - base));
    j2 = u8(s2 - 126);
  }
}

// Writes JIS output, shifting in and out of kanji mode as characters come.
class JisWriter {
 public:
  void pair(u8 j1, u8 j2) {
    if (!kanji_) {
      out_ += kKanjiIn;
      kanji_ = true;
    }
    out_ += char(j1);
    out_ += char(j2);
  }
  void single(u8 b) {
    if (kanji_) {
      out_ += kKanjiOut;
      kanji_ = false;
    }
    out_ += char(b);
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
  bool kanji_ = false;
};

// Reads JIS input and hands out single bytes and kanji pairs.
template <class Single, class Pair>
void readJis(std::string_view t, Single single, Pair pair) {
  bool kanji = false;
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    u8 a = u8(t[i]);
    if (a == 27 && i + 1 < n && (t[i + 1] == '$' || t[i + 1] == '(')) {
      kanji = t[i + 1] == '$';
      i += i + 2 < n ? 3 : 2;
      continue;
    }
    if (kanji && isJisByte(a) && i + 1 < n && isJisByte(u8(t[i + 1]))) {
      pair(a, u8(t[i + 1]));
      i += 2;
      continue;
    }
    single(a);
    ++i;
  }
}

}  // namespace

int DetectJCode(std::string_view text) {
  const size_t n = text.size();
  if (n < 2) return jcAscii;
  const size_t last = n - 1;  // bytes 0 .. last-1 are looked at on their own
  auto at = [&](size_t k) -> u8 { return k < n ? u8(text[k]) : 0; };

  for (size_t k = 0; k < last && k < 512; ++k)
    if (at(k) < 8 || at(k) == 255) return jcBinary;

  int code = jcAscii;
  size_t i = 0;
  while ((code == jcAscii || code == jcEucOrSjis) && i < last) {
    u8 a = at(i++);
    if (a < 8 || a == 255) {
      code = jcBinary;
    } else if (a == 27) {
      u8 b = at(i++);
      if (b == '$') {
        u8 c = at(i++);
        if (c == 'B')
          code = jcJis;
        else if (c == '@')
          code = jcJisOld;
      }
    } else if ((a >= 129 && a <= 141) || (a >= 143 && a <= 159)) {
      code = jcSjis;
    } else if (a == 142) {
      u8 b = at(i++);
      if ((b >= 64 && b <= 126) || (b >= 128 && b <= 160) || (b >= 224 && b <= 252))
        code = jcSjis;
      else if (b >= 161 && b <= 223)
        code = jcEucOrSjis;
    } else if (a >= 240 && a <= 254) {
      code = jcEuc;
    } else if (a >= 224 && a <= 239) {
      u8 b = at(i++);
      if ((b >= 64 && b <= 126) || (b >= 128 && b <= 160))
        code = jcSjis;
      else if (b == 253 || b == 254)
        code = jcEuc;
      else if (b >= 161 && b <= 252)
        code = jcEucOrSjis;
    } else if (a >= 161 && a <= 223) {
      u8 b = at(i++);
      if (b >= 240 && b <= 254) {
        code = jcEuc;
      } else if (b >= 161 && b <= 223) {
        code = jcEucOrSjis;
      } else if (b >= 224 && b <= 239) {
        code = jcEucOrSjis;
        while (code == jcEucOrSjis && i < n) {
          u8 c = at(i++);
          if (c < 64) break;
          if ((c >= 129 && c <= 141) || (c >= 143 && c <= 156))
            code = jcSjis;
          else if (c == 253 || c == 254)
            code = jcEuc;
        }
      } else if (b < 160) {
        code = jcSjis;
      }
    }
  }
  return code;
}

std::string ConvertJCode(std::string_view text, int target) {
  int code = DetectJCode(text);
  bool isJis = code == jcJis || code == jcJisOld;
  if (code == jcAscii || code == jcBinary || code == jcEucOrSjis || code == target ||
      (isJis && target == jcJis))
    return std::string(text);
  switch (target) {
    case jcJis:
      if (code == jcEuc) return EucToJis(text);
      if (code == jcSjis) return SjisToJis(text);
      break;
    case jcEuc:
      if (isJis) return JisToEuc(text);
      if (code == jcSjis) return SjisToEuc(text);
      break;
    case jcSjis:
      if (isJis) return JisToSjis(text);
      if (code == jcEuc) return EucToSjis(text);
      break;
  }
  return std::string(text);
}

std::string SjisToJis(std::string_view t) {
  JisWriter w;
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    u8 a = u8(t[i]);
    u8 b = i + 1 < n ? u8(t[i + 1]) : 0;
    if (IsSjisLeadByte(a) && isSjisTrail(b)) {
      u8 j1, j2;
      sjisToJisPair(a, b, j1, j2);
      w.pair(j1, j2);
      i += 2;
    } else if (isHalfKana(a)) {
      bool joined;
      uint16_t code = fullWidthKana(a, b, joined);
      w.pair(u8(code >> 8), u8(code));
      i += joined ? 2 : 1;
    } else {
      w.single(a);
      ++i;
    }
  }
  return w.take();
}

std::string EucToJis(std::string_view t) {
  JisWriter w;
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    u8 a = u8(t[i]);
    u8 b = i + 1 < n ? u8(t[i + 1]) : 0;
    if (a == 142 && isHalfKana(b)) {
      // A voiced mark is written 142 222 (or 223) as well.
      u8 mark = i + 3 < n && u8(t[i + 2]) == 142 ? u8(t[i + 3]) : 0;
      bool joined;
      uint16_t code = fullWidthKana(b, mark, joined);
      w.pair(u8(code >> 8), u8(code));
      i += joined ? 4 : 2;
    } else if (isEucByte(a) && isEucByte(b)) {
      w.pair(a & 0x7F, b & 0x7F);
      i += 2;
    } else {
      w.single(a);
      ++i;
    }
  }
  return w.take();
}

std::string JisToSjis(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  readJis(
      t, [&](u8 b) { out += char(b); }, [&](u8 j1, u8 j2) { jisToSjisPair(j1, j2, out); });
  return out;
}

std::string JisToEuc(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  readJis(
      t, [&](u8 b) { out += char(b); },
      [&](u8 j1, u8 j2) {
        out += char(j1 | 0x80);
        out += char(j2 | 0x80);
      });
  return out;
}

std::string SjisToEuc(std::string_view t) {
  std::string out;
  out.reserve(t.size() + t.size() / 2);
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    u8 a = u8(t[i]);
    u8 b = i + 1 < n ? u8(t[i + 1]) : 0;
    if (IsSjisLeadByte(a) && isSjisTrail(b)) {
      u8 j1, j2;
      sjisToJisPair(a, b, j1, j2);
      out += char(j1 | 0x80);
      out += char(j2 | 0x80);
      i += 2;
    } else if (isHalfKana(a)) {
      out += char(142);
      out += char(a);
      ++i;
    } else {
      out += char(a);
      ++i;
    }
  }
  return out;
}

std::string EucToSjis(std::string_view t) {
  std::string out;
  out.reserve(t.size());
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    u8 a = u8(t[i]);
    u8 b = i + 1 < n ? u8(t[i + 1]) : 0;
    if (a == 142 && isHalfKana(b)) {
      out += char(b);
      i += 2;
    } else if (isEucByte(a) && isEucByte(b)) {
      jisToSjisPair(a & 0x7F, b & 0x7F, out);
      i += 2;
    } else {
      out += char(a);
      ++i;
    }
  }
  return out;
}

std::string EncodeMimeHeader(std::string_view t) {
  std::string out;
  size_t n = t.size();
  for (size_t i = 0; i < n;) {
    size_t start = i;
    while (i + 1 < n && IsSjisLeadByte(u8(t[i]))) i += 2;
    if (i > start) {
      out += "=?ISO-2022-JP?B?";
      out += EncodeBase64(SjisToJis(t.substr(start, i - start)));
      out += "?=";
    } else {
      out += t[i++];
    }
  }
  return out;
}

std::string DecodeMimeHeader(std::string_view t) {
  static constexpr std::string_view kOpen = "=?ISO-2022-JP?B?";
  auto startsHere = [&](size_t i) {
    if (i + kOpen.size() > t.size()) return false;
    for (size_t k = 0; k < kOpen.size(); ++k) {
      char c = t[i + k];
      if (c >= 'a' && c <= 'z') c = char(c - 32);
      if (c != kOpen[k]) return false;
    }
    return true;
  };
  std::string out;
  out.reserve(t.size());
  size_t i = 0;
  while (i < t.size()) {
    if (!startsHere(i)) {
      out += t[i++];
      continue;
    }
    size_t body = i + kOpen.size();
    size_t close = t.find("?=", body);
    size_t end = close == std::string_view::npos ? t.size() : close;
    out += DecodeBase64(t.substr(body, end - body));
    out += kKanjiOut;
    i = close == std::string_view::npos ? t.size() : close + 2;
  }
  return out;
}

}  // namespace support
