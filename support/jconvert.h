// The three Japanese encodings -- JIS (ISO-2022-JP: 7 bits with escape sequences), EUC-JP and
// Shift_JIS -- on byte strings: detection, conversion between them, and the "B" encoding of mail
// header words. All of it is byte arithmetic on JIS X 0208 codes; no table beyond the half-width
// katakana one, and no system converter (see codepage.h for UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace support {

// Answers of DetectJCode and targets of ConvertJCode.
enum JCode : int {
  jcAscii = 0,    // no decisive byte
  jcBinary = 1,
  jcJis = 2,      // kanji shift ESC $ B
  jcJisOld = 3,   // kanji shift ESC $ @
  jcEuc = 4,
  jcSjis = 5,
  jcEucOrSjis = 6,
};

// Looks at every byte but the last one on its own (the last one is only read after another byte).
int DetectJCode(std::string_view text);

// Converts from the detected code to JIS (2), EUC-JP (4) or Shift_JIS (5). The text comes back
// unchanged when its code is ASCII, binary or undecided, is already the target (any JIS counting
// as JIS), or when the target is none of the three.
std::string ConvertJCode(std::string_view text, int target);

// JIS output shifts into kanji with ESC $ B and back with ESC ( J before a single-byte character;
// a text ending inside a kanji run gets no closing sequence. Half-width katakana become full-width
// characters (a following voiced or semi-voiced mark is joined where it can be).
std::string SjisToJis(std::string_view text);
std::string EucToJis(std::string_view text);
// JIS input: ESC $ shifts into kanji, ESC ( back to single bytes (the third byte of the sequence
// is not examined); in kanji mode bytes 33..126 are taken in pairs.
std::string JisToSjis(std::string_view text);
std::string JisToEuc(std::string_view text);
// Half-width katakana stay half-width (EUC-JP writes them as 142 followed by the byte).
std::string SjisToEuc(std::string_view text);
std::string EucToSjis(std::string_view text);

// Shift_JIS text in: every run of double-byte characters becomes "=?ISO-2022-JP?B?" + the Base64
// of its JIS form + "?="; single-byte characters are copied.
std::string EncodeMimeHeader(std::string_view text);
// Every "=?ISO-2022-JP?B?" ... "?=" word (letter case ignored; a word without its "?=" runs to the
// end of the text) is replaced by its decoded bytes followed by ESC ( J. The result stays JIS.
std::string DecodeMimeHeader(std::string_view text);

// Shift_JIS lead bytes of the system's double-byte test: 0x81..0x9F and 0xE0..0xFC.
inline bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace support
