#include "script/stdlib/string_object.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
#include "script/core/base_engine.h"
#include "script/core/engine.h"
#include "script/core/error_table.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/stdlib/number_object.h"
#include "script/stdlib/regexp_object.h"
#include "script/stdlib/text_routines.h"
#include "support/codepage.h"
#include "support/crypt3.h"
#include "support/jconvert.h"

namespace stdlib {

using namespace engine;

namespace {

constexpr int32_t kMaxInt = 2147483647;

const TJValue* arg(TJValueList* args, int32_t i) { return ArgCount(args) > i ? &(*args)[i] : nullptr; }

bool hasHighByte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The text without the bytes of code 32 or less at either end.
std::string trimmed(std::string_view text, bool left, bool right) {
  size_t from = 0, to = text.size();
  if (left)
    while (from < to && static_cast<unsigned char>(text[from]) <= 32) ++from;
  if (right)
    while (to > from && static_cast<unsigned char>(text[to - 1]) <= 32) --to;
  return std::string(text.substr(from, to - from));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Code conversions

std::string ConvertTextCode(std::string_view text, int target) {
  if (hasHighByte(text) && rt::utf8::isValid(text)) {
    std::string sjis = support::Utf8ToSjis(text);
    switch (target) {
      case support::jcJis: return support::SjisToJis(sjis);
      case support::jcEuc: return support::SjisToEuc(sjis);
      case support::jcSjis: return sjis;
      default: return std::string(text);
    }
  }
  return support::ConvertJCode(text, target);
}

std::string TextToWide(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  auto unit = [&out](uint32_t u) {
    out.push_back(char(u & 0xFF));
    out.push_back(char(u >> 8));
  };
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = 0;
    char32_t c = rt::utf8::decode(text, pos, &len);
    pos += len;
    if (c >= 0x10000) {
      c -= 0x10000;
      unit(0xD800 + (c >> 10));
      unit(0xDC00 + (c & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

std::string TextToUtf8(std::string_view text) {
  int code = support::DetectJCode(text);
  if (code == support::jcJis || code == support::jcJisOld) return support::SjisToUtf8(support::JisToSjis(text));
  if (rt::utf8::isValid(text)) return std::string(text);
  return support::SjisToUtf8(support::ConvertJCode(text, support::jcSjis));
}

int32_t LocaleCompareText(std::string_view a, std::string_view b) {
  auto sign = [](int64_t d) { return d < 0 ? -1 : d > 0 ? 1 : 0; };
  // Letters without case, then the first difference in case (lower case first), then codes.
  int caseOrder = 0;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    size_t la = 0, lb = 0;
    char32_t ca = rt::utf8::decode(a, i, &la), cb = rt::utf8::decode(b, j, &lb);
    char32_t fa = ca < 0x80 ? char32_t(rt::asciiLower(char(ca))) : ca;
    char32_t fb = cb < 0x80 ? char32_t(rt::asciiLower(char(cb))) : cb;
    if (fa != fb) return sign(int64_t(fa) - int64_t(fb));
    if (!caseOrder && ca != cb) caseOrder = ca > cb ? -1 : 1;  // 'a' (0x61) sorts before 'A' (0x41)
    i += la;
    j += lb;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return caseOrder;
}

// ---------------------------------------------------------------------------------------------
// The object

const rt::ClassInfo& TJStringObject::StaticClassInfo() {
  static const rt::ClassInfo& info = [&]() -> const rt::ClassInfo& {
    const rt::ClassInfo& built = rt::ClassBuilder<TJStringObject>("TJStringObject", &TJObject::StaticClassInfo())
                                     .property("text", &TJStringObject::text, &TJStringObject::setText)
                                     .property("str", &TJStringObject::text, &TJStringObject::setText)
                                     .property("length", &TJStringObject::length)
                                     .build();
    RegisterKnownClass(TJKnownClass::String, built);
    return built;
  }();
  return info;
}

TJStringObject::TJStringObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("String");
  if (IsParam1(param)) {
    const TJValue& first = (*param)[0];
    if (first.ValueType() == vtString)
      text_ = first;
    else
      text_.SetString(AsString(&first));
  } else {
    text_.SetString("");
  }
}

int32_t TJStringObject::length() const { return charCount(); }

bool TJStringObject::AdoptValue(const TJValue& text) {
  if (text.ValueType() == vtString) text_ = text; else text_.SetString("");
  return true;
}

int32_t TJStringObject::charCount() const {
  const TJStringRep* rep = text_.vStringRep();
  return rep ? int32_t(std::min<uint32_t>(rep->CharCount(), uint32_t(kMaxInt))) : 0;
}

size_t TJStringObject::byteOfChar(int64_t index) const {
  const TJStringRep* rep = text_.vStringRep();
  if (!rep) return 0;
  return index <= 0 ? 0 : rep->ByteOfChar(size_t(index));
}

int32_t TJStringObject::indexOf(std::string_view search, int32_t from) const {
  const TJStringRep* rep = text_.vStringRep();
  if (search.empty() || !rep) return -1;
  size_t first = from < 1 || from == kMaxInt ? (from == kMaxInt ? size_t(kMaxInt) : 0) : size_t(from);
  if (first >= rep->CharCount()) return -1;
  std::string_view text = Text();
  // A match counts only where it starts and ends on character boundaries.
  for (size_t pos = text.find(search, rep->ByteOfChar(first)); pos != std::string_view::npos;
       pos = text.find(search, pos + 1)) {
    if (rep->IsCharStart(pos) && rep->IsCharStart(pos + search.size()))
      return int32_t(std::min<size_t>(rep->CharOfByte(pos), size_t(kMaxInt)));
  }
  return -1;
}

std::string_view TJStringObject::chars(int64_t start, int64_t count) const {
  if (count <= 0) return {};
  size_t from = byteOfChar(start);
  size_t to = byteOfChar(start + count);
  return Text().substr(from, to - from);
}

void TJStringObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("charAt", &TJStringObject::DoCharAt);
  RegistMethod("anchor", &TJStringObject::DoAnchor);
  RegistMethod("big", &TJStringObject::DoBig);
  RegistMethod("blink", &TJStringObject::DoBlink);
  RegistMethod("bold", &TJStringObject::DoBold);
  RegistMethod("charCodeAt", &TJStringObject::DoCharCodeAt);
  RegistMethod("concat", &TJStringObject::DoConcat);
  RegistMethod("fixed", &TJStringObject::DoFixed);
  RegistMethod("fontcolor", &TJStringObject::DoFontColor);
  RegistMethod("fontsize", &TJStringObject::DoFontSize);
  RegistMethod("fromCharCode", &TJStringObject::DoFromCharCode);
  RegistMethod("indexOf", &TJStringObject::DoIndexOf);
  RegistMethod("italics", &TJStringObject::DoItalics);
  RegistMethod("lastIndexOf", &TJStringObject::DoLastIndexOf);
  RegistMethod("link", &TJStringObject::DoLink);
  RegistMethod("match", &TJStringObject::DoMatch);
  RegistMethod("replace", &TJStringObject::DoReplace);
  RegistMethod("search", &TJStringObject::DoSearch);
  RegistMethod("slice", &TJStringObject::DoSlice);
  RegistMethod("small", &TJStringObject::DoSmall);
  RegistMethod("split", &TJStringObject::DoSplit);
  RegistMethod("strike", &TJStringObject::DoStrike);
  RegistMethod("sub", &TJStringObject::DoSub);
  RegistMethod("substr", &TJStringObject::DoSubstr);
  RegistMethod("substring", &TJStringObject::DoSubstring);
  RegistMethod("sup", &TJStringObject::DoSup);
  RegistMethod("localeCompare", &TJStringObject::DoLocaleCompare);
  RegistMethod("reverse", &TJStringObject::DoReverse);
  RegistMethod("multiply", &TJStringObject::DoMultiply);
  RegistMethod("toLowerCase", &TJStringObject::DoToLowerCase);
  RegistMethod("toUpperCase", &TJStringObject::DoToUpperCase);
  RegistMethod("toJIS", &TJStringObject::DoToJIS);
  RegistMethod("toSJIS", &TJStringObject::DoToSJIS);
  RegistMethod("toEUC", &TJStringObject::DoToEUC);
  RegistMethod("toWide", &TJStringObject::DoToWide);
  RegistMethod("toUTF8", &TJStringObject::DoToUTF8);
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("toZenkaku", &TJStringObject::DoToZenkaku);
  RegistMethod("toHankaku", &TJStringObject::DoToHankaku);
  RegistMethod("toHiragana", &TJStringObject::DoToHiragana);
  RegistMethod("toKatakana", &TJStringObject::DoToKatakana);
  RegistMethod("fromJIStoSJIS", &TJStringObject::DoFromJIStoSJIS);
  RegistMethod("fromJIStoEUC", &TJStringObject::DoFromJIStoEUC);
  RegistMethod("fromEUCtoSJIS", &TJStringObject::DoFromEUCtoSJIS);
  RegistMethod("fromEUCtoJIS", &TJStringObject::DoFromEUCtoJIS);
  RegistMethod("fromSJIStoEUC", &TJStringObject::DoFromSJIStoEUC);
  RegistMethod("fromSJIStoJIS", &TJStringObject::DoFromSJIStoJIS);
  RegistMethod("fromUTF8toSJIS", &TJStringObject::DoFromUTF8toSJIS);
  RegistMethod("crypt", &TJStringObject::DoCrypt);
  RegistMethod("trim", &TJStringObject::DoTrim);
  RegistMethod("trimLeft", &TJStringObject::DoTrimLeft);
  RegistMethod("trimRight", &TJStringObject::DoTrimRight);
  RegistMethod("sizeOf", &TJStringObject::DoSizeOf);
}

// --- conversions and the indexed view ---

std::string TJStringObject::ToString(const TJValue*) { return std::string(Text()); }
void TJStringObject::ValueOf(TJValue& value) { value = text_; }
double TJStringObject::ToNumber() { return AsDouble(&text_); }
bool TJStringObject::ToBoolean() { return !Text().empty(); }
int32_t TJStringObject::ToChar() { return AsChar(&text_); }
int32_t TJStringObject::GetCount() { return charCount(); }
void TJStringObject::GetItem(int32_t index, TJValue& value) { value.SetString(index < 0 ? std::string_view() : chars(index, 1)); }

// --- bracket access ---

int32_t TJStringObject::bracketIndex(std::string_view name) {
  int32_t i = 0;
  if (!TextToInteger(name, i)) ThrowError(jeIndex, {name});
  int64_t index = i;
  int64_t count = charCount();
  if (index < 0) index += count;
  if (index < 0 || index >= count) ThrowError(jeIndex, {name});
  return int32_t(index);
}

void TJStringObject::GetMember(std::string_view name, bool bracketAccess, TJValueList* param, TJValue& value) {
  if (!bracketAccess) {
    TJObject::GetMember(name, bracketAccess, param, value);
    return;
  }
  if (ArgCount(param) >= 2) {
    DoSlice(param, value);
    return;
  }
  value.SetString(chars(bracketIndex(name), 1));
}

void TJStringObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  if (!bracketAccess) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  std::string text(Text());
  if (ArgCount(param) >= 2) {
    int32_t start = AsInteger(&(*param)[0]), end = AsInteger(&(*param)[1]);
    MBReplaceSlice(AsString(&value), text, start == kMaxInt ? start : start + 1, end == kMaxInt ? end : end + 1);
  } else {
    MBSetCharAt(AsString(&value), text, bracketIndex(name) + 1);
  }
  SetText(text);
}

// --- characters and positions ---

void TJStringObject::DoCharAt(TJValueList* args, TJValue& result) {
  int32_t i = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  result.SetString(i < 0 || i == kMaxInt ? std::string_view() : chars(i, 1));
}

void TJStringObject::DoCharCodeAt(TJValueList* args, TJValue& result) {
  int32_t i = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  std::string_view ch = i < 0 || i == kMaxInt ? std::string_view() : chars(i, 1);
  if (ch.empty())
    result.SetNaN();
  else
    result.SetInteger(int32_t(rt::utf8::decode(ch, 0)));
}

void TJStringObject::DoFromCharCode(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  std::string text;
  for (const TJValue& code : args->Items()) text += CharOfCode(AsInteger(&code));
  result.SetString(text);
}

void TJStringObject::DoIndexOf(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  int32_t from = IsParam2(args) ? AsInteger(&(*args)[1]) : 0;
  std::string search = AsString(&(*args)[0]);
  result.SetInteger(indexOf(search, from));
}

void TJStringObject::DoLastIndexOf(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  int32_t from = IsParam2(args) ? AsInteger(&(*args)[1]) : -1;
  std::string search = AsString(&(*args)[0]);
  result.SetInteger(MBLastPos(search, Text(), from < 0 || from == kMaxInt ? 0 : from + 1) - 1);
}

void TJStringObject::DoSlice(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int64_t start = int64_t(AsInteger(&(*args)[0])) + 1;
  int64_t count = charCount();
  int64_t end = IsParam2(args) ? int64_t(AsInteger(&(*args)[1])) + 1 : count + 1;
  auto clamp = [](int64_t v) { return std::min<int64_t>(v, kMaxInt); };
  // 1-based: a start or end <= 0 counts from the end (a start still <= 0 then becomes 1).
  int64_t s = clamp(start), e = clamp(end);
  if (s <= 0) {
    s += count;
    if (s <= 0) s = 1;
  }
  if (e <= 0) e += count;
  result.SetString(e - s <= 0 ? std::string_view() : chars(s - 1, std::min<int64_t>(e - s, kMaxInt)));
}

void TJStringObject::DoSubstr(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int32_t start = AsInteger(&(*args)[0]);
  int32_t count = IsParam2(args) ? AsInteger(&(*args)[1]) : kMaxInt;
  int64_t first = start == kMaxInt ? int64_t(start) : int64_t(start) + 1;  // 1-based, <= 0 counts as 1
  result.SetString(chars(std::max<int64_t>(first, 1) - 1, count));
}

void TJStringObject::DoSubstring(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int32_t count = charCount();
  int32_t a = std::max(AsInteger(&(*args)[0]), 0);
  int32_t b = IsParam2(args) ? std::max(AsInteger(&(*args)[1]), 0) : count;
  int32_t from = std::min(a, b), to = std::max(a, b);
  result.SetString(from >= to || from >= count ? std::string_view() : chars(from, to - from));
}

void TJStringObject::DoConcat(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  std::string text(Text());
  for (const TJValue& part : args->Items()) text += AsString(&part);
  result.SetString(text);
}

void TJStringObject::DoLocaleCompare(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  result.SetInteger(LocaleCompareText(Text(), AsString(&(*args)[0])));
}

void TJStringObject::DoReverse(TJValueList*, TJValue& result) { result.SetString(MBReverse(Text())); }

void TJStringObject::DoMultiply(TJValueList* args, TJValue& result) {
  int32_t n = IsParam1(args) ? AsInteger(&(*args)[0]) : 0;
  if (n <= 0 || Text().empty()) {
    result.SetString("");
    return;
  }
  if (uint64_t(n) * Text().size() > kMaxMultiplyBytes)
    ThrowError(jeRepeatTooLong, {std::to_string(uint64_t(n) * Text().size())});
  std::string text;
  text.reserve(size_t(n) * Text().size());
  for (int32_t i = 0; i < n; ++i) text += Text();
  result.SetString(text);
}

void TJStringObject::DoToLowerCase(TJValueList*, TJValue& result) { result.SetString(rt::lowerCase(Text())); }
void TJStringObject::DoToUpperCase(TJValueList*, TJValue& result) { result.SetString(rt::upperCase(Text())); }
void TJStringObject::DoTrim(TJValueList*, TJValue& result) { result.SetString(trimmed(Text(), true, true)); }
void TJStringObject::DoTrimLeft(TJValueList*, TJValue& result) { result.SetString(trimmed(Text(), true, false)); }
void TJStringObject::DoTrimRight(TJValueList*, TJValue& result) { result.SetString(trimmed(Text(), false, true)); }
void TJStringObject::DoSizeOf(TJValueList*, TJValue& result) {
  result.SetInteger(int32_t(std::min<size_t>(Text().size(), size_t(kMaxInt))));
}

void TJStringObject::DoCrypt(TJValueList* args, TJValue& result) {
  std::string salt = IsParam1(args) ? AsString(&(*args)[0]) : std::string();
  support::TCrypt3 crypt;
  result.SetString(crypt.Crypt(Text(), salt));
}

// --- HTML ---

namespace {

std::string wrapped(const char* tag, std::string_view text) {
  return std::string("<") + tag + ">" + std::string(text) + "</" + tag + ">";
}

// <TAG ATTR="value">text</TAG>; undefined without the value.
void wrappedWith(TJValueList* args, const char* open, const char* close, std::string_view text, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  result.SetString(std::string(open) + "\"" + AsString(&(*args)[0]) + "\">" + std::string(text) + close);
}

}  // namespace

void TJStringObject::DoAnchor(TJValueList* args, TJValue& result) { wrappedWith(args, "<A NAME=", "</A>", Text(), result); }
void TJStringObject::DoLink(TJValueList* args, TJValue& result) { wrappedWith(args, "<A HREF=", "</A>", Text(), result); }
void TJStringObject::DoFontColor(TJValueList* args, TJValue& result) {
  wrappedWith(args, "<FONT COLOR=", "</FONT>", Text(), result);
}
void TJStringObject::DoFontSize(TJValueList* args, TJValue& result) {
  wrappedWith(args, "<FONT SIZE=", "</FONT>", Text(), result);
}
void TJStringObject::DoBig(TJValueList*, TJValue& result) { result.SetString(wrapped("BIG", Text())); }
void TJStringObject::DoBlink(TJValueList*, TJValue& result) { result.SetString(wrapped("BLINK", Text())); }
void TJStringObject::DoBold(TJValueList*, TJValue& result) { result.SetString(wrapped("B", Text())); }
void TJStringObject::DoFixed(TJValueList*, TJValue& result) { result.SetString(wrapped("TT", Text())); }
void TJStringObject::DoItalics(TJValueList*, TJValue& result) { result.SetString(wrapped("I", Text())); }
void TJStringObject::DoSmall(TJValueList*, TJValue& result) { result.SetString(wrapped("SMALL", Text())); }
void TJStringObject::DoStrike(TJValueList*, TJValue& result) { result.SetString(wrapped("STRIKE", Text())); }
void TJStringObject::DoSub(TJValueList*, TJValue& result) { result.SetString(wrapped("SUB", Text())); }
void TJStringObject::DoSup(TJValueList*, TJValue& result) { result.SetString(wrapped("SUP", Text())); }

// --- Japanese codes, width and kana ---

void TJStringObject::DoToJIS(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(Text(), support::jcJis)); }
void TJStringObject::DoToSJIS(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(Text(), support::jcSjis)); }
void TJStringObject::DoToEUC(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(Text(), support::jcEuc)); }
void TJStringObject::DoToWide(TJValueList*, TJValue& result) { result.SetString(TextToWide(Text())); }
void TJStringObject::DoToUTF8(TJValueList*, TJValue& result) { result.SetString(TextToUtf8(Text())); }
void TJStringObject::DoToZenkaku(TJValueList*, TJValue& result) { result.SetString(MapToFullWidth(Text())); }
void TJStringObject::DoToHankaku(TJValueList*, TJValue& result) { result.SetString(MapToHalfWidth(Text())); }
void TJStringObject::DoToHiragana(TJValueList*, TJValue& result) { result.SetString(MapToHiragana(Text())); }
void TJStringObject::DoToKatakana(TJValueList*, TJValue& result) { result.SetString(MapToKatakana(Text())); }
void TJStringObject::DoFromJIStoSJIS(TJValueList*, TJValue& result) { result.SetString(support::JisToSjis(Text())); }
void TJStringObject::DoFromJIStoEUC(TJValueList*, TJValue& result) { result.SetString(support::JisToEuc(Text())); }
void TJStringObject::DoFromEUCtoSJIS(TJValueList*, TJValue& result) { result.SetString(support::EucToSjis(Text())); }
void TJStringObject::DoFromEUCtoJIS(TJValueList*, TJValue& result) { result.SetString(support::EucToJis(Text())); }
void TJStringObject::DoFromSJIStoEUC(TJValueList*, TJValue& result) { result.SetString(support::SjisToEuc(Text())); }
void TJStringObject::DoFromSJIStoJIS(TJValueList*, TJValue& result) { result.SetString(support::SjisToJis(Text())); }
// UTF-8 is our own code already: the text stays as it is.
void TJStringObject::DoFromUTF8toSJIS(TJValueList*, TJValue& result) { result = text_; }

// --- the regular-expression methods ---

void TJStringObject::DoMatch(TJValueList* args, TJValue& result) { regExpMethod(0, args, result); }
void TJStringObject::DoReplace(TJValueList* args, TJValue& result) { regExpMethod(1, args, result); }
void TJStringObject::DoSearch(TJValueList* args, TJValue& result) { regExpMethod(2, args, result); }
void TJStringObject::DoSplit(TJValueList* args, TJValue& result) { regExpMethod(3, args, result); }

// split with a separator text that is a plain ASCII literal as a pattern (no character that means
// more than itself, no flag text): the pieces are cut at each occurrence found by a plain search,
// as the pattern would cut them, without compiling one. False when the arguments ask for more.
bool TJStringObject::splitAtText(TJValueList* args, TJValue& result) {
  const TJValue& separator = (*args)[0];
  int32_t argc = ArgCount(args);
  if (separator.ValueType() != vtString || (argc >= 2 && !IsNumeric(&(*args)[1])) || !Engine()) return false;
  std::string_view sep = separator.vString();
  if (sep.empty()) return false;
  for (char c : sep) {
    if (static_cast<unsigned char>(c) >= 0x80 || std::strchr("\\^$.[]()|?*+{}", c)) return false;
  }
  int32_t limit = argc >= 2 ? AsInteger(&(*args)[1]) : kMaxInt;
  size_t wanted = limit < 0 ? size_t(kMaxInt) : size_t(limit);
  std::string_view text = Text();
  TJValueList pieces;
  size_t from = 0;
  while (pieces.Count() < int32_t(std::min<size_t>(wanted, size_t(kMaxInt)))) {
    size_t at = text.find(sep, from);
    if (at == std::string_view::npos) {
      pieces.AddString(text.substr(from));
      break;
    }
    pieces.AddString(text.substr(from, at - from));
    from = at + sep.size();
  }
  result = TJValue::Object(Engine()->MakeArray(pieces));
  return true;
}

void TJStringObject::regExpMethod(int kind, TJValueList* args, TJValue& result) {
  enum { kMatch, kReplace, kSearch, kSplit };
  int32_t argc = ArgCount(args);
  if (argc == 0) {
    if (kind == kMatch)
      result.SetNull();
    else if (kind == kSearch)
      result.SetInteger(-1);
    else
      result.Clear();
    return;
  }
  bool given = IsRegExpObject(&(*args)[0]);
  if (kind == kSplit && !given && splitAtText(args, result)) return;
  // The RegExp given, the engine's one lent to a regular-expression value, or a new one made from
  // the arguments (pattern and flag text), hooked to the engine-wide RegExp like every RegExp the
  // factory makes.
  TJValue holder;
  std::optional<TJEngine::HostLoan> loan;
  TJRegExpObject* regexp = nullptr;
  if (given) {
    holder = (*args)[0];
  } else if (auto* engine = dynamic_cast<TJEngine*>(Engine()); engine && (*args)[0].ValueType() == vtRegExp) {
    loan.emplace(*engine, (*args)[0]);
    regexp = dynamic_cast<TJRegExpObject*>(loan->get());
  }
  if (!regexp && !given) holder.SetObject(TJObject::Create<TJRegExpObject>(Engine(), args, Engine() != nullptr));
  if (!regexp) regexp = static_cast<TJRegExpObject*>(holder.vObject());

  TJValueList call;
  call.Add(text_);
  switch (kind) {
    case kMatch:
      regexp->DoExec(&call, result);
      return;
    case kSearch: {
      TJValue ignored;
      regexp->DoExec(&call, ignored);
      result.SetInteger(regexp->index());
      return;
    }
    case kReplace: {
      const TJValue* replacement = given ? arg(args, 1) : argc >= 3 ? arg(args, 2) : arg(args, 1);
      call.Add(replacement ? *replacement : TJValue::String(""));
      regexp->DoReplace(&call, result);
      return;
    }
    default: {
      int32_t limit = kMaxInt;
      if (given) {
        if (argc >= 2) limit = AsInteger(&(*args)[1]);
      } else if (argc >= 2 && IsNumeric(&(*args)[1])) {
        limit = AsInteger(&(*args)[1]);
      } else if (argc >= 3) {
        limit = AsInteger(&(*args)[2]);
      }
      call.AddInteger(limit);
      regexp->DoSplit(&call, result);
      return;
    }
  }
}

}  // namespace stdlib
