#include "script/stdlib/string_object.h"

#include <algorithm>

#include "platform/rt/persistent.h"
#include "platform/rt/utf8.h"
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
  if (IsParam1(param)) text_ = AsString(&(*param)[0]);
}

int32_t TJStringObject::length() const { return MBLength(text_); }

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

std::string TJStringObject::ToString(const TJValue*) { return text_; }
void TJStringObject::ValueOf(TJValue& value) { value.SetString(text_); }
double TJStringObject::ToNumber() {
  TJValue v = TJValue::String(text_);
  return AsDouble(&v);
}
bool TJStringObject::ToBoolean() { return !text_.empty(); }
int32_t TJStringObject::ToChar() {
  TJValue v = TJValue::String(text_);
  return AsChar(&v);
}
int32_t TJStringObject::GetCount() { return MBLength(text_); }
void TJStringObject::GetItem(int32_t index, TJValue& value) {
  value.SetString(index < 0 ? std::string() : MBCharAt(text_, index + 1));
}

// --- bracket access ---

int32_t TJStringObject::bracketIndex(std::string_view name) {
  int32_t i = 0;
  if (!TextToInteger(name, i)) ThrowError("EIndexError", std::string(name));
  int64_t index = i;
  int64_t count = MBLength(text_);
  if (index < 0) index += count;
  if (index < 0 || index >= count) ThrowError("EIndexError", std::string(name));
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
  value.SetString(MBCharAt(text_, bracketIndex(name) + 1));
}

void TJStringObject::PutMember(std::string_view name, const TJValue& value, bool bracketAccess, TJValueList* param) {
  if (!bracketAccess) {
    TJObject::PutMember(name, value, bracketAccess, param);
    return;
  }
  if (ArgCount(param) >= 2) {
    int32_t start = AsInteger(&(*param)[0]), end = AsInteger(&(*param)[1]);
    MBReplaceSlice(AsString(&value), text_, start == kMaxInt ? start : start + 1, end == kMaxInt ? end : end + 1);
    return;
  }
  MBSetCharAt(AsString(&value), text_, bracketIndex(name) + 1);
}

// --- characters and positions ---

void TJStringObject::DoCharAt(TJValueList* args, TJValue& result) {
  int32_t i = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  result.SetString(i < 0 || i == kMaxInt ? std::string() : MBCharAt(text_, i + 1));
}

void TJStringObject::DoCharCodeAt(TJValueList* args, TJValue& result) {
  int32_t i = IsParam1(args) ? AsInteger(&(*args)[0]) : -1;
  std::string ch = i < 0 || i == kMaxInt ? std::string() : MBCharAt(text_, i + 1);
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
  result.SetInteger(MBPos(search, text_, from == kMaxInt ? from : from + 1) - 1);
}

void TJStringObject::DoLastIndexOf(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  int32_t from = IsParam2(args) ? AsInteger(&(*args)[1]) : -1;
  std::string search = AsString(&(*args)[0]);
  result.SetInteger(MBLastPos(search, text_, from < 0 || from == kMaxInt ? 0 : from + 1) - 1);
}

void TJStringObject::DoSlice(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int64_t start = int64_t(AsInteger(&(*args)[0])) + 1;
  int64_t end = IsParam2(args) ? int64_t(AsInteger(&(*args)[1])) + 1 : int64_t(MBLength(text_)) + 1;
  auto clamp = [](int64_t v) { return int32_t(std::min<int64_t>(v, kMaxInt)); };
  result.SetString(MBSlice(text_, clamp(start), clamp(end)));
}

void TJStringObject::DoSubstr(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int32_t start = AsInteger(&(*args)[0]);
  int32_t count = IsParam2(args) ? AsInteger(&(*args)[1]) : kMaxInt;
  result.SetString(MBCopy(text_, start == kMaxInt ? start : start + 1, count));
}

void TJStringObject::DoSubstring(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.SetString("");
    return;
  }
  int32_t count = MBLength(text_);
  int32_t a = std::max(AsInteger(&(*args)[0]), 0);
  int32_t b = IsParam2(args) ? std::max(AsInteger(&(*args)[1]), 0) : count;
  int32_t from = std::min(a, b), to = std::max(a, b);
  result.SetString(from >= to || from >= count ? std::string() : MBCopy(text_, from + 1, to - from));
}

void TJStringObject::DoConcat(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  std::string text = text_;
  for (const TJValue& part : args->Items()) text += AsString(&part);
  result.SetString(text);
}

void TJStringObject::DoLocaleCompare(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  result.SetInteger(LocaleCompareText(text_, AsString(&(*args)[0])));
}

void TJStringObject::DoReverse(TJValueList*, TJValue& result) { result.SetString(MBReverse(text_)); }

void TJStringObject::DoMultiply(TJValueList* args, TJValue& result) {
  int32_t n = IsParam1(args) ? AsInteger(&(*args)[0]) : 0;
  if (n <= 0 || text_.empty()) {
    result.SetString("");
    return;
  }
  if (uint64_t(n) * text_.size() > kMaxMultiplyBytes)
    ThrowError("EIndexError", "multiply error: " + std::to_string(uint64_t(n) * text_.size()) + " bytes");
  std::string text;
  text.reserve(size_t(n) * text_.size());
  for (int32_t i = 0; i < n; ++i) text += text_;
  result.SetString(text);
}

void TJStringObject::DoToLowerCase(TJValueList*, TJValue& result) { result.SetString(rt::lowerCase(text_)); }
void TJStringObject::DoToUpperCase(TJValueList*, TJValue& result) { result.SetString(rt::upperCase(text_)); }
void TJStringObject::DoTrim(TJValueList*, TJValue& result) { result.SetString(trimmed(text_, true, true)); }
void TJStringObject::DoTrimLeft(TJValueList*, TJValue& result) { result.SetString(trimmed(text_, true, false)); }
void TJStringObject::DoTrimRight(TJValueList*, TJValue& result) { result.SetString(trimmed(text_, false, true)); }
void TJStringObject::DoSizeOf(TJValueList*, TJValue& result) {
  result.SetInteger(int32_t(std::min<size_t>(text_.size(), size_t(kMaxInt))));
}

void TJStringObject::DoCrypt(TJValueList* args, TJValue& result) {
  std::string salt = IsParam1(args) ? AsString(&(*args)[0]) : std::string();
  support::TCrypt3 crypt;
  result.SetString(crypt.Crypt(text_, salt));
}

// --- HTML ---

namespace {

std::string wrapped(const char* tag, const std::string& text) {
  return std::string("<") + tag + ">" + text + "</" + tag + ">";
}

// <TAG ATTR="value">text</TAG>; undefined without the value.
void wrappedWith(TJValueList* args, const char* open, const char* close, const std::string& text, TJValue& result) {
  if (!IsParam1(args)) {
    result.Clear();
    return;
  }
  result.SetString(std::string(open) + "\"" + AsString(&(*args)[0]) + "\">" + text + close);
}

}  // namespace

void TJStringObject::DoAnchor(TJValueList* args, TJValue& result) { wrappedWith(args, "<A NAME=", "</A>", text_, result); }
void TJStringObject::DoLink(TJValueList* args, TJValue& result) { wrappedWith(args, "<A HREF=", "</A>", text_, result); }
void TJStringObject::DoFontColor(TJValueList* args, TJValue& result) {
  wrappedWith(args, "<FONT COLOR=", "</FONT>", text_, result);
}
void TJStringObject::DoFontSize(TJValueList* args, TJValue& result) {
  wrappedWith(args, "<FONT SIZE=", "</FONT>", text_, result);
}
void TJStringObject::DoBig(TJValueList*, TJValue& result) { result.SetString(wrapped("BIG", text_)); }
void TJStringObject::DoBlink(TJValueList*, TJValue& result) { result.SetString(wrapped("BLINK", text_)); }
void TJStringObject::DoBold(TJValueList*, TJValue& result) { result.SetString(wrapped("B", text_)); }
void TJStringObject::DoFixed(TJValueList*, TJValue& result) { result.SetString(wrapped("TT", text_)); }
void TJStringObject::DoItalics(TJValueList*, TJValue& result) { result.SetString(wrapped("I", text_)); }
void TJStringObject::DoSmall(TJValueList*, TJValue& result) { result.SetString(wrapped("SMALL", text_)); }
void TJStringObject::DoStrike(TJValueList*, TJValue& result) { result.SetString(wrapped("STRIKE", text_)); }
void TJStringObject::DoSub(TJValueList*, TJValue& result) { result.SetString(wrapped("SUB", text_)); }
void TJStringObject::DoSup(TJValueList*, TJValue& result) { result.SetString(wrapped("SUP", text_)); }

// --- Japanese codes, width and kana ---

void TJStringObject::DoToJIS(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(text_, support::jcJis)); }
void TJStringObject::DoToSJIS(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(text_, support::jcSjis)); }
void TJStringObject::DoToEUC(TJValueList*, TJValue& result) { result.SetString(ConvertTextCode(text_, support::jcEuc)); }
void TJStringObject::DoToWide(TJValueList*, TJValue& result) { result.SetString(TextToWide(text_)); }
void TJStringObject::DoToUTF8(TJValueList*, TJValue& result) { result.SetString(TextToUtf8(text_)); }
void TJStringObject::DoToZenkaku(TJValueList*, TJValue& result) { result.SetString(MapToFullWidth(text_)); }
void TJStringObject::DoToHankaku(TJValueList*, TJValue& result) { result.SetString(MapToHalfWidth(text_)); }
void TJStringObject::DoToHiragana(TJValueList*, TJValue& result) { result.SetString(MapToHiragana(text_)); }
void TJStringObject::DoToKatakana(TJValueList*, TJValue& result) { result.SetString(MapToKatakana(text_)); }
void TJStringObject::DoFromJIStoSJIS(TJValueList*, TJValue& result) { result.SetString(support::JisToSjis(text_)); }
void TJStringObject::DoFromJIStoEUC(TJValueList*, TJValue& result) { result.SetString(support::JisToEuc(text_)); }
void TJStringObject::DoFromEUCtoSJIS(TJValueList*, TJValue& result) { result.SetString(support::EucToSjis(text_)); }
void TJStringObject::DoFromEUCtoJIS(TJValueList*, TJValue& result) { result.SetString(support::EucToJis(text_)); }
void TJStringObject::DoFromSJIStoEUC(TJValueList*, TJValue& result) { result.SetString(support::SjisToEuc(text_)); }
void TJStringObject::DoFromSJIStoJIS(TJValueList*, TJValue& result) { result.SetString(support::SjisToJis(text_)); }
// UTF-8 is our own code already: the text stays as it is.
void TJStringObject::DoFromUTF8toSJIS(TJValueList*, TJValue& result) { result.SetString(text_); }

// --- the regular-expression methods ---

void TJStringObject::DoMatch(TJValueList* args, TJValue& result) { regExpMethod(0, args, result); }
void TJStringObject::DoReplace(TJValueList* args, TJValue& result) { regExpMethod(1, args, result); }
void TJStringObject::DoSearch(TJValueList* args, TJValue& result) { regExpMethod(2, args, result); }
void TJStringObject::DoSplit(TJValueList* args, TJValue& result) { regExpMethod(3, args, result); }

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
  // The RegExp given, or a new one made from the arguments (pattern and flag text), hooked to
  // the engine-wide RegExp like every RegExp the factory makes.
  TJValue holder;
  bool given = IsRegExpObject(&(*args)[0]);
  if (given)
    holder = (*args)[0];
  else
    holder.SetObject(TJObject::Create<TJRegExpObject>(Engine(), args, Engine() != nullptr));
  auto* regexp = static_cast<TJRegExpObject*>(holder.vObject());

  TJValueList call;
  call.AddString(text_);
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
