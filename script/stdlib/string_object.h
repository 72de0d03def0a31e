// The script class "String": the object form of a text, made by `new String(x)` and whenever a
// method is called on a text value. Positions are 0-based character indexes (a character being
// one UTF-8 sequence, see text_routines.h); `s[i]` reads the character at i (negative i counts
// from the end), `s[a, b]` the slice from a to b, and both forms can be assigned to.
#pragma once

#include <string>

#include "script/core/object.h"
#include "script/core/value.h"

namespace stdlib {

class TJStringObject : public engine::TJObject {
  RT_CLASS(TJStringObject)
 public:
  TJStringObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  static bool IsIndexedClass() { return true; }

  // The text is held as a string value: a text made into an object for a method call is shared,
  // not copied, and keeps its index of character positions from call to call.
  std::string_view Text() const { return text_.vString(); }
  void SetText(std::string_view text) { text_.SetString(text); }

  // Published: text and str (the text), length (characters, read-only).
  std::string text() const { return std::string(Text()); }
  void setText(std::string text) { SetText(text); }
  int32_t length() const;

  void RegistMethods() override;
  void GetMember(std::string_view name, bool bracketAccess, engine::TJValueList* param, engine::TJValue& value) override;
  void PutMember(std::string_view name, const engine::TJValue& value, bool bracketAccess,
                 engine::TJValueList* param) override;
  std::string ToString(const engine::TJValue* argument) override;
  void ValueOf(engine::TJValue& value) override;
  double ToNumber() override;
  bool ToBoolean() override;
  int32_t ToChar() override;
  bool AdoptValue(const engine::TJValue& text) override;
  bool IsIndexed() const override { return true; }
  int32_t GetCount() override;
  void GetItem(int32_t index, engine::TJValue& value) override;

  void DoCharAt(engine::TJValueList* args, engine::TJValue& result);
  void DoAnchor(engine::TJValueList* args, engine::TJValue& result);
  void DoBig(engine::TJValueList* args, engine::TJValue& result);
  void DoBlink(engine::TJValueList* args, engine::TJValue& result);
  void DoBold(engine::TJValueList* args, engine::TJValue& result);
  void DoCharCodeAt(engine::TJValueList* args, engine::TJValue& result);
  void DoConcat(engine::TJValueList* args, engine::TJValue& result);
  void DoFixed(engine::TJValueList* args, engine::TJValue& result);
  void DoFontColor(engine::TJValueList* args, engine::TJValue& result);
  void DoFontSize(engine::TJValueList* args, engine::TJValue& result);
  void DoFromCharCode(engine::TJValueList* args, engine::TJValue& result);
  void DoIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoItalics(engine::TJValueList* args, engine::TJValue& result);
  void DoLastIndexOf(engine::TJValueList* args, engine::TJValue& result);
  void DoLink(engine::TJValueList* args, engine::TJValue& result);
  void DoMatch(engine::TJValueList* args, engine::TJValue& result);
  void DoReplace(engine::TJValueList* args, engine::TJValue& result);
  void DoSearch(engine::TJValueList* args, engine::TJValue& result);
  void DoSlice(engine::TJValueList* args, engine::TJValue& result);
  void DoSmall(engine::TJValueList* args, engine::TJValue& result);
  void DoSplit(engine::TJValueList* args, engine::TJValue& result);
  void DoStrike(engine::TJValueList* args, engine::TJValue& result);
  void DoSub(engine::TJValueList* args, engine::TJValue& result);
  void DoSubstr(engine::TJValueList* args, engine::TJValue& result);
  void DoSubstring(engine::TJValueList* args, engine::TJValue& result);
  void DoSup(engine::TJValueList* args, engine::TJValue& result);
  void DoLocaleCompare(engine::TJValueList* args, engine::TJValue& result);
  void DoReverse(engine::TJValueList* args, engine::TJValue& result);
  void DoMultiply(engine::TJValueList* args, engine::TJValue& result);
  void DoToLowerCase(engine::TJValueList* args, engine::TJValue& result);
  void DoToUpperCase(engine::TJValueList* args, engine::TJValue& result);
  void DoToJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoToSJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoToEUC(engine::TJValueList* args, engine::TJValue& result);
  void DoToWide(engine::TJValueList* args, engine::TJValue& result);
  void DoToUTF8(engine::TJValueList* args, engine::TJValue& result);
  void DoToZenkaku(engine::TJValueList* args, engine::TJValue& result);
  void DoToHankaku(engine::TJValueList* args, engine::TJValue& result);
  void DoToHiragana(engine::TJValueList* args, engine::TJValue& result);
  void DoToKatakana(engine::TJValueList* args, engine::TJValue& result);
  void DoFromJIStoSJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoFromJIStoEUC(engine::TJValueList* args, engine::TJValue& result);
  void DoFromEUCtoSJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoFromEUCtoJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoFromSJIStoEUC(engine::TJValueList* args, engine::TJValue& result);
  void DoFromSJIStoJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoFromUTF8toSJIS(engine::TJValueList* args, engine::TJValue& result);
  void DoCrypt(engine::TJValueList* args, engine::TJValue& result);
  void DoTrim(engine::TJValueList* args, engine::TJValue& result);
  void DoTrimLeft(engine::TJValueList* args, engine::TJValue& result);
  void DoTrimRight(engine::TJValueList* args, engine::TJValue& result);
  void DoSizeOf(engine::TJValueList* args, engine::TJValue& result);

 private:
  // The character index a bracket name stands for (negative counts from the end); raises
  // "EIndexError" with the name when it is no integer or lies outside the text.
  int32_t bracketIndex(std::string_view name);
  // The four methods that work through a RegExp (0 match, 1 replace, 2 search, 3 split).
  void regExpMethod(int kind, engine::TJValueList* args, engine::TJValue& result);
  bool splitAtText(engine::TJValueList* args, engine::TJValue& result);

  // The number of characters.
  int32_t charCount() const;
  // Byte offset of the 0-based character `index` (the size when the text has fewer).
  size_t byteOfChar(int64_t index) const;
  // The character index of the first occurrence of `search` at or after character `from`; -1
  // when absent.
  int32_t indexOf(std::string_view search, int32_t from) const;
  // `count` characters from 0-based `start` (held to the text).
  std::string_view chars(int64_t start, int64_t count) const;

  engine::TJValue text_;  // always a string
};

// The largest text multiply builds.
constexpr size_t kMaxMultiplyBytes = size_t(1) << 28;

// Code conversions of a text in our own code (UTF-8) or one of the Japanese codes: the text is
// read as UTF-8 when it is valid UTF-8 holding a byte above 0x7F, else the Japanese code is
// detected. Target 2 is JIS, 4 EUC-JP, 5 Shift_JIS.
std::string ConvertTextCode(std::string_view text, int target);
// UTF-16LE bytes of a text (a byte that is no character gives its own code unit).
std::string TextToWide(std::string_view text);
// Our text from a text in one of the Japanese codes; UTF-8 text (other than JIS, which is 7-bit)
// stays as it is.
std::string TextToUtf8(std::string_view text);
// -1, 0 or 1: letters compare without case first, then a lower-case letter before its capital,
// then by code.
int32_t LocaleCompareText(std::string_view a, std::string_view b);

}  // namespace stdlib
